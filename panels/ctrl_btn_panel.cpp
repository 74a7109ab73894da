#include "panels/ctrl_btn_panel.h"

#include "platform/paths.h"

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct ControlDef {
    const char* name;
    const char* caption;
    const char* bitmap; // glyph file in the working directory; null for the two texts
};

constexpr ControlDef kControls[TCtrlBtnPanel::ControlCount] = {
    {"La_Count", "0", nullptr},
    {"La_Samples", "Samples", nullptr},
    {"Bt_Refresh", "Refresh", "\\Get.bmp"},
    {"Bt_Edit", "Edit", "\\Set.bmp"},
    {"Bt_SetChecked", "Set Checked", "\\SetCheck.bmp"},
    {"Bt_Add", "Add", "\\Add.bmp"},
    {"Bt_Delete", "Delete", "\\Delete.bmp"},
    {"Bt_CheckAll", "Check All", "\\SelectAll.bmp"},
    {"Bt_ClearChecks", "Clear Checks", "\\SelectNone.bmp"},
    {"Bt_Close", "Close", "\\Close.bmp"},
};

constexpr int kTextHeight = 21;

// A glyph file beside the working directory replaces the caption; one that cannot be read
// leaves the button as it was.
void useGlyph(QPushButton& button, const char* bitmap) {
    const QString path = platform::localPath(QDir::currentPath() + QString::fromLatin1(bitmap));
    if (!platform::fileExists(path))
        return;
    const QPixmap glyph(path);
    if (glyph.isNull())
        return;
    button.setText(QString());
    button.setIcon(glyph);
    button.setIconSize(glyph.size());
}

} // namespace

TCtrlBtnPanel::TCtrlBtnPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CtrlBtnPanel"));
    setFixedWidth(kWidth);
    for (int i = 0; i < ControlCount; ++i) {
        const ControlDef& def = kControls[i];
        const QString caption = QString::fromLatin1(def.caption);
        QWidget* control = nullptr;
        if (def.bitmap == nullptr) {
            auto* label = new QLabel(caption, this);
            label->setAlignment(Qt::AlignCenter);
            if (i == Count)
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            control = label;
        } else {
            auto* button = new QPushButton(caption, this);
            button->setAccessibleName(caption); // also when a glyph takes the caption's place
            button->setAutoDefault(false);
            useGlyph(*button, def.bitmap);
            control = button;
        }
        control->setObjectName(QString::fromLatin1(def.name));
        controls_[static_cast<size_t>(i)] = control;
    }
    setShown(Add, false);
    setShown(Delete, false);
    layOut();
}

QPushButton* TCtrlBtnPanel::button(Control which) const {
    return qobject_cast<QPushButton*>(controls_[which]);
}

void TCtrlBtnPanel::setShown(Control which, bool shown) {
    controls_[which]->setHidden(!shown);
    layOut();
}

void TCtrlBtnPanel::layOut() {
    int y = kMargin;
    for (QWidget* control : controls_) {
        if (control->isHidden())
            continue;
        const int height = qobject_cast<QPushButton*>(control)
                               ? qMax(kTextHeight + 4, control->sizeHint().height())
                               : kTextHeight;
        control->setGeometry(kMargin, y, kButtonWidth, height);
        y += height + kSpacing;
    }
}

int TCtrlBtnPanel::neededHeight() const {
    int bottom = kMargin;
    for (const QWidget* control : controls_)
        if (!control->isHidden())
            bottom = qMax(bottom, control->geometry().bottom() + 1);
    return bottom + kMargin;
}

TMsgPanel::TMsgPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MsgPanel"));
    setFixedHeight(kHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo"));
    memo_->setAccessibleName(QStringLiteral("Messages"));
    memo_->setReadOnly(true);
    layout->addWidget(memo_);
}
