#pragma once
// The two small panels of a generic SNMP panel: the column of command buttons on its right and
// the message area (a memo) under its content.
#include <array>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// Command buttons, top to bottom, 96 pixels wide and 10 pixels from the left; each visible one
// 5 pixels below the previous. The first two entries are a counter and its caption.
class TCtrlBtnPanel : public QWidget {
    Q_OBJECT
public:
    enum Control {
        Count,   // sunken static text "0"
        Samples, // label "Samples"
        Refresh,
        Edit,
        SetChecked, // "Set Checked", or "Set" for a single writable row
        Add,
        Delete,
        CheckAll,
        ClearChecks,
        Close,
        ControlCount
    };
    static constexpr int kWidth = 116; // two margins of 10 around the buttons
    static constexpr int kButtonWidth = 96;
    static constexpr int kMargin = 10;
    static constexpr int kSpacing = 5;

    explicit TCtrlBtnPanel(QWidget* parent);

    QWidget* control(Control which) const { return controls_[which]; }
    // One of the buttons (Refresh .. Close).
    QPushButton* button(Control which) const;
    void setShown(Control which, bool shown);
    // Places the visible controls again, in their fixed order.
    void layOut();
    // Height the visible controls need.
    int neededHeight() const;

private:
    std::array<QWidget*, ControlCount> controls_{};
};

// A 50-pixel-high panel filled by a read-only memo: where the binding object's failures go.
class TMsgPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 50;
    explicit TMsgPanel(QWidget* parent);
    QPlainTextEdit* memo() const { return memo_; }

private:
    QPlainTextEdit* memo_;
};
