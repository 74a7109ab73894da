// What an operator types into constrained edits: keys one by one (Tab leaves an edit, Backspace
// deletes, ^V pastes the third part), with the checks that run while typing and on leaving.
// Input: the format, the keys and the clipboard text, separated by the record separator.
// clang wants QWidget complete where edit_constraint.h holds a QPointer<QWidget>.
#include <QWidget>

#include "binding/edit_constraint.h"
#include "snmplib/qv_exception.h"
#include "tests/fuzz/fuzz_support.h"

#include <memory>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace {
constexpr int kEdits = 3;
constexpr int kMaxKeys = 64;

bool allowedWhileTyping(char type, QChar c) {
    switch (type) {
    case 'u':
        return c.isDigit();
    case 'h':
        return c.isDigit() || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    default:
        return true;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::start();
    const QList<QByteArray> parts = fuzz::split(data, size, 3);
    const QString format = QString::fromUtf8(parts[0]);
    const int count = QvEditConstraint::EditCount(format);
    if (count < 1 || count > kEdits)
        return 0;

    QWidget window;
    auto* layout = new QVBoxLayout(&window); // owned by the window
    QList<QLineEdit*> edits;
    for (int i = 0; i < count; ++i) {
        edits << new QLineEdit(&window); // owned by the window
        layout->addWidget(edits.last());
    }
    QvEditConstraint constraint(&window, true);
    try {
        constraint.Attach(format, edits);
    } catch (const QvException& e) {
        KW_FUZZ_CHECK(e.code() == -2);
        return 0;
    }
    QGuiApplication::clipboard()->setText(QString::fromUtf8(parts[2]));
    window.show();
    window.activateWindow();
    edits[0]->setFocus();
    QCoreApplication::processEvents();

    bool pasted = false;
    const QString keys = QString::fromUtf8(parts[1]).left(kMaxKeys);
    for (const QChar key : keys) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : edits[0];
        if (key == u'\t')
            QTest::keyClick(target, Qt::Key_Tab);
        else if (key == u'\b')
            QTest::keyClick(target, Qt::Key_Backspace);
        else if (key == QChar(0x16)) {
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
            pasted = true;
        } else {
            // Any character, as a keyboard layout would deliver it (QTest's key tables know only
            // printable ASCII).
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(key));
            QCoreApplication::sendEvent(target, &press);
            QCoreApplication::sendEvent(target, &release);
        }
        QCoreApplication::processEvents();
    }
    // Characters typed one at a time that the type does not allow never stay.
    if (!pasted) {
        for (QLineEdit* edit : edits) {
            const _EditConstraint_s* record = constraint.Find(edit);
            KW_FUZZ_CHECK(record);
            for (const QChar c : edit->text())
                KW_FUZZ_CHECK(allowedWhileTyping(record->type, c));
        }
    }
    return 0;
}
