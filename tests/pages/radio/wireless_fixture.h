#pragma once
// The wireless page against the simulated device: open it on a profile, choose in its combo boxes
// as the operator does, and read what the device received.
#include "pages/radio/wireless.h"
#include "platform/events.h"
#include "tests/support/device_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QTreeWidget>

namespace test {

class WirelessPage : public DeviceWindow {
protected:
    void TearDown() override {
        page.reset();
        DeviceWindow::TearDown();
    }

    // Starts the device on `profile` and opens the page; `flags` are capability fields set before
    // the page reads them.
    void open(const QString& profile, const QList<std::pair<const char*, QString>>& flags = {}) {
        start(profile);
        if (HasFatalFailure())
            return;
        settleFlags();
        holdCapabilityRefresh();
        for (const auto& [name, value] : flags)
            form->flagEdit(QString::fromLatin1(name))->setText(value);
        page = std::make_unique<TFM_Wirless>(form.get());
        page->show();
        sim->clearJournal();
    }
    // The capability flags the page reads arrive asynchronously after start-up: wait for them
    // (every profile answers the two waited for; the others come with them).
    void settleFlags() {
        QElapsedTimer clock;
        clock.start();
        while ((flag("ifMultiSSID_Edit").isEmpty() || flag("Ed_FwVer").isEmpty()) &&
               clock.elapsed() < 5000)
            platform::processPendingEvents();
        ASSERT_FALSE(flag("ifMultiSSID_Edit").isEmpty());
        clock.restart();
        while (clock.elapsed() < 200)
            platform::processPendingEvents();
    }
    void reopen() {
        page.reset();
        page = std::make_unique<TFM_Wirless>(form.get());
        page->show();
        sim->clearJournal();
    }

    // The operator picks an item: selection and the change handler, as a click does.
    static void choose(QComboBox* combo, const QString& text) {
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString() << " not in " << combo->objectName().toStdString();
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }

    // As sets(), with the remote AP addresses (six bytes) in hexadecimal digits.
    QStringList sent() const { return sets({QStringLiteral("2.2.1.2.1.")}); }
    QString status() const { return page->ui->StatusBar->currentMessage(); }
    static QString mib(const QString& tail) { return devMibOid(tail); }
    QString deviceValue(const QString& oid) const { return sim->value(oid)["value"].toString(); }
    // The value the device stores (a masked key's digits).
    QString storedValue(const QString& oid) const {
        const QJsonObject v = sim->value(oid);
        return (v.contains("pending") ? v["pending"] : v["active"]).toString();
    }
    static QStringList items(const QComboBox* combo) {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }

    std::unique_ptr<TFM_Wirless> page;
};

} // namespace test
