#include "panels/snmp_panel.h"

#include "binding/request2edits.h"
#include "panels/config_form.h"
#include "panels/ctrl_btn_panel.h"
#include "panels/edits_panel.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>

namespace {
constexpr int kSplitterWidth = 5;
} // namespace

TSNMPPanel::TSNMPPanel(TConfigForm* owner, QvSNMPRequest2Edits& request)
    : QWidget(owner), request_(request), owner_(owner) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("Splitter"));
    split->setHandleWidth(kSplitterWidth);
    split->setChildrenCollapsible(false);
    client_ = new QSplitter(Qt::Vertical, split);
    client_->setObjectName(QStringLiteral("ClientPanel"));
    client_->setHandleWidth(kSplitterWidth);
    client_->setChildrenCollapsible(false);
    messages_ = new TMsgPanel(client_);
    buttons_ = new TCtrlBtnPanel(split);
    split->addWidget(client_);
    split->addWidget(buttons_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    layout->addWidget(split);

    connect(buttons_->button(TCtrlBtnPanel::Refresh), &QPushButton::clicked, this,
            &TSNMPPanel::refresh);
    connect(buttons_->button(TCtrlBtnPanel::Close), &QPushButton::clicked, this, [this] {
        try {
            owner_->close();
        } catch (...) {
            platform::message(QString(), QStringLiteral("Please initial close form"));
        }
    });
    request_.SetStatusOutput(messages_->memo());
}

void TSNMPPanel::setContent(QWidget* content) {
    client_->insertWidget(0, content);
    client_->setStretchFactor(0, 1);
    client_->setStretchFactor(1, 0);
}

void TSNMPPanel::fitContent(int contentHeight) {
    client_->setSizes({contentHeight, TMsgPanel::kHeight});
}

void TSNMPPanel::refresh() {
    try {
        request_.Refresh();
    } catch (const QvException& e) {
        request_.ReportStatus(e.text());
    }
}

TSNMPEditorPanel::TSNMPEditorPanel(TConfigForm* owner, QvSNMPRequest2Edits& request)
    : TSNMPPanel(owner, request) {
    setObjectName(QStringLiteral("EditorPanel"));
    edits_ = new TEditsPanel(this, request);
    setContent(edits_);

    TCtrlBtnPanel& b = *buttons();
    for (auto hidden : {TCtrlBtnPanel::Samples, TCtrlBtnPanel::Count, TCtrlBtnPanel::Edit,
                        TCtrlBtnPanel::Add, TCtrlBtnPanel::Delete})
        b.setShown(hidden, false);
    QPushButton* set = b.button(TCtrlBtnPanel::SetChecked);
    set->setEnabled(false);
    const int enabled = edits_->enabledCount();
    if (enabled == 0) {
        for (auto hidden :
             {TCtrlBtnPanel::SetChecked, TCtrlBtnPanel::CheckAll, TCtrlBtnPanel::ClearChecks})
            b.setShown(hidden, false);
    }
    if (enabled <= 1) {
        b.setShown(TCtrlBtnPanel::CheckAll, false);
        b.setShown(TCtrlBtnPanel::ClearChecks, false);
        set->setText(QStringLiteral("Set"));
        set->setAccessibleName(QStringLiteral("Set"));
        set->setEnabled(true);
        edits_->setAllChecked(true);
        if (edits_->checkedCount() <= 1)
            edits_->setChecksShown(false);
    }

    connect(set, &QPushButton::clicked, this, &TSNMPEditorPanel::setChecked);
    connect(b.button(TCtrlBtnPanel::CheckAll), &QPushButton::clicked, this,
            [this] { checkAll(true); });
    connect(b.button(TCtrlBtnPanel::ClearChecks), &QPushButton::clicked, this,
            [this] { checkAll(false); });
    connect(edits_, &TEditsPanel::checkClicked, this, &TSNMPEditorPanel::updateSetButton);
    fitContent(edits_->contentSize().height());
}

QSize TSNMPEditorPanel::neededSize() const {
    const QSize content = edits_->contentSize();
    const int width = content.width() + kSplitterWidth + TCtrlBtnPanel::kWidth;
    const int height =
        std::max(content.height() + kSplitterWidth + TMsgPanel::kHeight, buttons()->neededHeight());
    return {width, height};
}

void TSNMPEditorPanel::SetValueWidth(int width) {
    edits_->setValueWidth(width);
    fitContent(edits_->contentSize().height());
}

void TSNMPEditorPanel::updateSetButton() {
    buttons()->button(TCtrlBtnPanel::SetChecked)->setEnabled(edits_->checkedCount() > 0);
}

void TSNMPEditorPanel::checkAll(bool checked) {
    edits_->setAllChecked(checked);
    updateSetButton();
}

void TSNMPEditorPanel::setChecked() {
    QvSNMPVarList& vars = request_.vars;
    const quint8 savedMode = request_.mode;
    // The marks below are undone whatever happens: the list keeps its own access flags.
    std::vector<quint32> savedAccess;
    for (int i = 0; i < vars.count(); ++i)
        savedAccess.push_back(vars.item(i).access);
    const auto restore = [&] {
        for (int i = 0; i < vars.count(); ++i)
            vars.item(i).access = savedAccess[static_cast<size_t>(i)];
        request_.mode = savedMode;
    };
    try {
        request_.mode = QvSNMPRequest2Controls::synchronous;
        request_.CollectControls();
        const auto& rows = edits_->rows();
        bool empty = false;
        for (size_t i = 0; i < rows.size(); ++i) {
            const UISnmpVar& row = rows[i];
            if (!row.check->isChecked())
                vars.item(static_cast<int>(i)).access |= QvAccess::invalid;
            else if (TEditsPanel::valueText(row).isEmpty())
                empty = true;
        }
        if (empty)
            platform::message(QStringLiteral("Warning"), QStringLiteral("Some items are empty!"));
        else
            request_.Apply(false, false);
    } catch (const QvException& e) {
        request_.ReportStatus(e.text());
    }
    restore();
}
