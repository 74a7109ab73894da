#pragma once
// Generic SNMP panels: a binding object shown without a form of its own.
//
// TSNMPPanel lays out a content area with the message memo under it (5-pixel splitter) and the
// column of command buttons on the right; the memo is the binding object's status output, so
// every failure of an exchange appears there as a status line. TSNMPEditorPanel fills the
// content with one row per variable (TEditsPanel) and writes the checked rows back.
#include <QSize>
#include <QWidget>

class QSplitter;
class QvSNMPRequest2Edits;
class TConfigForm;
class TCtrlBtnPanel;
class TEditsPanel;
class TMsgPanel;

class TSNMPPanel : public QWidget {
    Q_OBJECT
public:
    TSNMPPanel(TConfigForm* owner, QvSNMPRequest2Edits& request);

    QvSNMPRequest2Edits& request() const { return request_; }
    TCtrlBtnPanel* buttons() const { return buttons_; }
    TMsgPanel* messages() const { return messages_; }
    TConfigForm* ownerForm() const { return owner_; }
    // The size the panel needs to show its content, buttons and messages whole.
    virtual QSize neededSize() const = 0;

    // "Refresh": reads the variables again; a raised fault goes to the message area.
    void refresh();

protected:
    // Puts the content above the message area.
    void setContent(QWidget* content);
    // Gives the content its whole height above the message area.
    void fitContent(int contentHeight);

    QvSNMPRequest2Edits& request_;

private:
    TConfigForm* owner_;
    TCtrlBtnPanel* buttons_;
    TMsgPanel* messages_;
    QSplitter* client_;
};

class TSNMPEditorPanel : public TSNMPPanel {
    Q_OBJECT
public:
    TSNMPEditorPanel(TConfigForm* owner, QvSNMPRequest2Edits& request);

    TEditsPanel* edits() const { return edits_; }
    QSize neededSize() const override;
    void SetValueWidth(int width);

    // "Set Checked" (or "Set"): writes the checked rows; a checked row with an empty value
    // stops it with "Some items are empty!" before anything is sent.
    void setChecked();
    // "Check All" / "Clear Checks".
    void checkAll(bool checked);

private:
    // "Set Checked" is enabled exactly while a row is checked.
    void updateSetButton();

    TEditsPanel* edits_;
};
