#pragma once
// "Advanced \ Performance": data rate, beacon interval, DTIM, fragment and RTS lengths, transmit
// power, Super G and radio of the 802.11g radio; the optional settings shown only where the
// device answers for them; the data-rate control with one state per rate (disabled, enabled or
// basic). The b/g mode decides which rates exist and which are always basic. A change takes
// effect by a restart on devices without save-and-activate.
#include "pages/common/page.h"
#include "ui_performance.h"

#include <array>
#include <QStringList>

class QComboBox;
class QLabel;

class TFM_Performace : public pages::FormPage<Ui::TFM_Performace> {
    Q_OBJECT
public:
    explicit TFM_Performace(QWidget* owner);

    void FormCreate();
    void Bt_Apply_aClick();
    void Bt_Refresh_aClick();
    void CB_SupModeaChange();
    void CB_BgModeChange();
    void CB_DtRtaChange();
    void CB_DateStatusChange();
    void BT_RDateRateClick();
    void Ed_BeIntaExit();
    void Ed_DTIMaExit();
    void Ed_FragLenaExit();
    void Ed_RTSaExit();

    bool dataRateControl() const;
    // The rate states as last read from the device's table (with the b/g mode's fixed values).
    const QStringList& storedRates() const { return storedRates_; }
    QLabel* ratePanel() const { return ratePanel_; }

private:
    struct Optional {
        QvSNMPRequest2Edits* request = nullptr;
        bool answered = false;
    };
    Optional optional(std::span<const QvSNMPVarDef> table, quint8 kind, QComboBox* list,
                      QLabel* label);
    void exitCheck(QLineEdit* field, void (TFM_Performace::*check)());
    QString bgMode() const;
    bool superGAtThird() const;
    bool rateControlDisabled() const;
    bool bridgeMode() const;
    void fillDataRates();
    void superGDataRates();
    void bgModeRule();
    void superGRule();
    void dataRateStatusRule();
    void rateItemsRule();
    void rateTableRead(const QvSNMPError& answer);
    QStringList fixedRates(QStringList rates, bool fromTable) const;
    bool writeRates(const QStringList& states);
    void setButtons(bool enabled);

    std::array<QComboBox*, 12> rateLists_{};
    std::array<QLabel*, 12> rateLabels_{};
    QStringList storedRates_;
    QLabel* ratePanel_ = nullptr;
    int rogue_ = 0;
    int turbo_ = 0;

    QvSNMPRequest2Edits* apMode_ = nullptr;
    Optional priority_, gOnly_, xr_, wmm_, preamble_, bgMode_, antenna_, snooping_;
    QvSNMPRequest2Edits* multiSsid_ = nullptr;
    QvSNMPRequest2Edits* autoScan_ = nullptr;
    QvSNMPRequest2Edits* superG_ = nullptr;
    QvSNMPRequest2Edits* radio_ = nullptr;
    QvSNMPRequest2Edits* support_ = nullptr;
    QvSNMPRequest2Edits* rateControl_ = nullptr;
    QvSNMPRequest2Edits* rates_ = nullptr;
    QvSNMPError rowWritten_;
    // The rate lists show the device's rows: its last read of the table succeeded.
    bool ratesRead_ = false;
    // A reset the device refused: its failure stays in view over the read that follows it.
    bool resetRefused_ = false;
};
