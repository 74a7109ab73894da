// The profile-string reader (INI files of the host): the whole file, then single keys the way
// the platform call reads them. Input: the file, then names to look up (one a line).
#include "platform/profile.h"
#include "platform/qv_ini.h"
#include "tests/fuzz/fuzz_support.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::start();
    const QList<QByteArray> parts = fuzz::split(data, size, 2);
    const platform::ProfileText profile = platform::ProfileText::parse(parts[0]);

    // Every pair of names is looked up, each time reading the file anew: a handful of names.
    constexpr int kMaxNames = 8;
    QStringList names;
    if (!parts[1].isEmpty())
        names = QString::fromUtf8(parts[1]).split(u'\n');
    names += {"Program Information", "AgentPort", "Version", "Path", ""};
    names = names.mid(0, kMaxNames);
    const QString path = fuzz::writeScratch("profile.ini", parts[0]);
    const QvIni ini(path);
    const int bufferSize = parts[1].isEmpty() ? 256 : static_cast<quint8>(parts[1][0]);
    for (const QString& section : names) {
        (void)profile.hasSection(section);
        for (const QString& key : names) {
            (void)profile.value(section, key);
            const QString read =
                platform::readProfileString(path, section, key, QStringLiteral(" d "), bufferSize);
            KW_FUZZ_CHECK(bufferSize <= 0 || read.size() <= bufferSize - 1);
            (void)ini.ReadString(section, key, QString());
        }
    }
    return 0;
}
