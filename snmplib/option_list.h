#pragma once
// Option lists: the labels that enumerated variables show instead of their values. A variable
// with an option list holds its label as value text; the request engine turns labels back into
// values before it sends them.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <span>
#include <vector>

// One pair of a static source table of integer values (kind 1). A pair whose label is null ends
// the table early; a table given as a whole array needs no end pair.
struct QvOptionSource {
    qint32 value;
    const char* label; // UTF-8
};

// One pair of a static source table of string values (kinds 2 and 3).
struct QvOptionTextSource {
    const char* value; // UTF-8
    const char* label; // UTF-8
};

class QvOptionList {
public:
    enum Kind : int {
        IntegerValues = 1,
        StringValues = 2,
        PrefixValues = 3, // the value (or label) is the front of the text; the rest follows
    };

    struct Item {
        qint32 number = 0; // kind 1
        QString text;      // kinds 2 and 3
        QString label;
    };

    explicit QvOptionList(int kind = IntegerValues, bool caseSensitive = false);
    QvOptionList(std::span<const QvOptionSource> source, int kind = IntegerValues,
                 bool caseSensitive = false);
    QvOptionList(std::span<const QvOptionTextSource> source, int kind, bool caseSensitive = false);

    int kind() const { return kind_; }
    bool caseSensitive() const { return caseSensitive_; }

    // Appends the pairs of the table, in table order, up to its end pair.
    void AddItems(std::span<const QvOptionSource> source);
    void AddItems(std::span<const QvOptionTextSource> source);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    // 0 <= index < Count().
    const Item& ItemAt(int index) const { return items_.at(static_cast<size_t>(index)); }

    // Index of the first item whose label (FindLabel) or value (FindValue) matches the text, or
    // -1. Kind 1 compares values as numbers: a text that is not a decimal number, and "(NULL)",
    // match nothing. Kind 3 matches when the item's label or value is a prefix of the text.
    int FindLabel(const QString& text) const;
    int FindValue(const QString& text) const;

    // The text with its value replaced by the label (or the reverse); unchanged when nothing
    // matches. Kind 3 replaces only the matching front of the text.
    QString ValueToLabel(const QString& text) const;
    QString LabelToValue(const QString& text) const;

    // The value of an item as text (the decimal number for kind 1).
    QString ValueText(int index) const;
    QStringList Labels() const;
    // The item a control selects for a text: FindLabel, else FindValue, else -1 (no selection).
    int SelectionIndex(const QString& text) const;

    // A combo box or anything with clear(), addItems(QStringList) (a radio group of the binding
    // layer): its items become the labels in item order.
    template <class Control> void FillItems(Control* control) const {
        control->clear();
        control->addItems(Labels());
    }
    // Anything with setCurrentIndex(int): selects the item of SelectionIndex(text).
    template <class Control> void SelectItem(Control* control, const QString& text) const {
        control->setCurrentIndex(SelectionIndex(text));
    }

private:
    // An item's label or value string against a text, by kind and letter-case rule.
    bool matches(const QString& itemText, const QString& text) const;
    int findText(const QString& text, QString Item::*field) const;

    int kind_;
    bool caseSensitive_;
    std::vector<Item> items_;
};

namespace qv {

// The module's global option list for a source table: built on first use (kind 1, letter case
// ignored) and kept until the process ends; the same object for the same table every time.
// Descriptors refer to their option lists this way.
const QvOptionList& GlobalOptionList(std::span<const QvOptionSource> source);

// Option lists of the library's vocabulary: the list kinds ("SVT_SV" = 0 ...), the syntax names
// ("boolean" = 1 ... "uint16" = 198) and the access names ("notaccess" = 1 ... "invalid" = 32).
const QvOptionList& ListKindOptions();
const QvOptionList& SyntaxOptions();
const QvOptionList& AccessOptions();

} // namespace qv
