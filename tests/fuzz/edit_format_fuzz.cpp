// Edit-constraint formats ("%u{n1x65535}"...), the exit check of a text against each piece, and
// number lists. Input: the format, then the text, separated by the record separator.
// clang wants QWidget complete where edit_constraint.h holds a QPointer<QWidget>.
#include <QWidget>

#include "binding/edit_constraint.h"
#include "snmplib/qv_exception.h"
#include "tests/fuzz/fuzz_support.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::start();
    const QList<QByteArray> parts = fuzz::split(data, size, 2);
    const QString format = QString::fromUtf8(parts[0]);
    const QString text = QString::fromUtf8(parts[1]);

    (void)QvEditConstraint::EditCount(format);
    for (const QString& piece : QvEditConstraint::SplitFormat(format)) {
        try {
            const _EditConstraint_s record = QvEditConstraint::ParsePiece(piece);
            const QString message = QvEditConstraint::CheckText(record, text);
            // Every placeholder of the message is filled in.
            for (const char* placeholder :
                 {"[MIN]", "[MAX]", "[LEN]", "[MAXLEN]", "[COUNT]", "[MAXCOUNT]", "[DELIMITER]"})
                KW_FUZZ_CHECK(!message.contains(QLatin1String(placeholder)));
            const QChar delimiter = record.type == 'n' ? record.delimiter : QLatin1Char('.');
            const QvNumList<unsigned int> numbers(text, delimiter);
            KW_FUZZ_CHECK(text.isEmpty() == (numbers.Count() == 0));
            (void)QvNumList<quint8>(text, delimiter).Clamped();
        } catch (const QvException& e) {
            KW_FUZZ_CHECK(e.code() == -2);
        }
    }
    return 0;
}
