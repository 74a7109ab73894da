// Every window the menus offer, on every shipped profile of the simulated device: each item the
// menus show is chosen as the operator chooses it (the menus' rules decide what they show when
// they open), and the window it opens must come up with the device's values, with no failure in
// any of its status outputs and no message box.
#include "pages/page_list.h"
#include "snmplib/messages.h"
#include "tests/support/page_opening.h"
#include "tests/support/qt_printers.h"
#include "tests/support/transfer_fixture.h"
#include "transfer/tftp_msg.h"

#include <cstdio>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <utility>
#include <vector>

namespace {

// The profiles the simulator ships, by name.
std::vector<QString> shippedProfiles() {
    std::vector<QString> names;
    for (QString file : QDir(kwtest::sourceDir() + "/device/profiles")
                            .entryList({"*.profile"}, QDir::Files, QDir::Name)) {
        file.chop(QStringLiteral(".profile").size());
        names.push_back(file);
    }
    return names;
}

// The texts failures are reported with, each up to its first placeholder: every library code
// but success, the edit-constraint and expression messages but their "Ok!", the TFTP failures.
QStringList failureTexts() {
    QStringList texts;
    const auto add = [&](const QString& text) {
        const QString stem = text.section(u'[', 0, 0).trimmed();
        if (!stem.isEmpty() && !stem.endsWith(QLatin1String("Ok!")))
            texts << stem;
    };
    constexpr std::pair<int, int> kCodeRanges[] = {
        {-119, -101}, {-217, -201}, {-314, -301}, {-423, -401}, {-528, -501}};
    for (const auto& [first, last] : kCodeRanges)
        for (int code = first; code <= last; ++code)
            add(qv::codeText(code));
    for (int entry = 0; entry < 19; ++entry)
        add(qv::messageText(qv::MessageTable::Common, entry));
    for (int code = qv::tftp::kCanceled; code <= qv::tftp::kUndefinedError; ++code)
        add(qv::tftp::statusText(code));
    return texts;
}

// What the window's status outputs show: status bars (simple text and panels) and memos.
QStringList statusTexts(const QDialog& window) {
    QStringList out;
    for (const QStatusBar* bar : window.findChildren<QStatusBar*>()) {
        out << bar->currentMessage();
        for (const QLabel* panel : bar->findChildren<QLabel*>())
            out << panel->text();
    }
    for (const QPlainTextEdit* memo : window.findChildren<QPlainTextEdit*>())
        out << memo->toPlainText().split(u'\n');
    out.removeAll(QString());
    return out;
}

class MenuPages : public test::TransferWindow, public ::testing::WithParamInterface<QString> {
protected:
    void SetUp() override {
        TransferWindow::SetUp();
        app::setPageFactories(pages::all());
    }
    void TearDown() override {
        app::setPageFactories({});
        TransferWindow::TearDown();
    }
};

TEST_P(MenuPages, EveryItemOpensItsWindowWithTheDevicesValues) {
    const test::Turn turn = &kwtest::SimDevice::waitUntil;
    start(GetParam());
    ASSERT_TRUE(waitFor([&] { return !form->probing(); }));
    ASSERT_TRUE(test::holdMainWindow(*form, turn));
    const QStringList failures = failureTexts();
    const QList<QAction*> items = test::shownMenuItems(*form);
    ASSERT_FALSE(items.isEmpty());

    int chosen = 0, passed = 0;
    QStringList skipped;
    for (QAction* item : items) {
        const QString name = item->objectName();
        // Save and Active, Discard Changes: commands to the device, not windows.
        if (item->parent() == form->menu(QStringLiteral("Configration1"))) {
            skipped << name;
            continue;
        }
        SCOPED_TRACE(name.toStdString() + " \"" + item->text().toStdString() + "\"");
        ++chosen;
        prompter.shown.clear();
        QString window;
        bool values = false;
        QStringList shownFailures;
        QString stillUnderWay; // what kept an opening from ending
        const test::Chosen result = test::chooseMenuItem(*item, turn, [&](QDialog& w) {
            window = QString::fromLatin1(w.metaObject()->className());
            values = test::showsDeviceValues(w, turn);
            if (!values) {
                const auto* kitPage = qobject_cast<const pages::Page*>(&w);
                stillUnderWay =
                    QStringLiteral("%1 exchange(s) outstanding, page %2")
                        .arg(qv::pendingExchanges())
                        .arg(kitPage && kitPage->exchangesOutstanding() ? QStringLiteral("busy")
                                                                        : QStringLiteral("idle"));
            }
            for (const QString& text : statusTexts(w))
                for (const QString& failure : failures)
                    if (text.contains(failure)) {
                        shownFailures << text;
                        break;
                    }
        });
        EXPECT_TRUE(result.opened) << "no window opened";
        EXPECT_TRUE(values) << window.toStdString() << ": its opening did not end ("
                            << stillUnderWay.toStdString() << ")";
        EXPECT_EQ(shownFailures, QStringList()) << window.toStdString();
        EXPECT_EQ(prompter.texts(), QStringList()) << window.toStdString();
        EXPECT_TRUE(result.closed) << window.toStdString() << ": would not close";
        if (result.opened && values && result.closed && shownFailures.isEmpty() &&
            prompter.shown.isEmpty())
            ++passed;
    }
    std::printf("[ figures  ] profile %s: %d menu items chosen, %d passed; not chosen: %s\n",
                qPrintable(GetParam()), chosen, passed, qPrintable(skipped.join(", ")));
}

INSTANTIATE_TEST_SUITE_P(Shipped, MenuPages, ::testing::ValuesIn(shippedProfiles()),
                         [](const ::testing::TestParamInfo<QString>& info) {
                             return QString(info.param).replace(u'-', u'_').toStdString();
                         });

} // namespace
