#include "snmplib/expression.h"

#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"

#include "snmplib/error_codes.h"
#include <charconv>
#include <cmath>
#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <string>

using namespace qv::code;

namespace qv {

namespace {

constexpr int kBadLogicOperand = -1; // entry 1 of the "(QvCommon)" table

[[noreturn]] void badLogicOperand() {
    throw QvException(kBadLogicOperand, messageText(MessageTable::Common, 1));
}

// Recursive descent over the Latin-1 bytes of the expression; anything outside the language
// stops the parse.
class Arithmetic {
public:
    explicit Arithmetic(const QString& text) : s_(text.toLatin1().toStdString()) {}

    double evaluate() {
        const double value = sum();
        skipBlanks();
        if (pos_ != s_.size() || !std::isfinite(value))
            throw QvException(kBadExpression);
        return value;
    }

private:
    void skipBlanks() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t'))
            ++pos_;
    }

    bool take(char c) {
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    double sum() {
        double value = product();
        while (true) {
            if (take('+'))
                value += product();
            else if (take('-'))
                value -= product();
            else
                return value;
        }
    }

    double product() {
        double value = factor();
        while (true) {
            if (take('*'))
                value *= factor();
            else if (take('/'))
                value /= factor();
            else
                return value;
        }
    }

    double factor() {
        if (take('+'))
            return factor();
        if (take('-'))
            return -factor();
        if (take('(')) {
            const double value = sum();
            if (!take(')'))
                throw QvException(kBadExpression);
            return value;
        }
        skipBlanks();
        if (s_.compare(pos_, 3, "NOW") == 0) {
            pos_ += 3;
            return NowAsDays();
        }
        double value = 0;
        const char* first = s_.data() + pos_;
        const auto [end, ec] = std::from_chars(first, s_.data() + s_.size(), value);
        if (ec != std::errc{})
            throw QvException(kBadExpression);
        pos_ += static_cast<size_t>(end - first);
        return value;
    }

    std::string s_;
    size_t pos_ = 0;
};

// Positions outside double quotes and outside parentheses.
template <class Visit> void forTopLevel(const QString& text, Visit visit) {
    bool quoted = false;
    int depth = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (c == u'(') {
            ++depth;
            continue;
        }
        if (c == u')') {
            --depth;
            continue;
        }
        if (depth == 0 && !visit(i))
            return;
    }
}

QStringList splitTopLevel(const QString& text, QChar separator) {
    QStringList parts;
    int start = 0;
    forTopLevel(text, [&](int i) {
        if (text[i] == separator) {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
        return true;
    });
    parts.append(text.mid(start));
    return parts;
}

int findTopLevel(const QString& text, const QString& op) {
    int found = -1;
    forTopLevel(text, [&](int i) {
        if (QStringView(text).mid(i).startsWith(op)) {
            found = i;
            return false;
        }
        return true;
    });
    return found;
}

QString unquoted(const QString& side) {
    const QString t = side.trimmed();
    if (t.size() >= 2 && t.startsWith(u'"') && t.endsWith(u'"'))
        return t.mid(1, t.size() - 2);
    return t;
}

double numberOperand(const QString& side) {
    const QString t = unquoted(side);
    if (t == QLatin1String("NOW"))
        return NowAsDays();
    const std::string s = t.toLatin1().toStdString();
    const char* first = s.data();
    const char* last = first + s.size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc{} || end != last || first == last || *first == '+' || *first == '-')
        badLogicOperand();
    return negative ? -value : value;
}

bool logicalOr(const QString& text);

bool operand(const QString& text) {
    QString t = text.trimmed();
    // A group around the whole operand.
    if (t.startsWith(u'(') && t.endsWith(u')')) {
        int closing = -1;
        int depth = 0;
        bool quoted = false;
        for (int i = 0; i < t.size() && closing < 0; ++i) {
            if (t[i] == u'"')
                quoted = !quoted;
            else if (!quoted && t[i] == u'(')
                ++depth;
            else if (!quoted && t[i] == u')' && --depth == 0)
                closing = i;
        }
        if (closing == t.size() - 1)
            return logicalOr(t.mid(1, t.size() - 2));
    }
    // Inner groups become "true" or "false" before the comparison is looked for.
    QString flat;
    {
        bool quoted = false;
        int depth = 0;
        int groupStart = -1;
        for (int i = 0; i < t.size(); ++i) {
            const QChar c = t[i];
            if (c == u'"') {
                quoted = !quoted;
            } else if (!quoted && c == u'(') {
                if (depth++ == 0) {
                    groupStart = i + 1;
                    continue;
                }
            } else if (!quoted && c == u')' && depth > 0) {
                if (--depth == 0) {
                    flat += logicalOr(t.mid(groupStart, i - groupStart)) ? QStringLiteral("true")
                                                                         : QStringLiteral("false");
                    continue;
                }
            }
            if (depth == 0)
                flat += c;
        }
        if (depth != 0)
            badLogicOperand();
    }
    for (const char* op : {"<>", ">=", "<=", ">", "<", "="}) {
        const QString symbol = QLatin1String(op);
        const int at = findTopLevel(flat, symbol);
        if (at < 0)
            continue;
        const QString left = flat.left(at);
        const QString right = flat.mid(at + symbol.size());
        if (symbol == QLatin1String("<>"))
            return unquoted(left) != unquoted(right);
        if (symbol == QLatin1String("="))
            return unquoted(left) == unquoted(right);
        const double a = numberOperand(left);
        const double b = numberOperand(right);
        if (symbol == QLatin1String(">="))
            return a >= b;
        if (symbol == QLatin1String("<="))
            return a <= b;
        if (symbol == QLatin1String(">"))
            return a > b;
        return a < b;
    }
    if (flat.trimmed() == QLatin1String("true"))
        return true;
    if (flat.trimmed() == QLatin1String("false"))
        return false;
    badLogicOperand();
}

bool negation(const QString& text) {
    const QString t = text.trimmed();
    if (t.startsWith(u'!'))
        return !negation(t.mid(1));
    return operand(t);
}

bool logicalAnd(const QString& text) {
    // A part is evaluated only while the parts before it are true.
    bool result = true;
    for (const QString& part : splitTopLevel(text, u'&')) {
        if (!result)
            break;
        result = negation(part);
    }
    return result;
}

bool logicalOr(const QString& text) {
    for (const QString& part : splitTopLevel(text, u'|')) {
        if (logicalAnd(part))
            return true;
    }
    return false;
}

} // namespace

double EvaluateArithmetic(const QString& expression) {
    return Arithmetic(expression).evaluate();
}

bool EvaluateLogical(const QString& expression) {
    return logicalOr(expression);
}

double NowAsDays() {
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 days = QDate(1899, 12, 30).daysTo(now.date());
    return static_cast<double>(days) + now.time().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace qv
