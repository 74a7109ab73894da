#include "binding/control_values.h"

#include "binding/choice.h"
#include "binding/radio_group.h"
#include "snmplib/datetime.h"
#include "snmplib/option_list.h"
#include "snmplib/qv_exception.h"
#include "snmplib/syntax.h"
#include "snmplib/value_format.h"

#include "snmplib/error_codes.h"
#include <algorithm>
#include <cmath>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QTime>

using namespace qv::code;

QvControlKind ControlKindOf(const QWidget* control) {
    if (qobject_cast<const QLabel*>(control))
        return QvControlKind::Label;
    if (qobject_cast<const QLineEdit*>(control))
        return QvControlKind::Edit;
    if (qobject_cast<const QCheckBox*>(control))
        return QvControlKind::CheckBox;
    if (qobject_cast<const QComboBox*>(control))
        return QvControlKind::ComboBox;
    if (qobject_cast<const QvRadioGroup*>(control))
        return QvControlKind::RadioGroup;
    return QvControlKind::Other;
}

namespace qv {

namespace {

[[noreturn]] void fail(int code) {
    throw QvException(code);
}

bool isBooleanSyntax(int syntax) {
    return syntax == QvSyntax::boolean || syntax == QvSyntax::bool8 || syntax == QvSyntax::bool16;
}

// The split forms of several edits and the edits each needs at least (0: as many as the value).
enum class Split { None, Bytes, Mac, Oid, Address, Ticks, DateTime, BcDateTime };

Split splitOf(int syntax) {
    switch (syntax) {
    case QvSyntax::bitstr:
    case QvSyntax::octetstr:
    case QvSyntax::opaque:
        return Split::Bytes;
    case QvSyntax::macaddress:
        return Split::Mac;
    case QvSyntax::objectid:
        return Split::Oid;
    case QvSyntax::ipaddress:
    case QvSyntax::nsapaddr:
        return Split::Address;
    case QvSyntax::timeticks:
        return Split::Ticks;
    case QvSyntax::datetime:
        return Split::DateTime;
    case QvSyntax::bcdatetime:
        return Split::BcDateTime;
    default:
        return Split::None;
    }
}

int minimumEdits(Split split) {
    switch (split) {
    case Split::Mac:
        return 6;
    case Split::Address:
        return 4;
    case Split::Ticks:
        return 5;
    case Split::DateTime:
        return 10;
    case Split::BcDateTime:
        return 7;
    default:
        return 1;
    }
}

QList<QLineEdit*> editsOf(const QvBindingRecord& r) {
    QList<QLineEdit*> edits;
    for (const auto& c : r.controls)
        edits << qobject_cast<QLineEdit*>(c.data());
    return edits;
}

bool isSplit(const QvBindingRecord& r) {
    return r.controls.size() > 1 && ControlKindOf(r.first()) == QvControlKind::Edit;
}

void needEdits(const QList<QLineEdit*>& edits, qsizetype count) {
    if (edits.size() < count)
        fail(kTooFewControls);
}

void setText(QLineEdit* edit, const QString& text) {
    if (edit)
        edit->setText(text);
}

QString textOf(const QLineEdit* edit) {
    return edit ? edit->text() : QString();
}

// Edits from `from` on are emptied.
void clearFrom(const QList<QLineEdit*>& edits, qsizetype from) {
    for (qsizetype i = from; i < edits.size(); ++i)
        setText(edits[i], QString());
}

QString hexByte(char byte) {
    return QStringLiteral("%1").arg(static_cast<quint8>(byte), 2, 16, QLatin1Char('0')).toUpper();
}

void showSplit(const QList<QLineEdit*>& edits, int syntax, const QString& text,
               const QByteArray& raw) {
    const Split split = splitOf(syntax);
    needEdits(edits, minimumEdits(split));
    switch (split) {
    case Split::None:
        setText(edits[0], text);
        return;
    case Split::Bytes:
    case Split::Mac: {
        const qsizetype shown =
            split == Split::Mac ? std::min<qsizetype>(raw.size(), 6) : raw.size();
        needEdits(edits, shown);
        for (qsizetype i = 0; i < shown; ++i)
            setText(edits[i], hexByte(raw[i]));
        clearFrom(edits, shown);
        return;
    }
    case Split::Oid: {
        const std::vector<quint32> arcs = RawToOid(raw);
        needEdits(edits, static_cast<qsizetype>(arcs.size()));
        for (size_t i = 0; i < arcs.size(); ++i)
            setText(edits[static_cast<qsizetype>(i)], QString::number(arcs[i]));
        clearFrom(edits, static_cast<qsizetype>(arcs.size()));
        return;
    }
    case Split::Address:
        // No value (an empty raw value) empties the four fields: an empty address field
        // stands for 0.0.0.0.
        if (raw.size() < 4) {
            clearFrom(edits, 0);
            return;
        }
        for (int i = 0; i < 4; ++i)
            setText(edits[i], QString::number(static_cast<quint8>(raw[i])));
        return;
    case Split::Ticks: {
        if (raw.isEmpty()) {
            clearFrom(edits, 0);
            return;
        }
        const auto parts = TimeticksParts(RawToUInt32(raw));
        for (int i = 0; i < 5; ++i)
            setText(edits[i], QString::number(parts[i]));
        return;
    }
    case Split::DateTime: {
        if (raw.isEmpty()) {
            clearFrom(edits, 0);
            return;
        }
        const QvDateTime dt = QvDateTime::FromOctets(raw);
        const int numbers[7] = {dt.year,    dt.month,   dt.day,        dt.hour,
                                dt.minutes, dt.seconds, dt.deciSeconds};
        for (int i = 0; i < 7; ++i)
            setText(edits[i], QString::number(numbers[i]));
        // The direction is shown as the character it is, and read back from it.
        setText(edits[7], QString(QLatin1Char(dt.direction)));
        setText(edits[8], QString::number(dt.hoursFromUtc));
        setText(edits[9], QString::number(dt.minutesFromUtc));
        return;
    }
    case Split::BcDateTime: {
        if (raw.isEmpty()) {
            clearFrom(edits, 0);
            return;
        }
        const auto [date, time] = BcDateTimeSplit(RawToDouble(raw));
        const int numbers[7] = {date.year(),   date.month(),  date.day(), time.hour(),
                                time.minute(), time.second(), time.msec()};
        for (int i = 0; i < 7; ++i)
            setText(edits[i], QString::number(numbers[i]));
        return;
    }
    }
}

qint64 numberIn(const QLineEdit* edit) {
    return LeadingNumber(textOf(edit));
}

// Two hex digits per edit: an empty edit gives "00", a single digit gets a leading "0".
QString hexPiece(const QList<QLineEdit*>& edits, qsizetype count) {
    QString hex;
    for (qsizetype i = 0; i < count; ++i) {
        const QString t = textOf(edits[i]);
        hex += t.isEmpty() ? QStringLiteral("00") : t.size() == 1 ? QLatin1Char('0') + t : t;
    }
    return hex;
}

// The piece several edits give: a text in the syntax's text form, or (bcdatetime, kept to the
// millisecond) the raw value itself.
struct Piece {
    Piece(QString t = {}) : text(std::move(t)) {}
    static Piece Raw(QByteArray raw) {
        Piece p;
        p.raw = std::move(raw);
        p.isRaw = true;
        return p;
    }
    QString text;
    QByteArray raw;
    bool isRaw = false;
};

Piece collectSplit(const QList<QLineEdit*>& edits, int syntax) {
    const Split split = splitOf(syntax);
    needEdits(edits, minimumEdits(split));
    switch (split) {
    case Split::None:
        return {textOf(edits[0])};
    case Split::Bytes:
        return {hexPiece(edits, edits.size())};
    case Split::Mac:
        return {hexPiece(edits, 6)};
    case Split::Oid: {
        // Empty edits at the end are not arcs: a shorter OID shown in more edits reads back as
        // itself.
        qsizetype count = edits.size();
        while (count > 0 && textOf(edits[count - 1]).trimmed().isEmpty())
            --count;
        QStringList arcs;
        for (qsizetype i = 0; i < count; ++i)
            arcs << QString::number(numberIn(edits[i]));
        return {arcs.join(QLatin1Char('.'))};
    }
    case Split::Address: {
        QStringList bytes;
        for (int i = 0; i < 4; ++i)
            bytes << QString::number(numberIn(edits[i]));
        return {bytes.join(QLatin1Char('.'))};
    }
    case Split::Ticks: {
        const quint64 t = static_cast<quint64>(numberIn(edits[0])) * kHundredthsPerDay +
                          static_cast<quint64>(numberIn(edits[1])) * 360000 +
                          static_cast<quint64>(numberIn(edits[2])) * 6000 +
                          static_cast<quint64>(numberIn(edits[3])) * 100 +
                          static_cast<quint64>(numberIn(edits[4]));
        return {TimeticksText(static_cast<quint32>(t))};
    }
    case Split::DateTime: {
        QvDateTime dt(QString{});
        dt.year = static_cast<quint16>(numberIn(edits[0]));
        dt.month = static_cast<quint8>(numberIn(edits[1]));
        dt.day = static_cast<quint8>(numberIn(edits[2]));
        dt.hour = static_cast<quint8>(numberIn(edits[3]));
        dt.minutes = static_cast<quint8>(numberIn(edits[4]));
        dt.seconds = static_cast<quint8>(numberIn(edits[5]));
        dt.deciSeconds = static_cast<quint8>(numberIn(edits[6]));
        const QString direction = textOf(edits[7]);
        dt.direction = direction.isEmpty() ? '+' : direction[0].toLatin1();
        dt.hoursFromUtc = static_cast<quint8>(numberIn(edits[8]));
        dt.minutesFromUtc = static_cast<quint8>(numberIn(edits[9]));
        return {dt.ToText()};
    }
    case Split::BcDateTime: {
        const QDate date(static_cast<int>(numberIn(edits[0])), static_cast<int>(numberIn(edits[1])),
                         static_cast<int>(numberIn(edits[2])));
        const QTime time(static_cast<int>(numberIn(edits[3])), static_cast<int>(numberIn(edits[4])),
                         static_cast<int>(numberIn(edits[5])),
                         static_cast<int>(numberIn(edits[6])));
        if (!date.isValid() || !time.isValid())
            fail(kBadValue);
        return Piece::Raw(RawFromDouble(BcDateTimeJoin(date, time)));
    }
    }
    return {};
}

// The second control of a combo box (the rest of a prefix value): an edit or a label.
QString secondText(const QWidget* w) {
    if (auto e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto l = qobject_cast<const QLabel*>(w))
        return l->text();
    return {};
}

void setSecondText(QWidget* w, const QString& text) {
    if (auto e = qobject_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto l = qobject_cast<QLabel*>(w))
        l->setText(text);
}

QWidget* secondOf(const QvBindingRecord& r) {
    return r.controls.size() > 1 ? r.controls[1].data() : nullptr;
}

const QvOptionList& needList(const QvOptionList* list) {
    if (!list)
        fail(kNoOptionList);
    return *list;
}

// A check box with a list shows its first item as unchecked and its second as checked.
const QvOptionList& needCheckList(const QvOptionList* list) {
    if (!list || list->Count() < 2)
        fail(kNoOptionList);
    return *list;
}

} // namespace

bool NeedsRaw(const QvBindingRecord& record) {
    return record.isBits() || isSplit(record);
}

void CheckBinding(const QvBindingRecord& r, const QvOptionList* list) {
    if (r.controls.isEmpty() || !r.first())
        fail(kTooFewControls);
    const QvControlKind kind = ControlKindOf(r.first());
    switch (kind) {
    case QvControlKind::Other:
        fail(kBadControl);
    case QvControlKind::Label:
        return;
    case QvControlKind::Edit:
        if (r.controls.size() > 1) {
            for (const auto& c : r.controls) {
                if (ControlKindOf(c.data()) != QvControlKind::Edit)
                    fail(kBadControl);
            }
            needEdits(editsOf(r), minimumEdits(splitOf(r.syntax)));
        }
        return;
    case QvControlKind::CheckBox:
        if (r.isBits()) {
            for (const auto& c : r.controls) {
                if (ControlKindOf(c.data()) != QvControlKind::CheckBox)
                    fail(kBadControl);
            }
            if (r.controls.size() < static_cast<qsizetype>(r.bitIndices.size()))
                fail(kTooFewControls);
        } else if (list) {
            needCheckList(list);
        } else if (!isBooleanSyntax(r.syntax)) {
            fail(kBadPartSyntax);
        }
        return;
    case QvControlKind::ComboBox:
        if (needList(list).kind() == QvOptionList::PrefixValues && !secondOf(r))
            fail(kTooFewControls);
        return;
    case QvControlKind::RadioGroup:
        needList(list);
        return;
    }
}

void ShowInControls(const QvBindingRecord& r, const QString& text, const QByteArray& raw,
                    const QvOptionList* list) {
    QWidget* first = r.first();
    if (!first)
        return;
    switch (ControlKindOf(first)) {
    case QvControlKind::Label:
        static_cast<QLabel*>(first)->setText(text);
        return;
    case QvControlKind::CheckBox:
        if (r.isBits()) {
            // No value at all leaves every bit clear; a value too short for a bit is refused.
            for (size_t k = 0; k < r.bitIndices.size(); ++k) {
                auto box = qobject_cast<QCheckBox*>(r.controls.value(static_cast<qsizetype>(k)));
                const bool on = !raw.isEmpty() && RawBit(raw, r.bitIndices[k]);
                if (box)
                    box->setChecked(on);
            }
        } else if (list) {
            const QvOptionList& l = needCheckList(list);
            int i = l.FindLabel(text);
            if (i < 0)
                i = l.FindValue(text);
            auto box = static_cast<QCheckBox*>(first);
            if (i < 0) // a value neither option stands for is not shown as one of them
                ShowNoChoice(box);
            else
                box->setChecked(i > 0);
        } else {
            if (!isBooleanSyntax(r.syntax))
                fail(kBadPartSyntax);
            static_cast<QCheckBox*>(first)->setChecked(text == QLatin1String("true"));
        }
        return;
    case QvControlKind::ComboBox: {
        auto combo = static_cast<QComboBox*>(first);
        const QvOptionList& l = needList(list);
        l.SelectItem(combo, text);
        if (QWidget* second = secondOf(r)) {
            const int i = combo->currentIndex();
            QString rest = i >= 0 ? text.mid(l.ItemAt(i).label.size()) : text;
            if (i >= 0 && r.syntax == QvSyntax::objectid && rest.startsWith(QLatin1Char('.')))
                rest.remove(0, 1);
            setSecondText(second, rest);
        }
        return;
    }
    case QvControlKind::RadioGroup:
        needList(list).SelectItem(static_cast<QvRadioGroup*>(first), text);
        return;
    case QvControlKind::Edit:
        if (isSplit(r))
            showSplit(editsOf(r), r.syntax, text, raw);
        else
            static_cast<QLineEdit*>(first)->setText(text);
        return;
    case QvControlKind::Other:
        break;
    }
    fail(kBadControl);
}

bool LacksChoice(const QvBindingRecord& r) {
    QWidget* first = r.first();
    if (!first || HasChoice(first))
        return false;
    // A list with an edit beside it holds the whole value in the edit when no prefix matches.
    return !(qobject_cast<const QComboBox*>(first) && secondOf(r));
}

void CollectFromControls(const QvBindingRecord& r, const QvOptionList* list, bool whole,
                         QByteArray& raw) {
    QWidget* first = r.first();
    if (!first)
        return;
    Piece piece;
    switch (ControlKindOf(first)) {
    case QvControlKind::Label:
        piece.text = static_cast<QLabel*>(first)->text();
        break;
    case QvControlKind::CheckBox:
        if (r.isBits()) {
            // Each box sets or clears its own bit; the other bits keep their values, so that
            // two groups of boxes on one variable do not undo each other.
            for (size_t k = 0; k < r.bitIndices.size(); ++k) {
                auto box = qobject_cast<QCheckBox*>(r.controls.value(static_cast<qsizetype>(k)));
                SetRawBit(raw, r.bitIndices[k], box && box->isChecked());
            }
            return;
        }
        if (list) {
            const QvOptionList& l = needCheckList(list);
            piece.text = LacksChoice(r)
                             ? QString()
                             : l.ItemAt(static_cast<QCheckBox*>(first)->isChecked() ? 1 : 0).label;
        } else {
            if (!isBooleanSyntax(r.syntax))
                fail(kBadPartSyntax);
            piece.text = static_cast<QCheckBox*>(first)->isChecked() ? QStringLiteral("true")
                                                                     : QStringLiteral("false");
        }
        break;
    case QvControlKind::ComboBox: {
        auto combo = static_cast<QComboBox*>(first);
        const QvOptionList& l = needList(list);
        const int i = combo->currentIndex();
        piece.text = i >= 0 && i < l.Count() ? l.ItemAt(i).label : QString();
        if (const QWidget* second = secondOf(r)) {
            const QString rest = secondText(second);
            // An OID prefix and its rest are joined by a dot; an empty rest adds none, so that
            // the prefix alone stays a valid OID.
            if (r.syntax == QvSyntax::objectid && !rest.isEmpty())
                piece.text += QLatin1Char('.');
            piece.text += rest;
        }
        break;
    }
    case QvControlKind::RadioGroup: {
        const int i = static_cast<QvRadioGroup*>(first)->currentIndex();
        const QvOptionList& l = needList(list);
        piece.text = i >= 0 && i < l.Count() ? l.ItemAt(i).label : QString();
        break;
    }
    case QvControlKind::Edit:
        piece = isSplit(r) ? collectSplit(editsOf(r), r.syntax)
                           : Piece{static_cast<QLineEdit*>(first)->text()};
        break;
    case QvControlKind::Other:
        fail(kBadControl);
    }
    if (!piece.isRaw) {
        const QString value = list ? list->LabelToValue(piece.text) : piece.text;
        piece.raw = TextToRaw(value, r.syntax);
    }
    if (whole)
        raw = piece.raw;
    else
        PutPartial(raw, r.offset, piece.raw);
}

} // namespace qv
