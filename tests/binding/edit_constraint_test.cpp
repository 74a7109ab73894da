#include "binding/edit_constraint.h"

#include "binding/edit_hooks.h"
#include "snmplib/qv_exception.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_prompter.h"

#include <cfloat>
#include <gtest/gtest.h>
#include <memory>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

const QString kBadFormat = QStringLiteral("(QvCommon) Bad format specifier of edit's constraint!");

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A shown, active window with a row of edits and the constraint of a binding object.
class Form {
public:
    explicit Form(int edits, bool rememberAccepted = true)
        : window(std::make_unique<QWidget>()),
          constraint(std::make_unique<QvEditConstraint>(window.get(), rememberAccepted)) {
        auto* layout = new QVBoxLayout(window.get());
        for (int i = 0; i < edits; ++i) {
            auto* e = new QLineEdit(window.get());
            e->setObjectName(QStringLiteral("Ed_%1").arg(i));
            layout->addWidget(e);
            this->edits.append(e);
        }
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QLineEdit* operator[](int i) const { return edits[i]; }

    // Focus on the edit as if the operator had clicked into it.
    void enter(int i) {
        edits[i]->setFocus(Qt::MouseFocusReason);
        settle();
    }
    // Types into whichever widget has the focus, one key at a time.
    static void type(const QString& keys) {
        for (const QChar c : keys) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, c.toLatin1());
            settle();
        }
    }
    // The operator leaves the focused edit with Tab.
    static void tab() {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, Qt::Key_Tab);
        settle();
    }
    int focused() const { return static_cast<int>(edits.indexOf(QApplication::focusWidget())); }

    std::unique_ptr<QWidget> window;
    std::unique_ptr<QvEditConstraint> constraint;
    QList<QLineEdit*> edits;
};

// --- Formats ------------------------------------------------------------------------------

struct PieceCase {
    const char* piece;
    char type;
    QChar delimiter;
    double minimum;
    double maximum;
    int maxLength;
    int options;
    QChar exitKey;
    int width;
};

constexpr int A = _EditConstraint_s::JumpWhenFull;
constexpr int F = _EditConstraint_s::FixedLength;
constexpr int N = _EditConstraint_s::NotEmpty;

TEST(EditConstraintFormat, PiecesGiveTypeBoundsLengthFlagsExitKeyAndWidth) {
    const PieceCase cases[] = {
        {"%s", 's', {}, 0, 0, 0, 0, {}, 0},
        {"%h", 'h', {}, 0, 0, 0, 0, {}, 0},
        {"%u", 'u', {}, 0, 4294967295.0, 0, 0, {}, 0},
        {"%i", 'i', {}, -2147483648.0, 2147483647.0, 0, 0, {}, 0},
        {"%f", 'f', {}, DBL_MIN, DBL_MAX, 0, 0, {}, 0},
        {"%n.", 'n', '.', 0, 4294967295.0, 0, 0, {}, 0},
        {"%u{n1x65535}", 'u', {}, 1, 65535, 0, 0, {}, 0},
        {"%u{n300x9999999}", 'u', {}, 300, 9999999, 0, 0, {}, 0},
        {"%s{l8f}", 's', {}, 0, 0, 8, F, {}, 0},
        {"%n.{n0x255l4f}", 'n', '.', 0, 255, 4, F, {}, 0},
        {"%n,{l3afn}", 'n', ',', 0, 4294967295.0, 3, A | F | N, {}, 0},
        {"%h{l12na}", 'h', {}, 0, 0, 12, A | N, {}, 0},
        {"%u{e.}", 'u', {}, 0, 4294967295.0, 0, 0, '.', 0},
        {"%u{n0x255l3ae.}", 'u', {}, 0, 255, 3, A, '.', 0},
        {"%f{n-1.5x2.25w80}", 'f', {}, -1.5, 2.25, 0, 0, {}, 80},
        {"%u{}", 'u', {}, 0, 4294967295.0, 0, 0, {}, 0},
        {"%i{ex}", 'i', {}, -2147483648.0, 2147483647.0, 0, 0, 'x', 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.piece);
        const _EditConstraint_s r = QvEditConstraint::ParsePiece(QString::fromLatin1(c.piece));
        EXPECT_EQ(r.type, c.type);
        EXPECT_EQ(r.delimiter, c.delimiter);
        EXPECT_DOUBLE_EQ(r.minimum, c.minimum);
        EXPECT_DOUBLE_EQ(r.maximum, c.maximum);
        EXPECT_EQ(r.maxLength, c.maxLength);
        EXPECT_EQ(r.options, c.options);
        EXPECT_EQ(r.exitKey, c.exitKey);
        EXPECT_EQ(r.width, c.width);
        EXPECT_TRUE(r.acceptedText.isEmpty());
    }
}

TEST(EditConstraintFormat, BadPiecesRaiseTheFormatErrorWithCodeMinus2) {
    const char* cases[] = {
        "",                 // nothing
        "%",                // one character
        "u",                // no "%"
        "%x",               // unknown type
        "%n",               // list without delimiter
        "%u.",              // text after the type that is not a block
        "%u{n1x65535",      // block not closed
        "%u{n1}x",          // block does not end the piece
        "%u{q}",            // unknown option
        "%u{l}",            // length without digits
        "%u{w}",            // width without digits
        "%u{n}",            // minimum without number
        "%u{x}",            // maximum without number
        "%u{n1-2}",         // not a number
        "%u{e}",            // exit key without character
        "%n.{l4fn0x255}",   // f and n are flags of l: "0" is an unknown option
        "%u{l4n1x5}",       // likewise: n after the digits is the flag
        "%u{l99999999999}", // length beyond any edit
    };
    for (const char* piece : cases) {
        SCOPED_TRACE(piece);
        try {
            QvEditConstraint::ParsePiece(QString::fromLatin1(piece));
            ADD_FAILURE() << "no exception";
        } catch (const QvException& e) {
            EXPECT_EQ(e.code(), -2);
            EXPECT_EQ(e.text(), kBadFormat);
        }
    }
}

TEST(EditConstraintFormat, FormatsSplitIntoOnePiecePerEdit) {
    struct Case {
        const char* format;
        QStringList pieces;
        int edits;
    };
    const Case cases[] = {
        {"%u", {"%u"}, 1},
        {"%u{n0x255}%u{n0x255}", {"%u{n0x255}", "%u{n0x255}"}, 2},
        {"%n.{l4}%s%h", {"%n.{l4}", "%s", "%h"}, 3},
        {"%u{n1}x%s", {"%u{n1}x", "%s"}, 2}, // the "x" belongs to the first piece (and breaks it)
        {"%q%u", {"%q", "%u"}, 1},           // "%q" takes no edit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(QvEditConstraint::SplitFormat(QString::fromLatin1(c.format)), c.pieces);
        EXPECT_EQ(QvEditConstraint::EditCount(QString::fromLatin1(c.format)), c.edits);
    }
}

TEST(EditConstraintFormat, AttachTouchesNoEditWhenAnyPieceOrTheEditCountIsWrong) {
    QWidget owner;
    QLineEdit a(&owner), b(&owner);
    QvEditConstraint constraint(&owner, true);
    struct Case {
        const char* format;
        QList<QLineEdit*> edits;
    };
    const Case cases[] = {
        {"%u{n0x255}%u{q}", {&a, &b}}, // second piece bad
        {"%u%u", {&a}},                // more pieces than edits
        {"%u", {&a, &b}},              // more edits than pieces
        {"%u.%u", {&a, &b}},           // first piece bad
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_THROW(constraint.Attach(QString::fromLatin1(c.format), c.edits), QvException);
        EXPECT_EQ(constraint.Find(&a), nullptr);
        EXPECT_EQ(constraint.Find(&b), nullptr);
    }
    constraint.Attach(QStringLiteral("%u{n0x255}%s{l8w120}"), {&a, &b});
    ASSERT_NE(constraint.Find(&a), nullptr);
    ASSERT_NE(constraint.Find(&b), nullptr);
    EXPECT_EQ(constraint.Find(&a)->maximum, 255);
    EXPECT_EQ(constraint.Find(&b)->maxLength, 8);
    EXPECT_EQ(b.width(), 120);
    EXPECT_EQ(QvEditHooks::of(b).maxLength(), 8);
    // QLineEdit's own limit stays off: it would cut the device's texts.
    EXPECT_EQ(b.maxLength(), QLineEdit().maxLength());
}

// --- Checks when the operator leaves an edit -----------------------------------------------

struct CheckCase {
    const char* piece;
    const char* text;
    const char* message; // empty: the text passes
};

TEST(EditConstraintCheck, TextsPassOrGiveTheirCommonMessage) {
    const CheckCase cases[] = {
        // numbers and their ranges
        {"%u{n1x65535}", "70000", "(QvCommon) Please enter a number between 1 and 65535!"},
        {"%u{n1x65535}", "0", "(QvCommon) Please enter a number between 1 and 65535!"},
        {"%u{n1x65535}", "1", ""},
        {"%u{n1x65535}", "65535", ""},
        {"%u{n1x65535}", "", ""}, // empty is allowed without the 'n' flag
        {"%u{n1x65535}", "(NULL)", ""},
        {"%u{n1x65535}", "(NOTDONE)", ""},
        {"%u{n300x9999999}", "299", "(QvCommon) Please enter a number between 300 and 9999999!"},
        {"%u{n1x5}", "3abc", ""}, // the leading number counts
        {"%u", "99999999999999999999999999",
         "(QvCommon) Please enter a number between 0 and "
         "4294967295!"},
        {"%u", "-1", "(QvCommon) Please enter a number between 0 and 4294967295!"},
        {"%i", "-2147483649",
         "(QvCommon) Please enter a number between -2147483648 and "
         "2147483647!"},
        {"%i", "-2147483648", ""},
        {"%f", "0",
         "(QvCommon) Please enter a number between 2.2250738585072e-308 and "
         "1.79769313486232e+308!"},
        {"%f", "0.5", ""},
        {"%f{n-1x1.5}", "-0.25", ""},
        {"%f{n-1x1.5}", "1.75", "(QvCommon) Please enter a number between -1 and 1.5!"},
        // lengths of texts and hex strings
        {"%s{l8f}", "abcdefgh", ""},
        {"%s{l8f}", "abcdefg", "(QvCommon) Please enter a string whose length is 8!"},
        {"%s{l8f}", "abcdefghi", "(QvCommon) Please enter a string whose length is 8!"},
        {"%s{l8}", "abcdefgh", ""},
        {"%s{l8}", "abcdefghi", "(QvCommon) Please enter a string whose length is less than 8!"},
        {"%h{l4f}", "abc", "(QvCommon) Please enter a hex string whose length is 4!"},
        {"%h{l4}", "abcde", "(QvCommon) Please enter a hex string whose length is less than 4!"},
        {"%s{l8f}", "", ""},
        // empty not allowed
        {"%s{l0n}", "", "(QvCommon) Empty value is not allowed!"},
        {"%u{l5n}", "", "(QvCommon) Empty value is not allowed!"},
        {"%s{l0n}", "x", ""},
        // delimited number lists
        {"%n.{n0x255l4f}", "192.168.0.1", ""},
        {"%n.{n0x255l4f}", "192.168.0",
         "(QvCommon) Please enter a delimited number string with delimiter '.'.\n"
         "Here,the count of the number is equal to 4!"},
        {"%n.{n0x255l4f}", "300.1.1.1",
         "(QvCommon) Please enter a delimited number string with delimiter '.'.\n"
         "Here,each number is between 0 and 255!"},
        {"%n.{l4}", "1.2.3.4.5",
         "(QvCommon) Please enter a delimited number string with delimiter '.'.\n"
         "Here,the count of the number is less than 4!"},
        {"%n.{l4}", "1.2.3", ""},
        {"%n,{n1x10}", "1,10.5", // 10.5 rounds to 11
         "(QvCommon) Please enter a delimited number string with delimiter ','.\n"
         "Here,each number is between 1 and 10!"},
        {"%n,{n1x10}", "1,9.5", ""},
        {"%n.", "4294967296.1", // beyond 32 bits is out of every range
         "(QvCommon) Please enter a delimited number string with delimiter '.'.\n"
         "Here,each number is between 0 and 4294967295!"},
        {"%n.{n0.4x2.6}", "4", // bounds rounded to integers
         "(QvCommon) Please enter a delimited number string with delimiter '.'.\n"
         "Here,each number is between 0 and 3!"},
        {"%s", "anything at all", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.piece) + " / " + c.text);
        const _EditConstraint_s r = QvEditConstraint::ParsePiece(QString::fromLatin1(c.piece));
        EXPECT_EQ(QvEditConstraint::CheckText(r, QString::fromLatin1(c.text)),
                  QString::fromLatin1(c.message));
    }
}

// --- Number lists ---------------------------------------------------------------------------

TEST(NumList, ReadsCountsDigitsFractionsAndOtherCharacters) {
    struct Case {
        const char* text;
        char delimiter;
        std::vector<unsigned int> numbers;
        bool clamped;
    };
    const Case cases[] = {
        {"", '.', {}, false},
        {"7", '.', {7}, false},
        {"192.168.0.1", '.', {192, 168, 0, 1}, false},
        {"1..2", '.', {1, 0, 2}, false}, // an empty number is 0
        {"1,", ',', {1, 0}, false},
        {"1,2.5,3.49", ',', {1, 3, 3}, false}, // fractions round to the nearest integer
        {"0.5", ',', {1}, false},
        {"a", '.', {49}, false}, // 'a' is 97: a digit worth 49
        {"4294967295", '.', {4294967295u}, false},
        {"4294967296", '.', {4294967295u}, true},
        {" 1", '.', {0}, true}, // ' ' is worth -16: below 0
        {"99999999999999999999999999999999", '.', {4294967295u}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QvNumList<unsigned int> list(QString::fromLatin1(c.text), QLatin1Char(c.delimiter));
        EXPECT_EQ(list.Count(), static_cast<int>(c.numbers.size()));
        EXPECT_EQ(list.Numbers(), c.numbers);
        EXPECT_EQ(list.Clamped(), c.clamped);
    }
    QvNumList<unsigned int> reused;
    EXPECT_EQ(reused.Delimiter(), QLatin1Char('.'));
    reused.Parse(QStringLiteral("4294967296"));
    reused.Parse(QStringLiteral("3.4"));
    EXPECT_EQ(reused.Numbers(), (std::vector<unsigned int>{3, 4}));
    EXPECT_FALSE(reused.Clamped());
}

// --- Typing ---------------------------------------------------------------------------------

struct TypingCase {
    const char* piece;
    const char* keys;
    const char* text;
    int beeps;
};

TEST(EditConstraintTyping, RefusedKeysAreRemovedWithABeep) {
    const TypingCase cases[] = {
        {"%u{n1x65535}", "12a", "12", 1},
        {"%u", "1-2 3", "123", 2},
        {"%i", "-1-2", "-12", 1},
        {"%f", "-1.2.3", "-1.23", 1},
        {"%f", "1-", "1", 1},
        {"%h", "0aFgZ9", "0aF9", 2},
        {"%n.", ".1..2", "1.2", 2}, // not first, not twice in a row
        {"%n,", "1.2,3", "12,3", 1},
        {"%s", "a-b. c", "a-b. c", 0},
        {"%s{l3}", "abcd", "abc", 1}, // the typing limit
        {"%u{l5}", "123456", "12345", 1},
        {"%n.{l2}", "1.2.3", "1.2.3", 0}, // a list's length counts numbers, checked on exit
    };
    Form form(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.piece) + " / " + c.keys);
        test::ScriptedPrompter prompter;
        form.constraint->AttachOne(QString::fromLatin1(c.piece), form[0]);
        form[0]->clear();
        QTest::keyClicks(form[0], QString::fromLatin1(c.keys));
        EXPECT_EQ(form[0]->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(prompter.beeps, c.beeps);
        EXPECT_TRUE(prompter.shown.isEmpty());
    }
}

TEST(EditConstraintTyping, APasteLosesItsRefusedCharactersAndWhatExceedsTheLimit) {
    Form form(1);
    test::ScriptedPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%u{l4}"), form[0]);
    QTest::keyClicks(form[0], QStringLiteral("1"));
    QApplication::clipboard()->setText(QStringLiteral("2a3b45"));
    QTest::keyClick(form[0], Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form[0]->text(), QStringLiteral("1234"));
    EXPECT_EQ(prompter.beeps, 1);
}

TEST(EditConstraintTyping, TextsSetByTheProgramAreShownWhole) {
    Form form(2);
    test::ScriptedPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%s{l3}"), form[0]);
    form.constraint->AttachOne(QStringLiteral("%u"), form[1]);

    form[0]->setText(QStringLiteral("a device value"));
    form[1]->setText(QStringLiteral("12ab"));
    EXPECT_EQ(form[0]->text(), QStringLiteral("a device value"));
    EXPECT_EQ(form[1]->text(), QStringLiteral("12ab"));
    EXPECT_EQ(prompter.beeps, 0);

    // Over its limit, the edit takes no more characters but can be shortened.
    form[0]->end(false);
    QTest::keyClicks(form[0], QStringLiteral("x"));
    EXPECT_EQ(form[0]->text(), QStringLiteral("a device value"));
    EXPECT_EQ(prompter.beeps, 1);
    QTest::keyClick(form[0], Qt::Key_Backspace);
    EXPECT_EQ(form[0]->text(), QStringLiteral("a device valu"));

    // A page's own limit on an edit works the same way.
    QvEditHooks::of(*form[0]).setMaxLength(15);
    form[0]->setText(QStringLiteral("192.168.100.200 (primary)"));
    EXPECT_EQ(form[0]->text(), QStringLiteral("192.168.100.200 (primary)"));
}

TEST(EditConstraintTyping, ExitKeyMovesOnAndIsNeverKept) {
    Form form(2);
    test::ScriptedPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%u{e.}"), form[0]);
    form.constraint->AttachOne(QStringLiteral("%s{e.}"), form[1]);
    form.enter(0);
    Form::type(QStringLiteral("12."));
    EXPECT_EQ(form[0]->text(), QStringLiteral("12"));
    EXPECT_EQ(form.focused(), 1);
    EXPECT_EQ(prompter.beeps, 0);

    // A "." in a text the program set is an ordinary character, not a typed exit key.
    form[1]->setText(QStringLiteral("a.b"));
    Form::type(QStringLiteral("c"));
    EXPECT_EQ(form[1]->text(), QStringLiteral("a.bc"));
    EXPECT_EQ(form.focused(), 1);

    // Typed into an empty field, the exit key moves on all the same.
    form.enter(0);
    form[0]->clear();
    Form::type(QStringLiteral("."));
    EXPECT_EQ(form[0]->text(), QString());
    EXPECT_EQ(form.focused(), 1);
}

TEST(EditConstraintTyping, MultiEditFormsJumpOnWhenFullAndOnTheirSeparators) {
    const QString address =
        QStringLiteral("%u{n0x255l3ae.}%u{n0x255l3ae.}%u{n0x255l3ae.}%u{n0x255l3ae.}");
    const QString dateTime =
        QStringLiteral("%u{n1x9999l4ae/}%u{n1x12l2ae/}%u{n1x31l2ae }%u{n0x23l2ae:}%u{n0x59l2a}");
    struct Case {
        const QString& format;
        const char* keys;
        QStringList fields;
        int focusAfter; // the sixth control follows the last field
    };
    const Case cases[] = {
        {address, "192.168.0.1", {"192", "168", "0", "1"}, 3},
        {address, "10.200.30.4", {"10", "200", "30", "4"}, 3},
        {address, "1.2.3.4", {"1", "2", "3", "4"}, 3},
        {address, "255.255.255.255", {"255", "255", "255", "255"}, 4},
        {address, "19216801", {"192", "168", "01", ""}, 2}, // without dots: by length alone
        {dateTime, "2024/7/15 8:05", {"2024", "7", "15", "8", "05"}, 5},
        {dateTime, "2024/12/31 23:59", {"2024", "12", "31", "23", "59"}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Form form(6);
        test::ScriptedPrompter prompter;
        QList<QLineEdit*> fields = form.edits.mid(0, QvEditConstraint::EditCount(c.format));
        form.constraint->Attach(c.format, fields);
        form.enter(0);
        Form::type(QString::fromLatin1(c.keys));
        for (int i = 0; i < fields.size(); ++i)
            EXPECT_EQ(fields[i]->text(), c.fields.value(i)) << "field " << i;
        EXPECT_EQ(form.focused(), c.focusAfter);
        EXPECT_EQ(prompter.beeps, 0);
        EXPECT_TRUE(prompter.shown.isEmpty());
    }
}

TEST(EditConstraintTyping, ChangeHandlerRunsAfterTheFilterAndCanStopTheJump) {
    Form form(2);
    test::ScriptedPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%u{l2a}"), form[0]);
    QStringList seen;
    bool refuse = true;
    QvEditHooks::of(*form[0]).setChangeHandler([&](QLineEdit& e) {
        seen << e.text();
        return !refuse;
    });
    form.enter(0);
    Form::type(QStringLiteral("4x2"));
    EXPECT_EQ(seen, (QStringList{"4", "42"})); // the refused "x" changed nothing
    EXPECT_EQ(form.focused(), 0);              // the handler refused: no jump

    refuse = false;
    form[0]->setText(QStringLiteral("99")); // texts the program sets are not the operator's
    EXPECT_EQ(seen.size(), 2);
    form[0]->clear();
    Form::type(QStringLiteral("42"));
    EXPECT_EQ(form.focused(), 1);
}

// --- Leaving an edit -------------------------------------------------------------------------

TEST(EditConstraintExit, AFailedCheckShowsOneMessagePutsBackTheAcceptedTextAndKeepsTheFocus) {
    Form form(2);
    test::ScriptedPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%u{n1x65535}"), form[0]);
    const QString range = QStringLiteral("(QvCommon) Please enter a number between 1 and 65535!");

    form.enter(0);
    Form::type(QStringLiteral("70000"));
    Form::tab();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption,
              QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    EXPECT_EQ(prompter.shown[0].text, range);
    EXPECT_EQ(prompter.shown[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(form[0]->text(), QString()); // nothing accepted yet
    EXPECT_EQ(form.focused(), 0);

    Form::type(QStringLiteral("80"));
    Form::tab();
    EXPECT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(form.focused(), 1);
    EXPECT_EQ(form.constraint->Find(form[0])->acceptedText, QStringLiteral("80"));

    form.enter(0);
    Form::type(QStringLiteral("0000")); // 800000
    Form::tab();
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_EQ(form[0]->text(), QStringLiteral("80"));
    EXPECT_EQ(form.focused(), 0);
}

TEST(EditConstraintExit, ADeviceValueOutOfRangeIsCheckedOnlyWhenTheOperatorLeavesTheEdit) {
    Form form(2);
    test::ScriptedPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%u{n1x4094}"), form[0]);
    form[0]->setText(QStringLiteral("5000"));
    settle();
    EXPECT_TRUE(prompter.shown.isEmpty());
    form.enter(0);
    Form::tab();
    EXPECT_EQ(prompter.texts(),
              QStringList{QStringLiteral("(QvCommon) Please enter a number between 1 and 4094!")});
    EXPECT_EQ(form[0]->text(), QString());
}

// A prompter that shows a real modal dialog, as the Qt one does: its event loop takes the focus
// away from the page and gives it back, and it is the moment when a second edit could report an
// exit of its own.
class ModalPrompter final : public platform::Prompter {
public:
    ModalPrompter() { platform::setPrompter(this); }
    ~ModalPrompter() override { platform::setPrompter(nullptr); }
    ModalPrompter(const ModalPrompter&) = delete;
    ModalPrompter& operator=(const ModalPrompter&) = delete;

    platform::Answer ask(const QString&, const QString& text, platform::Buttons) override {
        texts << text;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        QDialog box(QApplication::activeWindow());
        QTimer::singleShot(0, &box, [&box] {
            box.activateWindow();
            QTimer::singleShot(0, &box, &QDialog::accept);
        });
        box.exec();
        // As the window system does when a modal box closes: its owner is active again, with
        // the focus where it was (in the field the operator went to).
        if (QWidget* owner = box.parentWidget()) {
            owner->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(owner));
        }
        focusAfterBox = QApplication::focusWidget();
        --depth;
        return platform::Answer::Ok;
    }
    void beep() override { ++beeps; }

    QStringList texts;
    int beeps = 0;
    QWidget* focusAfterBox = nullptr;
    int depth = 0;
    int maxDepth = 0;
};

TEST(EditConstraintExit, TheMessageAndTheFocusGivenBackStartNoFurtherCheck) {
    Form form(3);
    ModalPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%u{n1x10}"), form[0]);
    form.constraint->AttachOne(QStringLiteral("%u{n1x10}"), form[1]);
    form.constraint->AttachOne(QStringLiteral("%u{n1x10l2n}"), form[2]);
    form[1]->setText(QStringLiteral("50")); // a device value out of range in the next field
    form.enter(0);
    Form::type(QStringLiteral("99"));
    Form::tab(); // to form[1], which loses the focus to the message box and then to form[0]
    for (int i = 0; i < 5; ++i)
        settle();
    EXPECT_EQ(prompter.texts,
              QStringList{QStringLiteral("(QvCommon) Please enter a number between 1 and 10!")});
    EXPECT_EQ(prompter.focusAfterBox, form[1]); // so giving the focus back takes it from form[1]
    EXPECT_EQ(form.focused(), 0);
    EXPECT_EQ(form[0]->text(), QString());
    EXPECT_EQ(form[1]->text(), QStringLiteral("50"));
}

TEST(EditConstraintExit, ExitsDueDuringAMessageAreCheckedAfterIt) {
    Form form(3);
    ModalPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%u{n1x10}"), form[0]);
    form.constraint->AttachOne(QStringLiteral("%u{n20x30}"), form[1]);
    form[1]->setText(QStringLiteral("50"));
    form.enter(0);
    Form::type(QStringLiteral("99"));
    // The operator tabs through both fields before the first check has run.
    QTest::keyClick(form[0], Qt::Key_Tab);
    QTest::keyClick(form[1], Qt::Key_Tab);
    ASSERT_EQ(form.focused(), 2);
    for (int i = 0; i < 5; ++i)
        settle();
    EXPECT_EQ(prompter.texts,
              (QStringList{QStringLiteral("(QvCommon) Please enter a number between 1 and 10!"),
                           QStringLiteral("(QvCommon) Please enter a number between 20 and 30!")}));
    EXPECT_EQ(prompter.maxDepth, 1); // one message after the other, never one inside another
    EXPECT_EQ(form[0]->text(), QString());
    EXPECT_EQ(form[1]->text(), QString());
    EXPECT_EQ(form.focused(), 1);
}

TEST(EditConstraintExit, OnlyLeavingForAnotherControlOfTheWindowIsAnExit) {
    Form form(2);
    test::ScriptedPrompter prompter;
    form.constraint->AttachOne(QStringLiteral("%u{n1x10}"), form[0]);
    form.enter(0);
    Form::type(QStringLiteral("99"));

    // Another window comes to the front: the operator has not left the edit.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    settle();
    EXPECT_TRUE(prompter.shown.isEmpty());
    other.hide();
    form.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.window.get()));
    settle();
    EXPECT_EQ(form[0]->text(), QStringLiteral("99"));

    // The page closes with the edit focused: there is nothing left to correct.
    form.enter(0);
    form.window->hide();
    settle();
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST(EditConstraintExit, TheEditsOwnExitHandlerRunsAfterTheCheckAndCanRefuse) {
    struct Case {
        bool remember;
        bool handlerAccepts;
        const char* textAfter;
        const char* acceptedAfter;
    };
    const Case cases[] = {
        {true, true, "7", "7"},
        {true, false, "3", "3"}, // refused: back to the text accepted before
        {false, true, "7", ""},  // accepted, but nothing is remembered
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.remember << c.handlerAccepts);
        Form form(2, c.remember);
        test::ScriptedPrompter prompter;
        form.constraint->AttachOne(QStringLiteral("%u{n1x10}"), form[0]);
        int handlerRuns = 0;
        bool accept = true;
        QvEditHooks::of(*form[0]).setExitHandler([&](QLineEdit&) {
            ++handlerRuns;
            return accept;
        });
        form.enter(0);
        Form::type(QStringLiteral("3"));
        Form::tab();
        accept = c.handlerAccepts;
        form.enter(0);
        form[0]->clear();
        Form::type(QStringLiteral("7"));
        Form::tab();
        EXPECT_EQ(handlerRuns, 2);
        EXPECT_EQ(form[0]->text(), QString::fromLatin1(c.textAfter));
        EXPECT_EQ(form.constraint->Find(form[0])->acceptedText,
                  QString::fromLatin1(c.acceptedAfter));

        // A failed check does not reach the handler.
        form.enter(0);
        form[0]->clear();
        Form::type(QStringLiteral("11"));
        Form::tab();
        EXPECT_EQ(handlerRuns, 2);
        EXPECT_EQ(prompter.shown.size(), 1);
    }
}

TEST(EditConstraintExit, DetachedOrReleasedConstraintsLeaveTheEditsOwnHandlers) {
    Form form(2);
    test::ScriptedPrompter prompter;
    int exits = 0;
    QvEditHooks::of(*form[0]).setExitHandler([&](QLineEdit&) {
        ++exits;
        return true;
    });
    form.constraint->AttachOne(QStringLiteral("%u{n1x10}"), form[0]);
    form.constraint->Detach(form[0]);
    EXPECT_EQ(form.constraint->Find(form[0]), nullptr);
    form.enter(0);
    Form::type(QStringLiteral("99x")); // no filter any more
    Form::tab();
    EXPECT_EQ(form[0]->text(), QStringLiteral("99x"));
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(exits, 1);

    form.constraint->AttachOne(QStringLiteral("%u{n1x10}"), form[0]);
    form.constraint.reset(); // the binding object is freed before its page
    form.enter(0);
    form[0]->clear();
    Form::type(QStringLiteral("77y"));
    Form::tab();
    EXPECT_EQ(form[0]->text(), QStringLiteral("77y"));
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(exits, 2);
}

} // namespace
