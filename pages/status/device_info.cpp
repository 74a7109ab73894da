#include "pages/status/device_info.h"

#include "app/menu_rules.h"
#include "app/module_texts.h"
#include "snmplib/qv_exception.h"
#include "tables/device_info.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>

namespace tdi = tables::device_info;

namespace {
constexpr int kMargin = 8;
constexpr int kLeftWidth = 440;
constexpr int kTabWidth = 250;
// Without the "AP Status" box the two other boxes sit this much lower.
constexpr int kApBoxShift = 40;

// A read-only edit in the button-face colour.
QLineEdit* field(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    edit->setPalette(palette);
    return edit;
}

QLabel* caption(QWidget* parent, const char* name, const char* text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QGroupBox* group(QWidget* parent, const char* name, const char* title) {
    auto* box = new QGroupBox(QString::fromLatin1(title), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A labelled field on its own row of a grid.
QLineEdit* row(QGridLayout& grid, int r, const char* labelName, const char* text,
               const char* fieldName) {
    QWidget* parent = grid.parentWidget();
    QLineEdit* edit = field(parent, fieldName);
    grid.addWidget(caption(parent, labelName, text, edit), r, 0);
    grid.addWidget(edit, r, 1);
    return edit;
}
} // namespace

TFM_DevInfo::TFM_DevInfo(QWidget* owner) : Page(owner) {
    setObjectName(QStringLiteral("FM_DevInfo"));
    setWindowTitle(QStringLiteral("Status \\ Device Info"));
    buildControls();
    FormCreate();
}

void TFM_DevInfo::buildControls() {
    GroupBox2 = group(this, "GroupBox2", "Device Info");
    {
        auto* grid = new QGridLayout(GroupBox2);
        Ed_Firmware = row(*grid, 0, "Label13", "Firmware Version:", "Ed_Firmware");
        Ed_Mac = row(*grid, 1, "Label14", "Primary MAC Address:", "Ed_Mac");
        Ed_SecFirstMac = field(GroupBox2, "Ed_SecFirstMac");
        Ed_SecSecMac = field(GroupBox2, "Ed_SecSecMac");
        // The range reads "first ~ last"; each end is announced with the caption.
        Ed_SecSecMac->setAccessibleName(QStringLiteral("Secondary MAC Address, last"));
        // Room for twelve hex digits each.
        const int macWidth =
            Ed_SecFirstMac->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")) + 12;
        Ed_SecFirstMac->setMinimumWidth(macWidth);
        Ed_SecSecMac->setMinimumWidth(macWidth);
        auto* range = new QHBoxLayout;
        range->addWidget(Ed_SecFirstMac);
        range->addWidget(caption(GroupBox2, "Label24", "~"));
        range->addWidget(Ed_SecSecMac);
        grid->addWidget(caption(GroupBox2, "Label23", "Secondary MAC Address:", Ed_SecFirstMac), 2,
                        0);
        grid->addLayout(range, 2, 1);
        grid->setColumnStretch(1, 1);
    }
    GroupBox1 = group(this, "GroupBox1", "Ethernet ");
    {
        auto* grid = new QGridLayout(GroupBox1);
        Ed_GetIP = row(*grid, 0, "Label15", "Get IP From:", "Ed_GetIP");
        Ed_IPaddr = row(*grid, 1, "Label16", "IP Address: ", "Ed_IPaddr");
        Ed_SubMask = row(*grid, 2, "Label17", "Subnet Mask:", "Ed_SubMask");
        Ed_Gate = row(*grid, 3, "Label18", "Gateway: ", "Ed_Gate");
        grid->setColumnStretch(1, 1);
    }
    GB_AP = group(this, "GB_AP", "AP Status");
    {
        auto* grid = new QGridLayout(GB_AP);
        Ed_Cpu = row(*grid, 0, "Label19", "CPU Utilization:", "Ed_Cpu");
        grid->addWidget(caption(GB_AP, "Label21", "%"), 0, 2);
        Ed_Memory = row(*grid, 1, "Label20", "Memory Utilization:", "Ed_Memory");
        grid->addWidget(caption(GB_AP, "Label22", "%"), 1, 2);
        Ed_ApStatusSupport = field(GB_AP, "Ed_ApStatusSupport");
        Ed_ApStatusSupport->hide();
        grid->setColumnStretch(1, 1);
    }

    PC_WirlessTraffic = new QTabWidget(this);
    PC_WirlessTraffic->setObjectName(QStringLiteral("PC_WirlessTraffic"));
    TabSheetA = new QWidget;
    TabSheetA->setObjectName(QStringLiteral("TabSheetA"));
    {
        auto* grid = new QGridLayout(TabSheetA);
        Ed_SSIDa = row(*grid, 0, "Label1", "Service Set ID", "Ed_SSIDa");
        Ed_Channela = row(*grid, 1, "Label2", "Channel", "Ed_Channela");
        Ed_SupModusa = row(*grid, 2, "Label3", "Super G Mode", "Ed_SupModusa");
        Ed_SupModa = field(TabSheetA, "Ed_SupModa");
        Ed_SupModa->hide();
        Ed_DatRata = row(*grid, 3, "Label4", "Data Rate", "Ed_DatRata");
        Ed_SecLevAutha = row(*grid, 4, "Label5", "Authentication", "Ed_SecLevAutha");
        Ed_SecLevPria = row(*grid, 5, "Label6", "Privacy", "Ed_SecLevPria");
        grid->setRowStretch(6, 1);
        Bt_Refa = new QPushButton(QStringLiteral("Refresh"), TabSheetA);
        Bt_Refa->setObjectName(QStringLiteral("Bt_Refa"));
        Bt_Refa->setAutoDefault(false);
        grid->addWidget(Bt_Refa, 7, 1, Qt::AlignRight);
        grid->setColumnStretch(1, 1);
    }
    PC_WirlessTraffic->addTab(TabSheetA, QString());
    // The design's second radio tab: this module manages radio instance 1 only.
    auto* tabSheetB = new QWidget;
    tabSheetB->setObjectName(QStringLiteral("TabSheetB"));
    PC_WirlessTraffic->addTab(tabSheetB, QString());
    PC_WirlessTraffic->setTabVisible(1, false);
    connect(Bt_Refa, &QPushButton::clicked, this, &TFM_DevInfo::Bt_RefaClick);
    Bt_Refa->setFocus(); // the one control to act on; the fields are read-only

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);

    // Fixed places, as designed: the left column of boxes beside the radio tab.
    const auto place = [](QWidget* w, int x, int y, int width) {
        w->setGeometry(x, y, width, w->sizeHint().height());
    };
    place(GroupBox2, kMargin, kMargin, kLeftWidth);
    place(GroupBox1, kMargin, GroupBox2->geometry().bottom() + 1 + kMargin, kLeftWidth);
    place(GB_AP, kMargin, GroupBox1->geometry().bottom() + 1 + kMargin, kLeftWidth);
    const int columnBottom = GB_AP->geometry().bottom() + 1;
    const int tabLeft = kMargin + kLeftWidth + kMargin;
    PC_WirlessTraffic->setGeometry(tabLeft, kMargin, kTabWidth, columnBottom - kMargin);
    const int barHeight = StatusBar->sizeHint().height();
    StatusBar->setGeometry(0, columnBottom + kMargin, tabLeft + kTabWidth + kMargin, barHeight);
    setFixedSize(tabLeft + kTabWidth + kMargin, columnBottom + kMargin + barHeight);
}

QString TFM_DevInfo::secondaryMac(const QString& primary, int n) {
    static const QRegularExpression kMac(QStringLiteral("^[0-9A-Fa-f]{12}$"));
    if (!kMac.match(primary).hasMatch())
        return {};
    return QStringLiteral("04") + primary.at(2) + QString::number(n) + primary.mid(4);
}

bool TFM_DevInfo::apStatusSupported() const {
    return app::flagNumber(Ed_ApStatusSupport->text()) == 1;
}

void TFM_DevInfo::FormCreate() {
    try {
        PC_WirlessTraffic->setTabText(0, QString::fromLatin1(app::kBandName));
        radio_ = addRequest(tdi::kRadio, MVT_SV, 0, StatusBar);
        radio_->BindFormat(0, "%s", Ed_SSIDa);
        radio_->BindFormat(1, "%s", Ed_Channela);
        radio_->BindFormat(2, "%s", Ed_SupModa);
        radio_->BindFormat(3, "%s", Ed_DatRata);
        radio_->BindFormat(4, "%s", Ed_SecLevAutha);
        radio_->BindFormat(5, "%s", Ed_SecLevPria);
        radio_->Refresh();
        showSuperMode();

        device_ = addRequest(tdi::kDevice);
        const QList<QLineEdit*> deviceEdits{Ed_Firmware, Ed_Mac,     Ed_GetIP,
                                            Ed_IPaddr,   Ed_SubMask, Ed_Gate};
        for (int i = 0; i < deviceEdits.size(); ++i)
            device_->BindFormat(i, "%s", deviceEdits[i]);
        device_->Refresh();
        Ed_SecFirstMac->setText(secondaryMac(Ed_Mac->text(), 1));
        Ed_SecSecMac->setText(secondaryMac(Ed_Mac->text(), 7));

        support_ = addRequest(tdi::kSupport);
        // Only a capability: a device without the object simply has no load figures.
        support_->silentFailures = true;
        support_->BindFormat(0, "%s", Ed_ApStatusSupport);
        support_->Refresh();
        if (apStatusSupported()) {
            GB_AP->show();
            load_ = addRequest(tdi::kLoad);
            load_->mode = 1;
            load_->BindFormat(0, "%s", Ed_Cpu);
            load_->BindFormat(1, "%s", Ed_Memory);
            load_->Refresh();
        } else {
            GB_AP->hide();
            GroupBox2->move(GroupBox2->x(), GroupBox2->y() + kApBoxShift);
            GroupBox1->move(GroupBox1->x(), GroupBox1->y() + kApBoxShift);
        }
    } catch (const QvException& e) {
        pages::showStatus(StatusBar, e.text());
    }
}

void TFM_DevInfo::showSuperMode() {
    const QString mode = Ed_SupModa->text();
    const QString disabled = QStringLiteral("Disabled");
    if (pages::flagText("ED_Turbomode") == QStringLiteral("0"))
        Ed_SupModusa->setText(mode == disabled ? disabled : QStringLiteral("Enabled"));
    else if (Ed_Channela->text() != QStringLiteral("6") && mode != disabled)
        Ed_SupModusa->setText(QStringLiteral("Super G without Turbo")); // turbo on channel 6 only
    else
        Ed_SupModusa->setText(mode);
}

void TFM_DevInfo::Bt_RefaClick() {
    try {
        if (apStatusSupported() && load_)
            load_->Refresh();
        radio_->Refresh();
    } catch (const QvException& e) {
        pages::showStatus(StatusBar, e.text());
    }
}
