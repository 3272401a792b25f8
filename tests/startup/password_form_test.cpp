#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include "display/form1.h"
#include "startup/module1.h"
#include "startup/password_form.h"
#include "support/temp_app_folder.h"

using testing_support::TestEnvironment;

namespace {

// Typing into a control: each key press as the window system delivers it.
void KeyClick(QWidget* box, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &release);
}
void KeyClicks(QWidget* box, const QString& text) {
    for (QChar c : text) KeyClick(box, QKeySequence(QString(c.toUpper()))[0].key(), QString(c));
}
void Enter(QWidget* box) { KeyClick(box, Qt::Key_Return, QStringLiteral("\r")); }

// The saver with a password, the prompt brought up by an exit request.
struct Prompt {
    TestEnvironment t;
    startup::Module1 module1{t.env};
    startup::PasswordForm* form = nullptr;
    explicit Prompt(const char* password = "Secret") {
        t.folder.writeSettings(QByteArray("[saver]\nmode=1\n[password]\nsaverPassword=") + password +
                               "\nsaverEnabled=1\n");
        module1.Main(QStringLiteral("/s"), false);
        // What the display's start-up does with a password.
        t.desktop.setKeyLock(true);
        module1.RequestExit();
        form = module1.passwordForm();
    }
    void enter(QWidget* box, const QString& text) {
        KeyClicks(box, text);
        Enter(box);
    }
    bool flagged() const { return form->wrongPass->isVisibleTo(form); }
};

}  // namespace

TEST(PasswordForm, ControlsAtTheirPlaces) {
    Prompt p;
    auto* f = p.form;
    EXPECT_EQ(f->lblMessage->text(), QStringLiteral("Message Board"));
    EXPECT_EQ(f->lblMessage->geometry(), QRect(8, 8, 97, 25));
    EXPECT_EQ(f->txtNotes->toPlainText(), QStringLiteral(" \n"));
    EXPECT_EQ(f->txtNotes->geometry(), QRect(8, 24, 209, 113));
    EXPECT_EQ(f->lblPassword->text(), QStringLiteral("Password"));
    EXPECT_EQ(f->txtPassword->geometry(), QRect(64, 144, 153, 19));
    EXPECT_EQ(f->txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(f->txtPassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, f->txtPassword), '*');
    EXPECT_EQ(f->txtPassword->text(), QString());
    EXPECT_EQ(f->wrongPass->text(), QStringLiteral("INVALID PASSWORD!"));
    EXPECT_EQ(f->wrongPass->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(f->wrongPass->font().bold());
    EXPECT_EQ(f->wrongPass->font().pointSize(), 12);
    EXPECT_FALSE(p.flagged());
}

TEST(PasswordForm, AWrongPasswordIsFlaggedAndTheNextKeyHidesTheFlag) {
    Prompt p;
    p.enter(p.form->txtPassword, QStringLiteral("wrong"));
    EXPECT_TRUE(p.flagged());
    EXPECT_EQ(p.form->txtPassword->text(), QString());
    EXPECT_FALSE(p.t.end.ended);
    KeyClick(p.form->txtPassword, Qt::Key_Tab, QStringLiteral("\t"));  // moving on types nothing
    EXPECT_TRUE(p.flagged());
    KeyClicks(p.form->txtPassword, QStringLiteral("S"));
    EXPECT_FALSE(p.flagged());
    EXPECT_EQ(p.form->txtPassword->text(), QStringLiteral("S"));
}

TEST(PasswordForm, TheRightPasswordInTheWrongCaseIsRefused) {
    Prompt p;
    p.enter(p.form->txtPassword, QStringLiteral("secret"));
    EXPECT_TRUE(p.flagged());
    EXPECT_FALSE(p.t.end.ended);
    EXPECT_TRUE(p.t.desktop.keyLock);
}

TEST(PasswordForm, TheRightPasswordReleasesTheKeyLockAndEnds) {
    Prompt p;
    p.enter(p.form->txtPassword, QStringLiteral("Secret"));
    EXPECT_TRUE(p.t.end.ended);
    EXPECT_EQ(p.t.end.exitCode, 0);
    EXPECT_FALSE(p.t.desktop.keyLock);
    EXPECT_EQ(p.t.desktop.unlockCalls, 1);
}

TEST(PasswordForm, EnterOnAnEmptyBoxResumesTheSaver) {
    Prompt p;
    auto* form1 = p.module1.form1();
    const size_t placements = p.t.desktop.placements.size();
    Enter(p.form->txtPassword);
    EXPECT_FALSE(p.t.end.ended);
    EXPECT_FALSE(p.form->isVisible());
    EXPECT_TRUE(form1->isEnabled());
    EXPECT_TRUE(p.t.desktop.keyLock);  // the lock stays on
    ASSERT_EQ(p.t.desktop.placements.size(), placements + 1);
    EXPECT_EQ(p.t.desktop.placements.back().layer, platform::WindowLayer::OnTop);
    ASSERT_FALSE(p.t.desktop.pointerPositions.empty());
    EXPECT_EQ(p.t.desktop.pointerPositions.back(),
              QPoint(int(form1->ScaleWidth()) + 10, int(form1->ScaleHeight()) + 10));
}

TEST(PasswordForm, EnterInTheNotesResumesAndBothBoxesKeepTheirText) {
    Prompt p;
    KeyClicks(p.form->txtPassword, QStringLiteral("Sec"));
    p.form->txtNotes->moveCursor(QTextCursor::End);
    p.enter(p.form->txtNotes, QStringLiteral("back at 3"));
    EXPECT_FALSE(p.form->isVisible());
    EXPECT_FALSE(p.t.end.ended);
    p.module1.RequestExit();
    EXPECT_TRUE(p.form->isVisible());
    EXPECT_EQ(p.form->txtPassword->text(), QStringLiteral("Sec"));
    EXPECT_TRUE(p.form->txtNotes->toPlainText().contains(QStringLiteral("back at 3")));
    // The rest of the password finishes the first attempt.
    p.enter(p.form->txtPassword, QStringLiteral("ret"));
    EXPECT_TRUE(p.t.end.ended);
}
