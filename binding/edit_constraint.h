#pragma once
// Input constraints of edits, given as formats: "%u{n1x65535}" accepts the digits while the
// operator types and a number from 1 to 65535 when the operator leaves the edit.
//
// A format is one piece per edit, written one after the other ("%u{n0x255}%u{n0x255}"). A piece
// is "%" and a type letter, or "%n" and a delimiter character, optionally followed by a block
// in braces that ends the piece:
//   types   s text, h hexadecimal, i signed integer, u unsigned integer, f decimal number,
//           n list of unsigned numbers separated by the delimiter ("%n." for 192.168.0.1)
//   options eC exit key C (typing it moves to the next field), lDIGITS[a][f][n] length (for 'n'
//           the count of numbers) with the flags a = jump on when full (not for lists),
//           f = exactly that length, n = must not be empty; nNUMBER minimum; xNUMBER maximum;
//           wDIGITS width in pixels.
// A bad format raises QvException with code -2 and the common message "(QvCommon) Bad format
// specifier of edit's constraint!".
//
// While the operator types, characters the type does not allow are removed with a beep and the
// length limit holds; texts the program sets are shown as they are. When the operator leaves
// the edit, the whole text is checked; a failure is shown in a message box, the edit gets its
// last accepted text back and keeps the focus.
#include "binding/edit_hooks.h"

#include <cmath>
#include <limits>
#include <QChar>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget> // QPointer<QWidget>::data() needs the complete type
#include <type_traits>
#include <vector>

class QLineEdit;

// One constrained edit.
struct _EditConstraint_s {
    enum Option : int {
        JumpWhenFull = 1, // 'a'
        FixedLength = 2,  // 'f'
        NotEmpty = 4,     // 'n'
    };

    QPointer<QLineEdit> edit;
    char type = 's'; // 's', 'h', 'i', 'u', 'f', 'n'
    QChar delimiter; // type 'n'
    double minimum = 0;
    double maximum = 0;
    int maxLength = 0; // 0 = none; for 'n' the count of numbers
    int options = 0;   // Option flags
    QChar exitKey;     // null = none
    int width = 0;     // pixels; 0 = leave the edit's width alone
    QString acceptedText;
};

class QvEditConstraint final : public QObject {
    Q_OBJECT
public:
    // `ownerWindow` bounds the search for the next field (null: each edit's window).
    // `rememberAccepted`: a text that passes the exit check becomes the text a later failure
    // puts back (binding objects pass true).
    QvEditConstraint(QWidget* ownerWindow, bool rememberAccepted, QObject* parent = nullptr);
    // Detaches every edit; the edits keep their own handlers.
    ~QvEditConstraint() override;
    QvEditConstraint(const QvEditConstraint&) = delete;
    QvEditConstraint& operator=(const QvEditConstraint&) = delete;

    void SetOwnerWindow(QWidget* window) { owner_ = window; }
    QWidget* OwnerWindow() const { return owner_.data(); }
    bool RememberAccepted() const { return rememberAccepted_; }

    // Splits the format into its pieces and attaches piece k to edit k. Every piece is parsed
    // before any edit is touched; a bad piece, or a count of pieces different from the count of
    // edits, raises the format error.
    void Attach(const QString& format, const QList<QLineEdit*>& edits);
    // Parses one piece and constrains the edit with it (an edit attached before gets the new
    // piece): the typing limit becomes the piece's length ('n': no limit on characters), the
    // width is set when the piece gives one.
    void AttachOne(const QString& piece, QLineEdit* edit);
    // The edit is no longer constrained; its own handlers stay.
    void Detach(QLineEdit* edit);

    // The record of an attached edit, or nullptr.
    const _EditConstraint_s* Find(const QLineEdit* edit) const;

    // The pieces of a format: split before every "%" after the first character.
    static QStringList SplitFormat(const QString& format);
    // How many edits a format takes: one per "%" followed by s, h, i, u, f or n.
    static int EditCount(const QString& format);
    // Parses one piece into a record without an edit; raises the format error.
    static _EditConstraint_s ParsePiece(const QString& piece);
    // The message for a text leaving an edit with this record, or an empty text when it passes.
    static QString CheckText(const _EditConstraint_s& record, const QString& text);

private:
    friend class QvEditHooks;
    // Called by the edit's hooks.
    void screen(const QLineEdit& edit, QString& text, int& cursor, int insertStart,
                int insertLength, bool& beep, bool& nextField) const;
    void changed(QLineEdit& edit);
    void exited(QLineEdit& edit);

    void attach(_EditConstraint_s r, QLineEdit& edit);
    _EditConstraint_s* record(const QLineEdit* edit);
    void release(std::vector<_EditConstraint_s>::iterator it);

    QPointer<QWidget> owner_;
    bool rememberAccepted_;
    // The edit reached by the last jump on when full, and the exit key of the full edit.
    mutable QPointer<QLineEdit> jumpedTo_;
    QChar jumpedKey_;
    std::vector<_EditConstraint_s> records_;
};

// A list of unsigned numbers read from a text such as "192.168.0.1". An empty text holds no
// numbers; otherwise the count is 1 plus the number of delimiters. Within a number, digits
// accumulate in decimal, a "." that is not the delimiter starts a fraction (tenths, hundredths,
// ...) and the number is rounded to the nearest integer; any other character counts as a digit
// worth its character code minus 48. A number below 0 or above the type's maximum is clamped to
// that bound and noted in Clamped().
template <typename T> class QvNumList {
    static_assert(std::is_unsigned_v<T>, "QvNumList holds unsigned numbers");

public:
    explicit QvNumList(QChar delimiter = QLatin1Char('.')) : delimiter_(delimiter) {}
    QvNumList(const QString& text, QChar delimiter) : delimiter_(delimiter) { Parse(text); }

    void Parse(const QString& text);

    int Count() const { return static_cast<int>(numbers_.size()); }
    T operator[](int index) const { return numbers_.at(static_cast<size_t>(index)); }
    const std::vector<T>& Numbers() const { return numbers_; }
    QChar Delimiter() const { return delimiter_; }
    void SetDelimiter(QChar delimiter) { delimiter_ = delimiter; }
    // Some number lay outside 0 .. the type's maximum.
    bool Clamped() const { return clamped_; }

private:
    void finish(double whole, double fraction);

    QChar delimiter_;
    std::vector<T> numbers_;
    bool clamped_ = false;
};

template <typename T> void QvNumList<T>::Parse(const QString& text) {
    numbers_.clear();
    clamped_ = false;
    if (text.isEmpty())
        return;
    double whole = 0;
    double fraction = 0;
    double scale = 1; // weight of the next fraction digit is scale / 10
    bool inFraction = false;
    for (const QChar c : text) {
        if (c == delimiter_) {
            finish(whole, fraction);
            whole = fraction = 0;
            scale = 1;
            inFraction = false;
        } else if (c == QLatin1Char('.')) {
            inFraction = true; // a second "." changes nothing
        } else {
            const double digit = static_cast<double>(c.unicode()) - 48.0;
            if (inFraction) {
                scale /= 10;
                fraction += digit * scale;
            } else {
                whole = whole * 10 + digit;
            }
        }
    }
    finish(whole, fraction);
}

template <typename T> void QvNumList<T>::finish(double whole, double fraction) {
    const double value = std::round(whole + fraction);
    // 2 to the number of bits of T: the first value that no longer fits (exact as a double).
    const double beyond = std::ldexp(1.0, std::numeric_limits<T>::digits);
    if (std::isnan(value) || value < 0) {
        numbers_.push_back(0);
        clamped_ = true;
    } else if (value >= beyond) {
        numbers_.push_back(std::numeric_limits<T>::max());
        clamped_ = true;
    } else {
        numbers_.push_back(static_cast<T>(value));
    }
}
