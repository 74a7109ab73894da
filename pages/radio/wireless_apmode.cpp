// The operating mode on the wireless page: the AP-mode selector and the layout it implies, the
// remote access points of the bridge modes, the root access point of the repeater and client
// modes, and the site survey.
#include "pages/common/edit_state.h"
#include "pages/common/mac_text.h"
#include "pages/radio/wireless.h"
#include "platform/prompter.h"
#include "tables/wireless.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

namespace tw = tables::wireless;

namespace {

// Device modes by their index in the AP-mode option list.
enum DeviceMode {
    AccessPoint = 0,
    PtpBridge = 1,
    PtmpBridge = 2,
    Repeater = 3,
    Client = 4,
    PtpWithout = 5,
    P2mpWithout = 6,
};

} // namespace

// --- Lists ---

void TFM_Wirless::buildApModeList() {
    apMode_ = addRequest(tw::kApModeList, {.kind = MVT_SV});
    apMode_->BindComboBox(0, ui->ED_APModeComboBox);
    for (int i = 0; i < tw::kRemoteMacs; ++i)
        apMode_->BindFormat(1 + i, "%h", Ed_ReMAddra[i]);
    apMode_->OnAfterSet = [this] { macDisplayRule(); };
    apMode_->Refresh();
}

void TFM_Wirless::buildSurveyLists() {
    surveyTrigger_ = addRequest(tw::kSurveyTriggerList);
    surveyTrigger_->mode = QvSNMPRequest2Controls::asynchronous;
    surveyTrigger_->timeout = 5000;
    surveyTrigger_->BindComboBox(0, ui->SiteScanComboBox);
    surveyTrigger_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& answer) {
        onSurveyTriggerDone(answer);
    };

    surveyTable_ = addRequest<New_req2Edit>(tw::kSurveyTable, {.kind = MVT_UMV, .keyCount = 1});
    surveyTable_->timeout = 1000;
    surveyTable_->watchedIndex = tw::kSurveySupportWds;
    surveyTable_->skipText = QStringLiteral("0");
    surveyTable_->AttachListView(ui->SiteServeyListView, true);
    surveyTable_->OnAfterGet = [this] {
        surveyIdle = true;
        ui->SiteScan->setEnabled(true);
        for (int c = 1; c < tw::kSurveySupportWds; ++c)
            ui->SiteServeyListView->resizeColumnToContents(c);
        ui->SiteServeyListView->setColumnHidden(0, true);
        ui->SiteServeyListView->setColumnHidden(tw::kSurveySupportWds, true);
        StatusPanel->setText(QStringLiteral("Get complete."));
    };
}

// --- Selector and layout ---

void TFM_Wirless::apModeSelectorFill() {
    const int mask = apModeMask_;
    const bool wdsNames = mask >= 32;
    ui->ED_APModeTempComboBox->clear();
    if (mask & 16)
        ui->ED_APModeTempComboBox->addItem(QStringLiteral("Access Point"));
    if (mask & (8 | 4))
        ui->ED_APModeTempComboBox->addItem(wdsNames ? QStringLiteral("WDS with AP")
                                                    : QStringLiteral("PtP Bridge"));
    if (mask & (64 | 32))
        ui->ED_APModeTempComboBox->addItem(wdsNames ? QStringLiteral("WDS")
                                                    : QStringLiteral("PtMP Bridge"));
    if (mask & 2)
        ui->ED_APModeTempComboBox->addItem(QStringLiteral("AP Repeater"));
    if (mask & 1)
        ui->ED_APModeTempComboBox->addItem(QStringLiteral("AP Client"));

    // The item carrying the device's own mode wins; the bridge modes are otherwise shown under
    // the WDS names.
    const QString device = ui->ED_APModeComboBox->currentText();
    int i = device.isEmpty() ? -1 : ui->ED_APModeTempComboBox->findText(device);
    if (i < 0) {
        if (device == QLatin1String("PtP Bridge") || device == QLatin1String("PtMP Bridge"))
            i = ui->ED_APModeTempComboBox->findText(QStringLiteral("WDS with AP"));
        else if (device == QLatin1String("PtP Without") || device == QLatin1String("P2MP Without"))
            i = ui->ED_APModeTempComboBox->findText(QStringLiteral("WDS"));
    }
    ui->ED_APModeTempComboBox->setCurrentIndex(i);
}

// What the visible selection means, whatever its position in the list.
int TFM_Wirless::modeSlot() const {
    const QString text = ui->ED_APModeTempComboBox->currentText();
    if (text == QLatin1String("Access Point"))
        return 0;
    if (text == QLatin1String("WDS with AP") || text == QLatin1String("PtP Bridge"))
        return 1;
    if (text == QLatin1String("WDS") || text == QLatin1String("PtMP Bridge"))
        return 2;
    if (text == QLatin1String("AP Repeater"))
        return 3;
    if (text == QLatin1String("AP Client"))
        return 4;
    return -1;
}

int TFM_Wirless::deviceMode() const {
    return ui->ED_APModeComboBox->currentIndex();
}

void TFM_Wirless::ED_APModeTempComboBoxtestChange() {
    if (!fullLayout)
        return;
    // 1. The device mode behind the visible one.
    const QString text = ui->ED_APModeTempComboBox->currentText();
    const QString device = text == QLatin1String("WDS with AP") ? QStringLiteral("PtMP Bridge")
                           : text == QLatin1String("WDS")       ? QStringLiteral("P2MP Without")
                                                                : text;
    ui->ED_APModeComboBox->setCurrentIndex(ui->ED_APModeComboBox->findText(device));
    // 2.
    modeLayout();
    macDisplayRule();
    securitySectionRule();
    // 3.
    multiSsidModeWarning();
}

void TFM_Wirless::multiSsidModeWarning() {
    QString text;
    int threshold = 0;
    const QString apOnly = QStringLiteral(
        "If AP Mode is not \"Access Point\",\nThe Multi-SSID should be set to \"Disabled\".");
    if (newMulti_ == 1 && mssidAndWds_ == 1) {
        text = QStringLiteral("If AP Mode is not \"Access Point,WDS with AP\",\nThe Multi-SSID "
                              "should be set to \"Disabled\".");
        threshold = 2;
    } else if (newMulti_ == 1 || newMulti_ == 0) {
        text = apOnly;
        threshold = 1;
    } else {
        return;
    }
    if (modeSlot() >= threshold && ui->CB_MultEnable->currentText() == QLatin1String("Enable"))
        platform::message(QStringLiteral("Warning"), text);
}

void TFM_Wirless::modeLayout() {
    // The form stacks the WDS, repeater and survey boxes above the security settings; each mode
    // shows the ones it uses and the layout closes up over the others.
    const int slot = modeSlot();
    if (slot == 0) {
        ui->Label1->show();
        ui->Ed_SSIDa->show();
        ui->GroupBox1->hide();
        ui->GroupBox2->hide();
        ui->GroupBox3->hide();
    } else if (slot == 1 || slot == 2) {
        ui->Label1->show();
        ui->Ed_SSIDa->show();
        ui->GroupBox1->setTitle(slot == 1 ? QStringLiteral(" WDS with AP ")
                                          : QStringLiteral(" WDS without AP "));
        ui->GroupBox1->show();
        ui->GroupBox2->hide();
        ui->GroupBox3->setVisible(wdsSite_ == 1);
    } else if (slot == 3 || slot == 4) {
        ui->Label1->hide();
        ui->Ed_SSIDa->hide();
        ui->GroupBox1->hide();
        ui->GroupBox2->setTitle(slot == 3 ? QStringLiteral(" AP Repeater ")
                                          : QStringLiteral(" AP Client "));
        ui->GroupBox2->show();
        ui->GroupBox3->show();
        pages::setWritable(ui->Ed_RoMAddra0, slot == 3);
        pages::setWritable(ui->Ed_SSID, slot == 4);
    }

    if (slot >= 0)
        fillAuthenticationItems(slot);

    // Channels: automatic scan only for an access point; a client follows its root AP.
    if (slot == 0) {
        if (autoScanSupported)
            autoScan_->Refresh();
        CB_AuScChange();
        ui->CB_AuSc->setEnabled(true);
    } else if (slot >= 1) {
        ui->CB_AuSc->setChecked(false);
        ui->CB_AuSc->setEnabled(false);
        ui->CB_Chana->setEnabled(slot != 4);
    }
    fillPskCipherItems(slot);
    if (turbo_ == 0)
        mirrorSuperMode();
}

// --- Remote addresses ---

void TFM_Wirless::macDisplayRule() {
    for (QLineEdit* e : Ed_ReMAddra) {
        if (e->text() == pages::kFreeMac)
            e->clear();
    }
    for (QLineEdit* e : {ui->Ed_RoMAddra0, ui->Ed_CRoMAddra0}) {
        if (e->text() == pages::kFreeMac)
            e->clear();
    }
    readOnlyRule();
}

void TFM_Wirless::readOnlyRule() {
    const int mode = deviceMode();
    if (mode < 0)
        return;
    const bool pointToPoint = mode == PtpBridge || mode == PtpWithout;
    const bool pointToMulti = mode == PtmpBridge || mode == P2mpWithout;
    pages::setWritable(Ed_ReMAddra[0], pointToPoint || pointToMulti);
    for (int i = 1; i < tw::kRemoteMacs; ++i)
        pages::setWritable(Ed_ReMAddra[i], pointToMulti);
    pages::setWritable(ui->Ed_RoMAddra0, mode == Repeater);
    pages::setWritable(ui->Ed_CRoMAddra0, mode == Client);
    pages::setWritable(ui->Ed_SSID, mode == Client);
}

bool TFM_Wirless::duplicateCheck() {
    for (int i = tw::kRemoteMacs - 1; i >= 1; --i) {
        const QString mine = Ed_ReMAddra[i]->text().toUpper();
        if (mine.isEmpty() || mine == pages::kFreeMac)
            continue;
        for (int j = 0; j < i; ++j) {
            if (Ed_ReMAddra[j]->text().toUpper() == mine)
                return pages::refuse(QStringLiteral("Exist same MAC address."),
                                     QStringLiteral("Warning"), Ed_ReMAddra[i]);
        }
    }
    return true;
}

bool TFM_Wirless::modeCheck() {
    QvSNMPVarList& macs = apMode_->vars;
    QvSNMPVarList& radio = radio_->vars;
    for (int i = 1; i <= tw::kRemoteMacs; ++i)
        macs.item(i).access = QvAccess::invalid;
    radio.item(tw::kRadioSsid).access = QvAccess::invalid;
    const auto writeSsid = [&] { radio.item(tw::kRadioSsid).access = QvAccess::readwrite; };
    const QString warning = QStringLiteral("Warning");
    const QString error = QStringLiteral("Error");
    const QString firstBlank = QStringLiteral("Please input MAC address in first blank space!");
    const QString rootLength =
        QStringLiteral("The length is 12 in IEEE802.11g Root AP MAC Address.");

    switch (deviceMode()) {
    case AccessPoint:
        writeSsid();
        return true;
    case PtpBridge:
    case PtpWithout:
        if (Ed_ReMAddra[0]->text().isEmpty())
            return pages::refuse(firstBlank, warning, Ed_ReMAddra[0]);
        if (Ed_ReMAddra[0]->text().size() != 12)
            return pages::refuse(rootLength, error);
        macs.item(1).access = QvAccess::readwrite;
        writeSsid();
        return true;
    case PtmpBridge:
    case P2mpWithout:
        if (Ed_ReMAddra[0]->text().isEmpty())
            return pages::refuse(firstBlank, warning, Ed_ReMAddra[0]);
        for (int i = 1; i < tw::kRemoteMacs; ++i) {
            if (Ed_ReMAddra[i]->text().isEmpty())
                Ed_ReMAddra[i]->setText(pages::kFreeMac);
        }
        for (int i = 0; i < tw::kRemoteMacs; ++i) {
            if (Ed_ReMAddra[i]->text().size() != 12) {
                if (i == 0)
                    Ed_ReMAddra[0]->clear();
                return pages::refuse(QStringLiteral("The length is 12 in IEEE802.11g MAC address."),
                                     error);
            }
        }
        for (int i = 1; i <= tw::kRemoteMacs; ++i)
            macs.item(i).access = QvAccess::readwrite;
        writeSsid();
        return true;
    case Repeater:
        if (ui->Ed_RoMAddra0->text().isEmpty())
            return pages::refuse(QStringLiteral("Please input MAC address in blank space!"), error,
                                 ui->Ed_RoMAddra0);
        if (ui->Ed_RoMAddra0->text().size() != 12)
            return pages::refuse(rootLength, error);
        return true;
    case Client:
        if (ui->Ed_SSID->text().isEmpty())
            return pages::refuse(QStringLiteral("Please input the SSID."), warning, ui->Ed_SSID);
        if (ui->Ed_SSID->text().startsWith(QLatin1Char(' ')))
            return pages::refuse(QStringLiteral("The first character can't be blank."), error,
                                 ui->Ed_SSID);
        return true;
    default:
        return true;
    }
}

// --- Site survey ---

void TFM_Wirless::SiteScanClick() {
    ui->SiteScanComboBox->setCurrentIndex(
        ui->SiteScanComboBox->findText(QStringLiteral("refresh")));
    surveyIdle = false;
    ui->SiteScan->setEnabled(false);
    ui->SiteServeyListView->clear();
    ui->SiteServeyListView->setColumnHidden(0, true);
    ui->StatusBar->clearMessage();
    StatusPanel->setText(QStringLiteral("Scan..."));
    // A trigger that cannot even be sent ends the scan at once, so the page can still close.
    QvSNMPError refused;
    surveyTrigger_->onComplete = [&refused](const QvSNMPError& e) { refused = e; };
    const bool sent = surveyTrigger_->Apply(true, true);
    surveyTrigger_->onComplete = nullptr;
    if (!sent) {
        if (refused.code == 0)
            refused.code = -1;
        onSurveyTriggerDone(refused);
    }
}

void TFM_Wirless::onSurveyTriggerDone(const QvSNMPError& answer) {
    if (answer.code != 0) {
        surveyIdle = true;
        ui->SiteScan->setEnabled(true);
        StatusPanel->setText(QStringLiteral("Site survey : ") + answer.text);
        return;
    }
    StatusPanel->setText(QStringLiteral("Site survey success,please wait ..."));
    surveyTable_->rowNumber = 1;
    surveyTable_->Refresh();
    // However the read ended, the scan is over.
    surveyIdle = true;
    ui->SiteScan->setEnabled(true);
}

void TFM_Wirless::SiteServeyListViewClick() {
    const QTreeWidgetItem* row = ui->SiteServeyListView->currentItem();
    if (!row)
        return;
    const QString bssid = row->text(tw::kSurveyBssidColumn).toUpper();
    for (QLineEdit* e : Ed_ReMAddra) {
        if (e->text().toUpper() == bssid)
            return platform::message(QStringLiteral("Warning"),
                                     QStringLiteral("The same MAC address has been added!"));
    }
    for (QLineEdit* e : Ed_ReMAddra) {
        if (e->text().isEmpty()) {
            e->setText(bssid);
            return;
        }
    }
}
