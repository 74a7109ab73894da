#include "panels/edits_panel.h"

#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "binding/operator_choice.h"
#include "binding/request2edits.h"

#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

namespace {
constexpr int kTop = 20;       // first value control
constexpr int kRowSpacing = 5; // between value controls
constexpr int kCheckLeft = 20; // check boxes
constexpr int kCheckWidth = 20;
constexpr int kGap = 5; // check box - label - value control
constexpr int kMinRowHeight = 21;
constexpr int kTrailing = 40; // beyond the lowest and rightmost value control

void paint(QWidget& control, const QColor& text, const QColor& background) {
    QPalette palette = control.palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Base, background);
    }
    control.setPalette(palette);
}
} // namespace

TEditsPanel::TEditsPanel(QWidget* parent, QvSNMPRequest2Edits& request)
    : QWidget(parent), request_(request) {
    setObjectName(QStringLiteral("EditsPanel"));
    disabledBackground = palette().color(QPalette::Button);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ScrollBox"));
    scroll_->setFrameShape(QFrame::NoFrame);
    box_ = new QWidget;
    box_->setObjectName(QStringLiteral("Rows"));
    scroll_->setWidget(box_);
    layout->addWidget(scroll_);

    for (int i = 0; i < request_.vars.count(); ++i)
        addRow(i);
    layOut();
}

void TEditsPanel::addRow(int index) {
    const QvSNMPVarList& vars = request_.vars;
    const QvSNMPVar& var = vars.item(index);
    const bool settable = vars.settable(index);
    const bool options = var.optionList != nullptr;
    UISnmpVar row;
    row.kind = settable ? (options ? 3 : 2) : (options ? 4 : 1);
    row.format = QStringLiteral("%s");
    row.enabled = settable && !vars.isKey(index);
    row.shown = !var.has(QvAccess::hidden);

    const QString number = QString::number(index);
    row.check = new QCheckBox(box_);
    row.check->setObjectName(QStringLiteral("Check") + number);
    row.check->setAccessibleName(QStringLiteral("Set ") + var.name);
    row.check->setFocusPolicy(Qt::NoFocus);
    QvOnChoice(row.check, this, [this] { emit checkClicked(); });

    row.name = new QLabel(var.name, box_);
    row.name->setObjectName(QStringLiteral("La_Name") + number);

    if (row.kind == 3) {
        auto* combo = new QComboBox(box_);
        combo->setObjectName(QStringLiteral("CB_Value") + number);
        request_.BindComboBox(index, combo);
        row.value = combo;
    } else {
        auto* edit = new QLineEdit(box_);
        edit->setObjectName(QStringLiteral("Ed_Value") + number);
        request_.BindFormat(index, row.format, edit);
        // A value longer than the edit is shown from its start, not from its end (setting a
        // text puts the cursor at its end, even when the text has not changed).
        connect(edit, &QLineEdit::cursorPositionChanged, edit, [edit](int, int position) {
            if (position != 0 && !edit->hasFocus())
                edit->setCursorPosition(0);
        });
        row.value = edit;
    }
    row.name->setBuddy(row.value);

    if (row.enabled) {
        row.check->setEnabled(true);
        row.check->setChecked(defaultChecked);
        if (auto* edit = qobject_cast<QLineEdit*>(row.value)) {
            edit->setReadOnly(false);
            edit->setFocusPolicy(Qt::StrongFocus);
            QvEditHooks::of(*edit).setMaxLength(kMaxEditLength);
        }
        paint(*row.value, Qt::black, Qt::white);
    } else {
        row.check->setEnabled(false);
        row.check->setChecked(false);
        row.check->hide();
        if (auto* edit = qobject_cast<QLineEdit*>(row.value)) {
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::ClickFocus); // no tab stop
        } else {
            row.value->setEnabled(false);
        }
        paint(*row.value, disabledText, disabledBackground);
    }
    if (!row.shown) {
        row.check->hide();
        row.name->hide();
        row.value->hide();
    }
    rows_.push_back(row);
}

void TEditsPanel::layOut() {
    int labelWidth = 0;
    for (const UISnmpVar& row : rows_)
        if (row.shown)
            labelWidth = std::max(labelWidth, row.name->sizeHint().width());
    const int valueLeft = kCheckLeft + kCheckWidth + kGap + labelWidth + kGap;
    int y = kTop;
    int right = 0;
    int bottom = 0;
    for (const UISnmpVar& row : rows_) {
        if (!row.shown) {
            row.value->resize(valueWidth_, row.value->height());
            continue;
        }
        const int height = std::max(kMinRowHeight, row.value->sizeHint().height());
        row.value->setGeometry(valueLeft, y, valueWidth_, height);
        const int checkHeight = row.check->sizeHint().height();
        row.check->setGeometry(kCheckLeft, y + (height - checkHeight) / 2, kCheckWidth,
                               checkHeight);
        const int labelHeight = row.name->sizeHint().height();
        row.name->setGeometry(kCheckLeft + kCheckWidth + kGap, y + (height - labelHeight) / 2,
                              labelWidth, labelHeight);
        right = valueLeft + valueWidth_;
        bottom = y + height;
        y = bottom + kRowSpacing;
    }
    contentSize_ = QSize(right + kTrailing, bottom + kTrailing);
    box_->setFixedSize(contentSize_);
    setMinimumSize(0, 0);
    updateGeometry();
}

int TEditsPanel::enabledCount() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const UISnmpVar& r) { return r.enabled; }));
}

int TEditsPanel::checkedCount() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const UISnmpVar& r) {
        return r.enabled && r.check->isChecked();
    }));
}

void TEditsPanel::setAllChecked(bool checked) {
    for (const UISnmpVar& row : rows_)
        if (row.enabled)
            row.check->setChecked(checked);
}

void TEditsPanel::setValueWidth(int width) {
    valueWidth_ = width;
    layOut();
}

void TEditsPanel::setChecksShown(bool shown) {
    for (const UISnmpVar& row : rows_)
        if (row.enabled && row.shown)
            row.check->setVisible(shown);
}

QString TEditsPanel::valueText(const UISnmpVar& row) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(row.value))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(row.value))
        return combo->currentText();
    return {};
}
