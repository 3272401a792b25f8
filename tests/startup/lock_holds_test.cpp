// The lock holds: nothing at the prompt but the right password ends the
// program, a failure behind the lock keeps the screen locked, and a
// password means what was typed in the dialog.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include "dialog/form2.h"
#include "display/form1.h"
#include "startup/module1.h"
#include "startup/password_form.h"
#include "support/temp_app_folder.h"

using testing_support::TestEnvironment;

namespace {

void Key(QWidget* box, int key, Qt::KeyboardModifiers modifiers, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(box, &release);
}
void Type(QWidget* box, const QString& text) {
    for (QChar c : text) Key(box, QKeySequence(QString(c.toUpper()))[0].key(), Qt::NoModifier, QString(c));
}
void Enter(QWidget* box) { Key(box, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")); }
void Click(QWidget* box, Qt::MouseButton button) {
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, box->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &release);
}

// The saver running "/s" with the given password section (Float loads no
// picture at start), its key lock switched on as the display's start-up does.
struct LockedSaver {
    TestEnvironment t;
    startup::Module1 module1{t.env};
    explicit LockedSaver(const QByteArray& password = "saverPassword=Secret\nsaverEnabled=1\n") {
        t.folder.writeSettings("[saver]\nmode=1\n[password]\n" + password);
        module1.Main(QStringLiteral("/s"), false);
    }
    startup::PasswordForm* prompt() {
        if (!module1.passwordForm() || !module1.passwordForm()->isVisible()) module1.RequestExit();
        return module1.passwordForm();
    }
};

}  // namespace

TEST(LockHolds, PasteAndMenusDoNothingInEitherBoxWhateverTheClipboardHolds) {
    LockedSaver s;
    auto* form = s.prompt();
    ASSERT_NE(form, nullptr);
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const bool empty : {true, false}) {
        if (empty)
            clipboard->setMimeData(new QMimeData);
        else
            clipboard->setText(QStringLiteral("the owner's secret"));
        for (QWidget* box : {static_cast<QWidget*>(form->txtPassword), static_cast<QWidget*>(form->txtNotes)}) {
            const QString notes = form->txtNotes->toPlainText();
            Key(box, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
            Key(box, Qt::Key_Insert, Qt::ShiftModifier);
            Click(box == form->txtNotes ? form->txtNotes->viewport() : box, Qt::MiddleButton);
            Click(box == form->txtNotes ? form->txtNotes->viewport() : box, Qt::RightButton);
            Key(box, Qt::Key_Menu, Qt::NoModifier);
            Key(box, Qt::Key_F10, Qt::ShiftModifier);
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(box, &menu);
            QApplication::processEvents();
            EXPECT_EQ(form->txtPassword->text(), QString());
            EXPECT_EQ(form->txtNotes->toPlainText(), notes);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        }
    }
    // Typing still works, and the right password still ends the saver.
    Type(form->txtNotes, QStringLiteral("back soon"));
    QApplication::processEvents();  // the notes take the waiting characters together
    EXPECT_TRUE(form->txtNotes->toPlainText().contains(QStringLiteral("back soon")));
    EXPECT_FALSE(s.t.end.ended);
    Type(form->txtPassword, QStringLiteral("Secret"));
    Enter(form->txtPassword);
    EXPECT_TRUE(s.t.end.ended);
}

TEST(LockHolds, AFailureBehindTheLockIsShownOnTheLockedScreenAndOnlyThePasswordEndsIt) {
    LockedSaver s;
    s.t.desktop.setKeyLock(true);
    s.module1.form1()->fail(QStringLiteral("C:\\gone.bmp was not processed correctly!"));
    EXPECT_FALSE(s.t.end.ended);
    EXPECT_TRUE(s.t.desktop.keyLock);
    EXPECT_TRUE(s.t.messages.shown.empty());  // no message box over an open desktop
    auto* form = s.module1.passwordForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->failureMessage->isVisibleTo(form));
    EXPECT_TRUE(form->failureMessage->text().contains(QStringLiteral("gone.bmp")));
    EXPECT_TRUE(s.module1.form1()->isVisible());  // the screen stays covered
    EXPECT_TRUE(s.module1.form1()->standingStill());

    // A second failure, an empty Enter and a wrong password change nothing.
    s.module1.form1()->fail(QStringLiteral("another"));
    Enter(form->txtPassword);
    Enter(form->txtNotes);
    Type(form->txtPassword, QStringLiteral("wrong"));
    Enter(form->txtPassword);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->failureMessage->text().contains(QStringLiteral("gone.bmp")));
    EXPECT_FALSE(s.t.end.ended);
    EXPECT_TRUE(s.t.desktop.keyLock);

    Type(form->txtPassword, QStringLiteral("Secret"));
    Enter(form->txtPassword);
    EXPECT_TRUE(s.t.end.ended);
    EXPECT_EQ(s.t.end.exitCode, 1);  // the run failed
    EXPECT_FALSE(s.t.desktop.keyLock);
}

TEST(LockHolds, WithoutAPasswordAFailureEndsAsBefore) {
    for (const QByteArray& password :
         {QByteArray("saverEnabled=0\n"), QByteArray("saverPassword=\nsaverEnabled=1\n")}) {
        LockedSaver s(password);
        if (password.contains("=1")) s.t.desktop.setKeyLock(true);
        s.module1.form1()->fail(QStringLiteral("broken"));
        EXPECT_TRUE(s.t.end.ended);
        EXPECT_EQ(s.t.end.exitCode, 1);
        EXPECT_EQ(s.t.messages.texts(), QStringList{QStringLiteral("broken")});
        EXPECT_FALSE(s.module1.form1()->isVisible());  // nothing covers the message
        EXPECT_FALSE(s.t.desktop.keyLock);
    }
}

TEST(LockHolds, ProtectionOnWithNoStoredPasswordEndsOnInputAsIfNoneWereSet) {
    for (const QByteArray& stored : {QByteArray(""), QByteArray("   ")}) {  // blanks read back as nothing
        LockedSaver s("saverPassword=" + stored + "\nsaverEnabled=1\n");
        s.t.desktop.setKeyLock(true);
        s.module1.RequestExit();
        EXPECT_TRUE(s.t.end.ended);
        EXPECT_EQ(s.t.end.exitCode, 0);
        EXPECT_EQ(s.module1.passwordForm(), nullptr);
    }
}

// From the dialog to the prompt: what is typed in the dialog is what the
// prompt accepts, and what the file could not give back is refused up front.
TEST(LockHolds, APasswordSetInTheDialogIsAcceptedAtThePromptExactlyAsTyped) {
    const QString typed = QStringLiteral("two  words!") + QString(200, u'x');
    {
        TestEnvironment t;
        t.folder.writeSettings("[saver]\nmode=1\n[total]\nnewTotal=1\n[images]\n0=" + t.folder.file("a.png").toUtf8() +
                               "\n");
        settings::Settings settings;
        dialog::Form2 dialog(settings, t.env);
        dialog.Form_Load();
        dialog.Password_enabled->setCheckState(Qt::Checked);
        for (const QString& refused : {QStringLiteral("Secret "), QStringLiteral("   ")}) {
            dialog.SS_password->setText(refused);
            dialog.SS_Confirm->setText(refused);
            dialog.OK_Click();
            ASSERT_FALSE(t.messages.shown.empty());
        }
        t.messages.shown.clear();
        dialog.SS_password->setText(typed);
        dialog.SS_Confirm->setText(typed);
        dialog.OK_Click();
        ASSERT_TRUE(t.messages.shown.empty()) << t.messages.texts().join(u'|').toStdString();

        startup::Module1 module1(t.env);
        module1.Main(QStringLiteral("/s"), false);
        module1.RequestExit();
        auto* form = module1.passwordForm();
        ASSERT_NE(form, nullptr);
        Type(form->txtPassword, typed.left(typed.size() - 1));
        Enter(form->txtPassword);
        EXPECT_FALSE(t.end.ended);
        Type(form->txtPassword, typed);
        Enter(form->txtPassword);
        EXPECT_TRUE(t.end.ended);
    }
}

TEST(LockHolds, CloseRequestsAreRefusedByTheDisplaysAndThePromptOnly) {
    LockedSaver s;
    auto* form = s.prompt();
    EXPECT_FALSE(s.module1.form1()->close());
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(s.module1.form1()->isVisible());
    EXPECT_TRUE(form->isVisible());
    // Any other window of ours (a message box) still closes.
    QWidget other;
    other.show();
    EXPECT_TRUE(other.close());
    EXPECT_FALSE(other.isVisible());
}
