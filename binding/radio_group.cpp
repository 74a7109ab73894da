#include "binding/radio_group.h"

#include "binding/operator_choice.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPointer>
#include <QRadioButton>
#include <QSignalBlocker>

QvRadioGroup::QvRadioGroup(QWidget* parent) : QvRadioGroup(QString(), parent) {}

QvRadioGroup::QvRadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), layout_(new QGridLayout(this)), group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
    // The selection follows whichever way a button gets checked: a click, the space bar or the
    // arrow keys that move through the group.
    connect(group_, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            setCurrentIndex(index);
    });
    connect(group_, &QButtonGroup::idClicked, this, &QvRadioGroup::buttonClicked);
    connect(this, &QObject::objectNameChanged, this, &QvRadioGroup::nameButtons);
}

QvRadioGroup::~QvRadioGroup() = default;

void QvRadioGroup::clear() {
    setItems({});
}

void QvRadioGroup::addItem(const QString& text) {
    setItems(items_ + QStringList{text});
}

void QvRadioGroup::addItems(const QStringList& texts) {
    setItems(items_ + texts);
}

void QvRadioGroup::setItems(const QStringList& texts) {
    items_ = texts;
    const bool hadSelection = current_ != -1;
    current_ = -1;
    rebuild();
    if (hadSelection)
        emit currentIndexChanged(-1);
}

void QvRadioGroup::setCurrentIndex(int index) {
    if (index < 0 || index >= count())
        index = -1;
    if (index == current_)
        return;
    current_ = index;
    showSelection();
    emit currentIndexChanged(current_);
}

void QvRadioGroup::setColumns(int columns) {
    columns_ = std::max(1, columns);
    arrange();
}

QRadioButton* QvRadioGroup::button(int index) const {
    return buttons_.value(index);
}

void QvRadioGroup::rebuild() {
    for (QRadioButton* b : std::as_const(buttons_)) {
        group_->removeButton(b);
        layout_->removeWidget(b);
        b->hide();
        // A click handler may change the items while its button is still sending the click.
        if (clicking_ > 0)
            b->deleteLater();
        else
            delete b;
    }
    buttons_.clear();
    for (int i = 0; i < count(); ++i) {
        auto* b = new QRadioButton(items_[i], this);
        b->setAccessibleName(items_[i]);
        group_->addButton(b, i);
        // A click handler that replaced the items leaves this button out: no choice of an item.
        QvOnChoice(b, this, [this, b] {
            if (const auto index = buttons_.indexOf(b); index >= 0)
                buttonChosen(static_cast<int>(index));
        });
        buttons_.append(b);
    }
    nameButtons();
    arrange();
    showSelection();
}

// Column by column: with 5 items in 2 columns, items 0-2 fill the first column, 3-4 the second.
void QvRadioGroup::arrange() {
    const int perColumn = std::max(1, (count() + columns_ - 1) / columns_);
    for (int i = 0; i < buttons_.size(); ++i) {
        layout_->removeWidget(buttons_[i]);
        layout_->addWidget(buttons_[i], i % perColumn, i / perColumn);
    }
}

void QvRadioGroup::nameButtons() {
    for (int i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setObjectName(objectName().isEmpty()
                                       ? QString()
                                       : objectName() + QLatin1Char('_') + QString::number(i));
}

void QvRadioGroup::showSelection() {
    // An exclusive group cannot show "none" while one of its buttons is checked.
    const QSignalBlocker blocker(group_);
    group_->setExclusive(false);
    for (int i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setChecked(i == current_);
    group_->setExclusive(true);
}

void QvRadioGroup::buttonClicked(int index) {
    report([this, index] { emit clicked(index); });
}

void QvRadioGroup::buttonChosen(int index) {
    report([this, index] { emit chosen(index); });
}

void QvRadioGroup::report(const std::function<void()>& emitting) {
    const QPointer<QvRadioGroup> alive(this); // a handler may close the page
    ++clicking_;
    emitting();
    if (alive)
        --clicking_;
}
