#include "platform/qv_ini.h"

#include "platform/profile.h"

namespace {
constexpr int kBufferSize = 4096;
}

QString QvIni::ReadString(const QString& Section, const QString& Ident,
                          const QString& Default) const {
    const QString value = platform::readProfileString(path_, Section, Ident, Default, kBufferSize);
    return value.isEmpty() ? Default : value.trimmed();
}
