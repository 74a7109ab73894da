#include "binding/edit_constraint.h"

#include "binding/module_caption.h"
#include "platform/prompter.h"
#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"

#include <algorithm>
#include <cfloat>
#include <QLineEdit>
#include <QLocale>

namespace {

// Entries of the common message table.
enum CommonEntry : int {
    BadFormat = 2,
    EmptyValue = 3,
    StringTooLong = 4,
    StringLength = 5,
    HexTooLong = 6,
    HexLength = 7,
    NumberRange = 8,
    ListTooLong = 9,
    ListCount = 10,
    ListRange = 11,
};

constexpr int kBadFormatCode = -2;
constexpr double kUnsignedMax = 4294967295.0;

[[noreturn]] void badFormat() {
    throw QvException(kBadFormatCode, qv::messageText(qv::MessageTable::Common, BadFormat));
}

QString common(int entry) {
    return qv::messageText(qv::MessageTable::Common, entry);
}

QString common(int entry, std::initializer_list<std::pair<const char*, QString>> values) {
    QString text = common(entry);
    for (const auto& [placeholder, value] : values)
        text = qv::replacePlaceholder(text, QLatin1String(placeholder), value);
    return text;
}

bool isPlaceholder(const QString& text) {
    return text == QLatin1String("(NOTDONE)") || text == QLatin1String("(NULL)");
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// The bounds of a type when the format gives none.
void setDefaultBounds(_EditConstraint_s& r) {
    switch (r.type) {
    case 'i':
        r.minimum = -2147483648.0;
        r.maximum = 2147483647.0;
        break;
    case 'u':
    case 'n':
        r.minimum = 0;
        r.maximum = kUnsignedMax;
        break;
    case 'f':
        // The smallest positive double, so that 0 and negative numbers need a minimum.
        r.minimum = DBL_MIN;
        r.maximum = DBL_MAX;
        break;
    default:
        break;
    }
}

// The leading number of a text: blanks, a sign, digits with a fraction and an exponent; no
// number gives 0. Unlike the value texts' LeadingDouble, a number too large for a double gives
// an infinity (not 0), so that it fails every range.
double leadingNumber(const QString& text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    qsizetype digits = 0;
    for (; i < n && isDigit(text[i]); ++i)
        ++digits;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        for (; i < n && isDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
            ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return QLocale::c().toDouble(QStringView(text).mid(start, i - start));
}

// Bounds of a number list: rounded to integers within the unsigned range.
quint32 listBound(double bound) {
    if (std::isnan(bound))
        return 0;
    return static_cast<quint32>(std::clamp(std::round(bound), 0.0, kUnsignedMax));
}

QString generalFloat(double value) {
    return QString::number(value, 'g', 15);
}

// Position of the first character the type does not let the operator type, or -1.
qsizetype firstRefused(const _EditConstraint_s& r, const QString& text) {
    bool point = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        bool allowed = true;
        switch (r.type) {
        case 'u':
            allowed = isDigit(c);
            break;
        case 'i':
            allowed = isDigit(c) || (c == QLatin1Char('-') && i == 0);
            break;
        case 'f':
            if (c == QLatin1Char('.') && !point) {
                point = true;
                break;
            }
            allowed = isDigit(c) || (c == QLatin1Char('-') && i == 0);
            break;
        case 'h':
            allowed = isHexDigit(c);
            break;
        case 'n':
            allowed = isDigit(c) || (c == r.delimiter && i > 0 && text[i - 1] != r.delimiter);
            break;
        default: // 's'
            break;
        }
        if (!allowed)
            return i;
    }
    return -1;
}

// Reads the digits at `i` of `block` (at least one) as a non-negative int.
int readDigits(const QString& block, qsizetype& i) {
    const qsizetype start = i;
    while (i < block.size() && isDigit(block[i]))
        ++i;
    bool ok = false;
    const int value = QStringView(block).mid(start, i - start).toInt(&ok);
    if (i == start || !ok)
        badFormat();
    return value;
}

// Reads a bound at `i` of `block`: digits, "-" and ".", forming a number.
double readBound(const QString& block, qsizetype& i) {
    const qsizetype start = i;
    while (i < block.size() &&
           (isDigit(block[i]) || block[i] == QLatin1Char('-') || block[i] == QLatin1Char('.')))
        ++i;
    bool ok = false;
    const double value = QLocale::c().toDouble(QStringView(block).mid(start, i - start), &ok);
    if (i == start || !ok)
        badFormat();
    return value;
}

} // namespace

QvEditConstraint::QvEditConstraint(QWidget* ownerWindow, bool rememberAccepted, QObject* parent)
    : QObject(parent), owner_(ownerWindow), rememberAccepted_(rememberAccepted) {}

QvEditConstraint::~QvEditConstraint() {
    while (!records_.empty())
        release(records_.end() - 1);
}

QStringList QvEditConstraint::SplitFormat(const QString& format) {
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 1; i <= format.size(); ++i) {
        if (i == format.size() || format[i] == QLatin1Char('%')) {
            pieces << format.mid(start, i - start);
            start = i;
        }
    }
    return pieces;
}

int QvEditConstraint::EditCount(const QString& format) {
    int count = 0;
    for (qsizetype i = 0; i + 1 < format.size(); ++i)
        if (format[i] == QLatin1Char('%') && QStringLiteral("shiufn").contains(format[i + 1]))
            ++count;
    return count;
}

_EditConstraint_s QvEditConstraint::ParsePiece(const QString& piece) {
    if (piece.size() <= 1 || piece[0] != QLatin1Char('%'))
        badFormat();
    _EditConstraint_s r;
    const QChar type = piece[1];
    if (!QStringLiteral("shiufn").contains(type))
        badFormat();
    r.type = static_cast<char>(type.unicode());
    setDefaultBounds(r);
    qsizetype i = 2;
    if (r.type == 'n') {
        if (i >= piece.size())
            badFormat();
        r.delimiter = piece[i++];
    }
    if (i == piece.size())
        return r;
    if (piece[i] != QLatin1Char('{') || !piece.endsWith(QLatin1Char('}')))
        badFormat();
    const QString block = piece.mid(i + 1, piece.size() - i - 2);
    qsizetype j = 0;
    while (j < block.size()) {
        const QChar option = block[j++];
        if (option == QLatin1Char('e')) {
            if (j >= block.size())
                badFormat();
            r.exitKey = block[j++];
        } else if (option == QLatin1Char('l')) {
            r.maxLength = readDigits(block, j);
            for (int flags = 0; flags < 3 && j < block.size(); ++flags, ++j) {
                if (block[j] == QLatin1Char('a'))
                    r.options |= _EditConstraint_s::JumpWhenFull;
                else if (block[j] == QLatin1Char('f'))
                    r.options |= _EditConstraint_s::FixedLength;
                else if (block[j] == QLatin1Char('n'))
                    r.options |= _EditConstraint_s::NotEmpty;
                else
                    break;
            }
        } else if (option == QLatin1Char('n')) {
            r.minimum = readBound(block, j);
        } else if (option == QLatin1Char('x')) {
            r.maximum = readBound(block, j);
        } else if (option == QLatin1Char('w')) {
            r.width = readDigits(block, j);
        } else {
            badFormat();
        }
    }
    return r;
}

void QvEditConstraint::Attach(const QString& format, const QList<QLineEdit*>& edits) {
    const QStringList pieces = SplitFormat(format);
    if (pieces.size() != edits.size() || edits.contains(nullptr))
        badFormat();
    std::vector<_EditConstraint_s> parsed;
    for (const QString& piece : pieces)
        parsed.push_back(ParsePiece(piece));
    for (qsizetype k = 0; k < edits.size(); ++k)
        attach(std::move(parsed[static_cast<size_t>(k)]), *edits[k]);
}

void QvEditConstraint::AttachOne(const QString& piece, QLineEdit* edit) {
    _EditConstraint_s r = ParsePiece(piece);
    if (!edit)
        badFormat();
    attach(std::move(r), *edit);
}

void QvEditConstraint::attach(_EditConstraint_s r, QLineEdit& edit) {
    std::erase_if(records_, [](const _EditConstraint_s& old) { return old.edit.isNull(); });
    r.edit = &edit;
    QvEditHooks& hooks = QvEditHooks::of(edit);
    hooks.setConstraint(this);
    // A list's length counts numbers, not characters: its characters are not limited.
    hooks.setMaxLength(r.type == 'n' ? 0 : r.maxLength);
    if (r.width > 0)
        edit.setFixedWidth(r.width);
    if (_EditConstraint_s* old = record(&edit))
        *old = std::move(r);
    else
        records_.push_back(std::move(r));
}

void QvEditConstraint::Detach(QLineEdit* edit) {
    const auto it = std::find_if(records_.begin(), records_.end(),
                                 [edit](const _EditConstraint_s& r) { return r.edit == edit; });
    if (it != records_.end())
        release(it);
}

void QvEditConstraint::release(std::vector<_EditConstraint_s>::iterator it) {
    if (QLineEdit* edit = it->edit.data()) {
        QvEditHooks* hooks = QvEditHooks::find(*edit);
        if (hooks && hooks->constraint() == this)
            hooks->setConstraint(nullptr);
    }
    records_.erase(it);
}

const _EditConstraint_s* QvEditConstraint::Find(const QLineEdit* edit) const {
    if (!edit)
        return nullptr;
    const auto it = std::find_if(records_.begin(), records_.end(),
                                 [edit](const _EditConstraint_s& r) { return r.edit == edit; });
    return it == records_.end() ? nullptr : &*it;
}

_EditConstraint_s* QvEditConstraint::record(const QLineEdit* edit) {
    return const_cast<_EditConstraint_s*>(Find(edit));
}

QString QvEditConstraint::CheckText(const _EditConstraint_s& r, const QString& text) {
    if (isPlaceholder(text))
        return {};
    if (text.isEmpty())
        return (r.options & _EditConstraint_s::NotEmpty) ? common(EmptyValue) : QString();
    const bool fixed = r.options & _EditConstraint_s::FixedLength;
    switch (r.type) {
    case 'i':
    case 'u':
    case 'f': {
        const double value = leadingNumber(text);
        if (!(value >= r.minimum && value <= r.maximum))
            return common(NumberRange,
                          {{"[MIN]", generalFloat(r.minimum)}, {"[MAX]", generalFloat(r.maximum)}});
        return {};
    }
    case 's':
    case 'h': {
        if (r.maxLength <= 0)
            return {};
        const bool hex = r.type == 'h';
        const QString length = QString::number(r.maxLength);
        if (fixed && text.size() != r.maxLength)
            return common(hex ? HexLength : StringLength, {{"[LEN]", length}});
        if (!fixed && text.size() > r.maxLength)
            return common(hex ? HexTooLong : StringTooLong, {{"[MAXLEN]", length}});
        return {};
    }
    case 'n': {
        const QvNumList<unsigned int> list(text, r.delimiter);
        const QString delimiter(r.delimiter);
        if (r.maxLength > 0) {
            const QString count = QString::number(r.maxLength);
            if (fixed && list.Count() != r.maxLength)
                return common(ListCount, {{"[DELIMITER]", delimiter}, {"[COUNT]", count}});
            if (!fixed && list.Count() > r.maxLength)
                return common(ListTooLong, {{"[DELIMITER]", delimiter}, {"[MAXCOUNT]", count}});
        }
        const quint32 low = listBound(r.minimum);
        const quint32 high = listBound(r.maximum);
        const bool outside = std::any_of(list.Numbers().begin(), list.Numbers().end(),
                                         [&](unsigned int v) { return v < low || v > high; });
        if (outside || list.Clamped())
            return common(ListRange, {{"[DELIMITER]", delimiter},
                                      {"[MIN]", QString::number(low)},
                                      {"[MAX]", QString::number(high)}});
        return {};
    }
    default:
        return {};
    }
}

// Screens a change the operator made, before it lands. The exit key is looked for only among
// the characters just typed: a text shown by the program may hold it as an ordinary character.
void QvEditConstraint::screen(const QLineEdit& edit, QString& text, int& cursor, int insertStart,
                              int insertLength, bool& beep, bool& nextField) const {
    // The operator who types "192.168" into an address form types the "." after the first
    // field has already jumped on when full: that key finishes the full field, and is dropped
    // rather than skipping the second one.
    const bool afterJump = jumpedTo_ == &edit;
    jumpedTo_ = nullptr;
    if (afterJump && insertLength == 1 && text.size() == 1 && text[insertStart] == jumpedKey_) {
        text.clear();
        cursor = 0;
        return;
    }
    const _EditConstraint_s* r = Find(&edit);
    if (!r || text.isEmpty() || isPlaceholder(text))
        return;
    if (!r->exitKey.isNull()) {
        const qsizetype at = text.indexOf(r->exitKey, insertStart);
        if (at >= 0 && at < insertStart + insertLength) {
            text.remove(at, 1);
            if (cursor > at)
                --cursor;
            nextField = true;
            return;
        }
    }
    for (qsizetype at = firstRefused(*r, text); at >= 0; at = firstRefused(*r, text)) {
        text.remove(at, 1);
        if (cursor > at)
            --cursor;
        beep = true;
    }
}

// After a change the operator made has landed: the edit's own change handler, then the jump
// to the next field when the text has reached its length.
void QvEditConstraint::changed(QLineEdit& edit) {
    QvEditHooks& hooks = QvEditHooks::of(edit);
    if (!hooks.runChangeHandler())
        return;
    const _EditConstraint_s* r = Find(&edit);
    if (!r || !(r->options & _EditConstraint_s::JumpWhenFull) || r->maxLength <= 0 ||
        r->type == 'n' || edit.text().size() != r->maxLength)
        return;
    const QChar exitKey = r->exitKey;
    QWidget* next = QvEditHooks::focusNextField(edit, owner_.data());
    if (!exitKey.isNull()) {
        jumpedTo_ = qobject_cast<QLineEdit*>(next);
        jumpedKey_ = exitKey;
    }
}

// The operator has left the edit: check the whole text.
void QvEditConstraint::exited(QLineEdit& edit) {
    QvEditHooks& hooks = QvEditHooks::of(edit);
    if (jumpedTo_ == &edit)
        jumpedTo_ = nullptr;
    const _EditConstraint_s* r = Find(&edit);
    if (!r || isPlaceholder(edit.text()))
        return;
    const QString failure = CheckText(*r, edit.text());
    QPointer<QLineEdit> alive(&edit);
    if (!failure.isEmpty()) {
        jumpedTo_ = nullptr; // the operator goes back: a jump made from here is void
        platform::prompter().ask(qv::ModuleCaption(), failure, platform::Buttons::Ok);
        // The message box ran its own event loop: the edit or its record may be gone.
        if (!alive || !(r = Find(&edit)))
            return;
        edit.setText(r->acceptedText);
        edit.setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool accepted = hooks.runExitHandler();
    _EditConstraint_s* after = alive ? record(&edit) : nullptr;
    if (!after)
        return;
    if (!accepted)
        edit.setText(after->acceptedText);
    else if (rememberAccepted_)
        after->acceptedText = edit.text();
}
