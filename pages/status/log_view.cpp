#include "pages/status/log_view.h"

#include "binding/list_view_rows.h"
#include "pages/transfer/device_file.h"
#include "pages/transfer/transfer_server.h"
#include "tables/log_view.h"

#include <QFile>
#include <QHeaderView>

namespace tlv = tables::log_view;

namespace {
constexpr char kLogFileName[] = "LogFile.RD";
// Per block: 5000 hundredths (50 s) to answer, three sends.
constexpr int kBlockTimeout = 5000;
constexpr int kBlockSends = 3;
} // namespace

TLogForm::TLogForm(QWidget* owner) : FormPage(owner) {
    setStatusOutput(ui->StatusBar1);
    qv::PrepareListView(*ui->ViewListView);
    ui->ViewListView->setHeaderLabels(
        {QStringLiteral("Time"), QStringLiteral("Type"), QStringLiteral("Message")});
    ui->ViewListView->setColumnWidth(0, 110);
    ui->ViewListView->setColumnWidth(1, 70);
    handle(ui->GetBtn, &QPushButton::clicked, &TLogForm::GetBtnClick);
    handle(ui->Clear_Btn, &QPushButton::clicked, &TLogForm::Clear_BtnClick);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &TLogForm::reject);

    // A server that cannot start tells the operator and closes this page, not the module.
    server_ = new pages::TransferServer(this, kBlockTimeout, kBlockSends, nullptr);
    file_ = new pages::DeviceFile(*server_, QString::fromLatin1(kLogFileName));
    connect(file_, &pages::DeviceFile::arrived, this, &TLogForm::showLog);
    connect(file_, &pages::DeviceFile::failed, this, &TLogForm::showFailure);
    guard([this] { FormCreate(); });
}

void TLogForm::FormCreate() {
    // The order's own failures are reported by the file it asks for.
    order_ = addRequest(tlv::kGetLog, {.kind = MVT_SV, .silent = true});
    pages::bind(*order_, {{tlv::kServerIp, ui->ServerEdit},
                          {tlv::kFileName, ui->FileNameEdit},
                          {tlv::kGet, ui->GetCoBox}});
    order_->Refresh();
    clear_ = addRequest(tlv::kClearLog, {.status = ui->StatusBar1});
    pages::bind(*clear_, {{tlv::kClear, ui->Bt_Clear}});
    clear_->Refresh();
}

std::optional<TLogForm::Row> TLogForm::parseLine(QString line) {
    if (line.endsWith(u'\r'))
        line.chop(1);
    if (line.trimmed().isEmpty())
        return std::nullopt;
    Row row;
    const qsizetype tab = line.indexOf(u'\t');
    row.time = tab < 0 ? QString() : line.left(tab).trimmed();
    const QString rest = tab < 0 ? line : line.mid(tab + 1);
    const qsizetype open = rest.indexOf(u'[');
    const qsizetype close = open < 0 ? -1 : rest.indexOf(u']', open + 1);
    if (close < 0) {
        row.message = rest;
        return row;
    }
    row.type = rest.mid(open + 1, close - open - 1);
    row.message = rest.mid(close + 1);
    return row;
}

void TLogForm::GetBtnClick() {
    if (!order_)
        return;
    ui->FileNameEdit->setText(file_->name());
    ui->GetCoBox->setCurrentText(QStringLiteral("get"));
    if (file_->request(*order_, ui->ServerEdit))
        ui->GetBtn->setEnabled(false); // until the log has arrived or the wait has ended
}

void TLogForm::showLog(const QString& path) {
    ui->GetBtn->setEnabled(true);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return showFailure(file.errorString());
    ui->LBLog->clear();
    while (!file.atEnd())
        ui->LBLog->addItem(QString::fromUtf8(file.readLine()).remove(u'\n'));
    ui->ViewListView->clear();
    for (int i = 0; i < ui->LBLog->count(); ++i) {
        const auto row = parseLine(ui->LBLog->item(i)->text());
        if (row)
            new QTreeWidgetItem(ui->ViewListView, {row->time, row->type, row->message});
    }
    pages::showStatus(ui->StatusBar1, QString());
}

void TLogForm::showFailure(const QString& reason) {
    ui->GetBtn->setEnabled(true);
    pages::showStatus(ui->StatusBar1, reason);
}

void TLogForm::Clear_BtnClick() {
    if (!clear_)
        return;
    ui->Bt_Clear->setCurrentText(QStringLiteral("clear"));
    if (pages::apply(*clear_))
        ui->ViewListView->clear();
}
