#pragma once
// A radio group: a framed group of radio buttons, one per item, of which at most one is
// selected. Pages use it wherever a variable offers a few choices side by side ("Trap Status":
// Disable / Enable); the binding layer fills it from an option list and reads the selected item.
//
// The items are texts in order; the current index is the selected item, -1 for none. Items are
// laid out in `columns` columns, filling each column from the top before the next. Each button
// is named after the group (objectName "RG_TrapStatus_1" for item 1 of "RG_TrapStatus") and is
// announced by its text; the group is announced by its title.
#include <functional>
#include <QGroupBox>
#include <QList>
#include <QString>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

class QvRadioGroup final : public QGroupBox {
    Q_OBJECT
public:
    explicit QvRadioGroup(QWidget* parent = nullptr);
    explicit QvRadioGroup(const QString& title, QWidget* parent = nullptr);
    ~QvRadioGroup() override;

    // Items. Changing them clears the selection.
    void clear();
    void addItem(const QString& text);
    void addItems(const QStringList& texts);
    void setItems(const QStringList& texts);
    QStringList items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    QString itemText(int index) const { return items_.value(index); }

    // The selected item, -1 for none. An index outside the items selects nothing.
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    // The text of the selected item; empty when none is selected.
    QString currentText() const { return itemText(current_); }

    int columns() const { return columns_; }
    void setColumns(int columns);

    // The button of an item (nullptr outside the items).
    QRadioButton* button(int index) const;

signals:
    // The selection changed, by the operator or by the program.
    void currentIndexChanged(int index);
    // The operator clicked an item (also the item already selected).
    void clicked(int index);
    // An item was chosen, however (binding/operator_choice.h): a click as above, an assistive
    // tool's toggle, or a program's selection while the group can be seen, but not values being
    // shown.
    void chosen(int index);

private:
    void rebuild();
    void arrange();
    void nameButtons();
    void showSelection();
    void buttonClicked(int index);
    void buttonChosen(int index);
    // Runs `emitting` (a handler may change the items or close the page meanwhile).
    void report(const std::function<void()>& emitting);

    QStringList items_;
    int current_ = -1;
    int columns_ = 1;
    int clicking_ = 0; // depth of clicked() and chosen() emissions: a handler may change the items
    QGridLayout* layout_;
    QButtonGroup* group_;
    QList<QRadioButton*> buttons_;
};
