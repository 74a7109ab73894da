// Message files replacing the library's texts, and every use of the texts afterwards. Input: the
// first byte picks the table, the rest is the file.
#include "snmplib/messages.h"
#include "tests/fuzz/fuzz_support.h"

#include <array>

namespace {
constexpr std::array kTables{qv::MessageTable::SnmpStatus, qv::MessageTable::SnmpV3,
                             qv::MessageTable::Usm,        qv::MessageTable::SnmpClass,
                             qv::MessageTable::Library,    qv::MessageTable::StatusTemplate,
                             qv::MessageTable::Common};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::start();
    if (size == 0)
        return 0;
    const qv::MessageTable table = kTables[data[0] % kTables.size()];
    const QByteArray contents(reinterpret_cast<const char*>(data + 1),
                              static_cast<qsizetype>(size - 1));
    qv::LoadMessageFile(table, fuzz::writeScratch("table.err", contents));

    for (const qv::MessageTable t : kTables) {
        for (int entry = 0; entry < 32; ++entry)
            (void)qv::messageText(t, entry);
    }
    for (const int code : {0, -101, -119, -201, -217, -301, -314, -401, -423, -501, -528, -1, -600})
        (void)qv::codeText(code);
    for (const int result : {0, 1, 19, 20, 1400, 1401, 1414, -1, -5, -23, -24, -1401, -1402, -1418})
        (void)qv::MapResult(result);
    const QString text = QString::fromUtf8(contents.left(256));
    for (const int line : {0, 1}) {
        (void)qv::StatusLine(line, text, text);
        (void)qv::StatusLine(line, text, QString());
    }
    (void)qv::replacePlaceholders(text, {{"[MIN]", text}, {"[MAX]", "[MIN]"}, {"[ERROR]", ""}});
    qv::resetMessageTables();
    return 0;
}
