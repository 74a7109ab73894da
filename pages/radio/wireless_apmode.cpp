// The operating mode on the wireless page: the AP-mode selector and the layout it implies, the
// remote access points of the bridge modes, the root access point of the repeater and client
// modes, and the site survey.
#include "pages/common/edit_state.h"
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

const QString kZeroMac = QStringLiteral("000000000000");

template <class W> W* make(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

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

void TFM_Wirless::buildApModeControls() {
    QWidget* a = TS_11a;
    GroupBox1 = make<QGroupBox>(a, "GroupBox1", 5, 128, 580, 134);
    GroupBox1->setTitle(QStringLiteral(" WDS with AP "));
    Label11 = make<QLabel>(GroupBox1, "Label11", 10, 20, 200, 18);
    Label11->setText(QStringLiteral("Remote AP MAC Address"));
    for (int i = 0; i < tw::kRemoteMacs; ++i) {
        const QByteArray name = "Ed_ReMAddra" + QByteArray::number(i);
        Ed_ReMAddra[i] = make<QLineEdit>(GroupBox1, name.constData(), 10 + 142 * (i % 4),
                                         45 + 32 * (i / 4), 110, 21);
        Ed_ReMAddra[i]->setAccessibleName(QStringLiteral("Remote AP MAC Address %1").arg(i + 1));
    }
    Label11->setBuddy(Ed_ReMAddra[0]);

    GroupBox2 = make<QGroupBox>(a, "GroupBox2", 5, 127, 580, 68);
    GroupBox2->setTitle(QStringLiteral(" AP Repeater  "));
    Ed_RoMAddra0 = make<QLineEdit>(GroupBox2, "Ed_RoMAddra0", 170, 18, 110, 21);
    Ed_CRoMAddra0 = make<QLineEdit>(GroupBox2, "Ed_CRoMAddra0", 170, 18, 110, 21);
    Ed_CRoMAddra0->hide();
    Label12 = make<QLabel>(GroupBox2, "Label12", 10, 20, 150, 18);
    Label12->setText(QStringLiteral("Root AP MAC Address  "));
    Label12->setBuddy(Ed_RoMAddra0);
    Ed_RoMAddra0->setAccessibleName(QStringLiteral("Root AP MAC Address"));
    Ed_SSID = make<QLineEdit>(GroupBox2, "Ed_SSID", 170, 42, 200, 21);
    Label13 = make<QLabel>(GroupBox2, "Label13", 10, 44, 150, 18);
    Label13->setText(QStringLiteral("SSID"));
    Label13->setBuddy(Ed_SSID);
    Ed_SSID->setAccessibleName(QStringLiteral("SSID"));

    GroupBox3 = make<QGroupBox>(a, "GroupBox3", 5, 267, 580, 120);
    GroupBox3->setTitle(QStringLiteral(" Site Survey "));
    SiteScan = make<QPushButton>(GroupBox3, "SiteScan", 10, 22, 70, 25);
    SiteScan->setText(QStringLiteral("Scan"));
    SiteScan->setAutoDefault(false);
    SiteServeyListView = make<QTreeWidget>(GroupBox3, "SiteServeyListView", 90, 16, 480, 98);
    SiteServeyListView->setRootIsDecorated(false);
    SiteServeyListView->setAccessibleName(QStringLiteral("Site Survey"));
    SiteServeyListView->header()->setMinimumSectionSize(0); // hidden columns have width 0
    SiteServeyListView->header()->setStretchLastSection(false);
    SiteScanComboBox = make<QComboBox>(GroupBox3, "SiteScanComboBox", 0, 0, 10, 10);
    SiteScanComboBox->hide();

    for (QGroupBox* box : {GroupBox1, GroupBox2, GroupBox3})
        box->hide();
    connect(SiteScan, &QPushButton::clicked, this, &TFM_Wirless::SiteScanClick);
    connect(SiteServeyListView, &QTreeWidget::itemClicked, this,
            &TFM_Wirless::SiteServeyListViewClick);
}

// --- Lists ---

void TFM_Wirless::buildApModeList() {
    apMode_ = addRequest(tw::kApModeList, {.kind = MVT_SV});
    apMode_->BindComboBox(0, ED_APModeComboBox);
    for (int i = 0; i < tw::kRemoteMacs; ++i)
        apMode_->BindFormat(1 + i, "%h", Ed_ReMAddra[i]);
    apMode_->OnAfterSet = [this] { macDisplayRule(); };
    apMode_->Refresh();
}

void TFM_Wirless::buildSurveyLists() {
    surveyTrigger_ = addRequest(tw::kSurveyTriggerList);
    surveyTrigger_->mode = QvSNMPRequest2Controls::asynchronous;
    surveyTrigger_->timeout = 5000;
    surveyTrigger_->BindComboBox(0, SiteScanComboBox);
    surveyTrigger_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& answer) {
        onSurveyTriggerDone(answer);
    };

    surveyTable_ = addRequest<New_req2Edit>(tw::kSurveyTable, {.kind = MVT_UMV, .keyCount = 1});
    surveyTable_->timeout = 1000;
    surveyTable_->watchedIndex = tw::kSurveySupportWds;
    surveyTable_->skipText = QStringLiteral("0");
    surveyTable_->AttachListView(SiteServeyListView, true);
    surveyTable_->OnAfterGet = [this] {
        surveyIdle = true;
        SiteScan->setEnabled(true);
        for (int c = 1; c < tw::kSurveySupportWds; ++c)
            SiteServeyListView->resizeColumnToContents(c);
        SiteServeyListView->setColumnWidth(0, 0);
        SiteServeyListView->setColumnWidth(tw::kSurveySupportWds, 0);
        StatusPanel->setText(QStringLiteral("Get complete."));
    };
}

// --- Selector and layout ---

void TFM_Wirless::apModeSelectorFill() {
    const int mask = apModeMask_;
    const bool wdsNames = mask >= 32;
    ED_APModeTempComboBox->clear();
    if (mask & 16)
        ED_APModeTempComboBox->addItem(QStringLiteral("Access Point"));
    if (mask & (8 | 4))
        ED_APModeTempComboBox->addItem(wdsNames ? QStringLiteral("WDS with AP")
                                                : QStringLiteral("PtP Bridge"));
    if (mask & (64 | 32))
        ED_APModeTempComboBox->addItem(wdsNames ? QStringLiteral("WDS")
                                                : QStringLiteral("PtMP Bridge"));
    if (mask & 2)
        ED_APModeTempComboBox->addItem(QStringLiteral("AP Repeater"));
    if (mask & 1)
        ED_APModeTempComboBox->addItem(QStringLiteral("AP Client"));

    // The item carrying the device's own mode wins; the bridge modes are otherwise shown under
    // the WDS names.
    const QString device = ED_APModeComboBox->currentText();
    int i = device.isEmpty() ? -1 : ED_APModeTempComboBox->findText(device);
    if (i < 0) {
        if (device == QLatin1String("PtP Bridge") || device == QLatin1String("PtMP Bridge"))
            i = ED_APModeTempComboBox->findText(QStringLiteral("WDS with AP"));
        else if (device == QLatin1String("PtP Without") || device == QLatin1String("P2MP Without"))
            i = ED_APModeTempComboBox->findText(QStringLiteral("WDS"));
    }
    ED_APModeTempComboBox->setCurrentIndex(i);
}

// What the visible selection means, whatever its position in the list.
int TFM_Wirless::modeSlot() const {
    const QString text = ED_APModeTempComboBox->currentText();
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
    return ED_APModeComboBox->currentIndex();
}

void TFM_Wirless::ED_APModeTempComboBoxtestChange() {
    if (!fullLayout)
        return;
    // 1. The device mode behind the visible one.
    const QString text = ED_APModeTempComboBox->currentText();
    const QString device = text == QLatin1String("WDS with AP") ? QStringLiteral("PtMP Bridge")
                           : text == QLatin1String("WDS")       ? QStringLiteral("P2MP Without")
                                                                : text;
    ED_APModeComboBox->setCurrentIndex(ED_APModeComboBox->findText(device));
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
    if (modeSlot() >= threshold && CB_MultEnable->currentText() == QLatin1String("Enable"))
        platform::message(QStringLiteral("Warning"), text);
}

void TFM_Wirless::modeLayout() {
    const int slot = modeSlot();
    const auto placeSecurity = [this](int authTop, int comboTop) {
        Authentication->move(Authentication->x(), authTop);
        Ed_SecAutha->move(Ed_SecAutha->x(), comboTop);
        Ed_SecAuthaTemp->move(Ed_SecAuthaTemp->x(), comboTop);
    };
    const auto placeBoxes = [this](int top) {
        for (QGroupBox* box : {GroupBox4, GroupBox5, GroupBox6, GroupBox7})
            box->move(box->x(), top);
    };
    // Access-point arrangement below the authentication selector at `top`.
    const auto apArrangement = [&](int authTop, int comboTop) {
        placeSecurity(authTop, comboTop);
        GroupBox2->hide();
        GroupBox3->hide();
        placeBoxes(authTop + 17);
        placeButtonsBelow(authTop + 193, authTop + 197, authTop + 274);
    };
    if (slot == 0) {
        Label1->show();
        Ed_SSIDa->show();
        GroupBox1->hide();
        apArrangement(132, 128);
    } else if (slot == 1 || slot == 2) {
        Label1->show();
        Ed_SSIDa->show();
        GroupBox1->setTitle(slot == 1 ? QStringLiteral(" WDS with AP ")
                                      : QStringLiteral(" WDS without AP "));
        GroupBox1->show();
        GroupBox2->hide();
        if (wdsSite_ == 1) {
            GroupBox3->move(GroupBox3->x(), 267);
            GroupBox3->show();
            placeSecurity(395, 392);
            placeBoxes(413);
            placeButtonsBelow(589, 593, 670);
        } else {
            apArrangement(272, 268);
        }
    } else if (slot == 3 || slot == 4) {
        Label1->hide();
        Ed_SSIDa->hide();
        GroupBox1->hide();
        GroupBox2->move(GroupBox2->x(), 127);
        GroupBox2->setTitle(slot == 3 ? QStringLiteral(" AP Repeater ")
                                      : QStringLiteral(" AP Client "));
        GroupBox2->show();
        GroupBox3->move(GroupBox3->x(), 199);
        GroupBox3->show();
        placeSecurity(328, 324);
        placeBoxes(345);
        placeButtonsBelow(521, 525, 602);
        pages::setWritable(Ed_RoMAddra0, slot == 3);
        pages::setWritable(Ed_SSID, slot == 4);
    }

    if (slot >= 0)
        fillAuthenticationItems(slot);

    // Channels: automatic scan only for an access point; a client follows its root AP.
    if (slot == 0) {
        if (autoScanSupported)
            autoScan_->Refresh();
        CB_AuScChange();
        CB_AuSc->setEnabled(true);
    } else if (slot >= 1) {
        CB_AuSc->setChecked(false);
        CB_AuSc->setEnabled(false);
        CB_Chana->setEnabled(slot != 4);
    }
    fillPskCipherItems(slot);
    if (turbo_ == 0)
        mirrorSuperMode();
}

// --- Remote addresses ---

void TFM_Wirless::macDisplayRule() {
    for (QLineEdit* e : Ed_ReMAddra) {
        if (e->text() == kZeroMac)
            e->clear();
    }
    for (QLineEdit* e : {Ed_RoMAddra0, Ed_CRoMAddra0}) {
        if (e->text() == kZeroMac)
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
    pages::setWritable(Ed_RoMAddra0, mode == Repeater);
    pages::setWritable(Ed_CRoMAddra0, mode == Client);
    pages::setWritable(Ed_SSID, mode == Client);
}

bool TFM_Wirless::duplicateCheck() {
    for (int i = tw::kRemoteMacs - 1; i >= 1; --i) {
        const QString mine = Ed_ReMAddra[i]->text().toUpper();
        if (mine.isEmpty() || mine == kZeroMac)
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
                Ed_ReMAddra[i]->setText(kZeroMac);
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
        if (Ed_RoMAddra0->text().isEmpty())
            return pages::refuse(QStringLiteral("Please input MAC address in blank space!"), error,
                                 Ed_RoMAddra0);
        if (Ed_RoMAddra0->text().size() != 12)
            return pages::refuse(rootLength, error);
        return true;
    case Client:
        if (Ed_SSID->text().isEmpty())
            return pages::refuse(QStringLiteral("Please input the SSID."), warning, Ed_SSID);
        if (Ed_SSID->text().startsWith(QLatin1Char(' ')))
            return pages::refuse(QStringLiteral("The first character can't be blank."), error,
                                 Ed_SSID);
        return true;
    default:
        return true;
    }
}

// --- Site survey ---

void TFM_Wirless::SiteScanClick() {
    SiteScanComboBox->setCurrentIndex(SiteScanComboBox->findText(QStringLiteral("refresh")));
    surveyIdle = false;
    SiteScan->setEnabled(false);
    SiteServeyListView->clear();
    SiteServeyListView->setColumnWidth(0, 0);
    StatusBar->clearMessage();
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
        SiteScan->setEnabled(true);
        StatusPanel->setText(QStringLiteral("Site survey : ") + answer.text);
        return;
    }
    StatusPanel->setText(QStringLiteral("Site survey success,please wait ..."));
    surveyTable_->rowNumber = 1;
    surveyTable_->Refresh();
    // However the read ended, the scan is over.
    surveyIdle = true;
    SiteScan->setEnabled(true);
}

void TFM_Wirless::SiteServeyListViewClick() {
    const QTreeWidgetItem* row = SiteServeyListView->currentItem();
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
