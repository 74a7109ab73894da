#pragma once
// "Advanced\Rogue AP": the access point scans the air for other access points; the page shows
// what it found (the rogue AP list) and the access points the operator accepted (the AP list),
// moves entries from the first to the second, deletes entries, sets the scan filter and, where
// the device has it, rogue AP protection. One command at a time: each disables the commands
// until its answer (or the list read that follows) is in.
#include "pages/common/page.h"
#include "ui_rogue_ap.h"

#include <array>

class QLabel;

class TFM_RogueForm : public pages::FormPage<Ui::TFM_RogueForm> {
    Q_OBJECT
public:
    explicit TFM_RogueForm(QWidget* owner);

    static constexpr int kMaxAccepted = 30;

    // The filter's bit sets: bands 1 11a, 4 11b, 8 11g; security bit n for the n-th box (OFF,
    // WEP, then the six WPA kinds, which an Ad Hoc scan leaves out).
    static int bandBits(bool a, bool b, bool g);
    static int securityBits(const std::array<bool, 8>& boxes, bool adHoc);

    void FormCreate();
    void DetectBtnClick();
    void AddBtnClick();
    void DelBtnClick();
    void ListDelBtnClick();
    void Apply_BtnClick();
    bool FormCloseQuery() override;

    // No command outstanding, the opening's list reads included.
    bool idle() const { return idle_; }
    // The opening read the radio state and the filter: commands may be offered.
    bool opened() const { return opened_; }

private:
    std::array<QCheckBox*, 8> securityBoxes() const;
    std::array<QCheckBox*, 6> wpaBoxes() const;
    bool adHoc() const;
    void bandClicked();
    void securityClicked();
    void bssTypeClicked();
    void showFilter();
    void setCommands(bool enabled);
    void startCommand(const QString& status);
    void commandFailed(const QvSNMPError& e);
    void afterDetect(const QvSNMPError& e);
    void afterAdd(const QvSNMPError& e);
    void afterDeleteRogue(const QvSNMPError& e);
    void afterDeleteAccepted(const QvSNMPError& e);
    // Reads the rogue list, the AP list or both; the commands come back once every answer sent
    // for has been handled (a list stays busy until its answer has been).
    void readLists(bool rogue, bool accepted);
    void listRead(const QvSNMPError& e, bool accepted);
    void listsRead();
    bool radioOn() const;
    void status(const QString& text);
    void send(QvSNMPRequest2Edits* command);

    QLabel* panel_ = nullptr;
    QvSNMPRequest2Edits* radio_ = nullptr;
    QvSNMPRequest2Edits* filter_ = nullptr;
    QvSNMPRequest2Edits* detect_ = nullptr;
    QvSNMPRequest2Edits* add_ = nullptr;
    QvSNMPRequest2Edits* deleteRogue_ = nullptr;
    QvSNMPRequest2Edits* rogueTable_ = nullptr;
    QvSNMPRequest2Edits* deleteAccepted_ = nullptr;
    QvSNMPRequest2Edits* apTable_ = nullptr;
    QvSNMPRequest2Edits* support_ = nullptr;
    QvSNMPRequest2Edits* protection_ = nullptr;
    bool idle_ = false; // the opening's list reads are the first command
    bool opened_ = false;
    QvSNMPError readFailure_;
    bool acceptedRead_ = false;
};
