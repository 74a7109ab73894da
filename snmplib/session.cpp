#include "snmplib/session.h"

#include <limits>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include "snmplib/error_codes.h"
#include "snmplib/exchange.h"
#include "snmplib/qv_exception.h"

using namespace qv::code;

namespace qv {
namespace {

const QByteArray localEngineId = QByteArrayLiteral("QvSNMP_PP_Application");
const QString bootCounterName = QStringLiteral("QvSNMP_PP_BootCounter");
constexpr int maxEngineIdLength = 32;
constexpr int maxBootCount = std::numeric_limits<qint32>::max();

// The boot counter file holds one line per engine: the engine ID, a blank, the boot count in
// decimal. Lines of other engines are kept when the count is written back.
struct BootCounterFile {
    QStringList lines;
    int count = 0; // 0 when the file or our line is missing
};

enum class ReadResult { Ok, Malformed };

ReadResult readBootCounter(const QString& path, BootCounterFile* file) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return ReadResult::Ok; // no file yet: start from 0
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.trimmed().isEmpty())
            continue;
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        bool ok = false;
        const qint64 count = fields.size() == 2 ? fields[1].toLongLong(&ok) : -1;
        if (!ok || count < 0 || count > maxBootCount ||
            fields[0].toUtf8().size() > maxEngineIdLength)
            return ReadResult::Malformed;
        if (fields[0].toUtf8() == localEngineId)
            file->count = static_cast<int>(count);
        else
            file->lines.append(fields[0] + u' ' + fields[1]);
    }
    return ReadResult::Ok;
}

bool writeBootCounter(const QString& path, const BootCounterFile& file, int count) {
    // A file marked read-only is not replaced, even by a user whom the system would let write.
    const QFileInfo info(path);
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner))
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream stream(&out);
    for (const QString& line : file.lines)
        stream << line << '\n';
    stream << QString::fromLatin1(localEngineId) << ' ' << count << '\n';
    stream.flush();
    return stream.status() == QTextStream::Ok && out.commit();
}

QString bootCounterPath(const QString& dir) {
    if (dir.isEmpty())
        return bootCounterName;
    if (dir.endsWith(u'\\') || dir.endsWith(u'/'))
        return dir + bootCounterName;
    return dir + u'/' + bootCounterName;
}

} // namespace

QvSNMPDevice& sessionDevice() {
    static QvSNMPDevice device;
    return device;
}

QvSNMPScope& sessionScope() {
    static QvSNMPScope scope;
    return scope;
}

QvSNMPSecurity& sessionSecurity() {
    static QvSNMPSecurity security;
    return security;
}

int& defaultTimeout() {
    static int timeout = 100;
    return timeout;
}

void CreateSession(const QString& bootCounterDir) {
    if (!detail::startEngine())
        throw QvException(kCannotCreateSession);
    const QString path = bootCounterPath(bootCounterDir);
    BootCounterFile file;
    if (readBootCounter(path, &file) != ReadResult::Ok)
        throw QvException(kBootCounterLoad);
    const int boots = file.count < maxBootCount ? file.count + 1 : maxBootCount;
    if (!writeBootCounter(path, file, boots))
        throw QvException(kBootCounterSave);
    detail::setLocalEngine(localEngineId, boots);

    QvSNMPDevice& device = sessionDevice();
    device.address = QStringLiteral("127.0.0.1");
    device.port = 161;
    sessionScope() = QvSNMPScope{};
    QvSNMPSecurity& security = sessionSecurity();
    security = QvSNMPSecurity{};
    security.readCommunity = QStringLiteral("fenrow");
    security.writeCommunity = QStringLiteral("quillet");
    defaultTimeout() = 100;
}

} // namespace qv
