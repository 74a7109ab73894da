#pragma once
// The content of an editor panel: one row per variable of a binding object (check box, name,
// value control) in a scroll box.
#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QCheckBox;
class QLabel;
class QScrollArea;
class QvSNMPRequest2Edits;

// One row. Kinds: 1 not settable, no option list (edit); 2 settable, no option list (edit);
// 3 settable with an option list (combo box); 4 not settable with an option list (edit).
struct UISnmpVar {
    int kind = 1;
    QString format;
    QWidget* value = nullptr; // QLineEdit or QComboBox
    QCheckBox* check = nullptr;
    QLabel* name = nullptr;
    const void* bits = nullptr; // bit layout: none in this module
    bool enabled = false;       // the operator may check and set the row
    bool shown = true;          // hidden variables have no place in the layout
};

class TEditsPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultValueWidth = 121;
    static constexpr int kMaxEditLength = 42;

    // Builds and binds one row per variable of the request's list.
    TEditsPanel(QWidget* parent, QvSNMPRequest2Edits& request);

    const std::vector<UISnmpVar>& rows() const { return rows_; }
    int enabledCount() const;
    int checkedCount() const;
    // Checks or unchecks every enabled row.
    void setAllChecked(bool checked);
    // The width of every value control; the rows are laid out again.
    void setValueWidth(int width);
    int valueWidth() const { return valueWidth_; }
    // Shows or hides the check boxes of the enabled rows.
    void setChecksShown(bool shown);
    // The text the row's value control shows.
    static QString valueText(const UISnmpVar& row);
    // The rows' area: 40 pixels beyond the lowest and rightmost value control.
    QSize contentSize() const { return contentSize_; }
    // The rows whole: what a splitter gives the panel at first.
    QSize sizeHint() const override { return contentSize_; }

    bool defaultChecked = false;
    QColor disabledText = Qt::black;
    QColor disabledBackground;

signals:
    // The operator checked or unchecked a box, however (binding/operator_choice.h).
    void checkClicked();

private:
    void addRow(int index);
    void layOut();

    QvSNMPRequest2Edits& request_;
    QScrollArea* scroll_;
    QWidget* box_;
    std::vector<UISnmpVar> rows_;
    int valueWidth_ = kDefaultValueWidth;
    QSize contentSize_;
};
