#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "dialog/form2.h"
#include "display/form1.h"
#include "startup/module1.h"
#include "startup/password_form.h"
#include "support/temp_app_folder.h"

using testing_support::TestEnvironment;

namespace {

// A running full-screen saver (the Float effect loads no picture at start)
// with the given sensitivity and password protection on or off.
struct Saver {
    TestEnvironment t;
    startup::Module1 module1{t.env};
    Saver(const char* sensitivity, bool password) {
        t.folder.writeSettings(QByteArray("[saver]\nmode=1\nmouseSensitivity=") + sensitivity +
                               (password ? "\n[password]\nsaverPassword=Secret\nsaverEnabled=1\n" : "\n"));
        module1.Main(QStringLiteral("/s"), false);
    }
    // Counted moves at the given clock readings; returns how many ran
    // before the program ended (all of them when it did not end).
    int moves(std::initializer_list<double> times) {
        int n = 0;
        for (double time : times) {
            t.clock.now = time;
            module1.CountMouseMove();
            ++n;
            if (t.end.ended) break;
        }
        return n;
    }
};

}  // namespace

TEST(CountMouseMove, SensitivityOneEndsOnTheFirstCountedMove) {
    Saver s("1", false);
    s.moves({100.0});
    EXPECT_TRUE(s.t.end.ended);
}

TEST(CountMouseMove, ZeroNegativeOrFractionalSensitivityNeverEndsThroughMoves) {
    for (const char* sensitivity : {"0", "-3", "2.5"}) {
        Saver s(sensitivity, false);
        for (int i = 0; i < 200; ++i) s.moves({100.0 + i * 0.001});
        EXPECT_FALSE(s.t.end.ended) << sensitivity;
    }
}

TEST(CountMouseMove, EnoughMovesWithinTheWindowEndTheSaver) {
    Saver s("4", false);
    EXPECT_EQ(s.moves({100.5, 101.0, 101.5, 102.0}), 4);
    EXPECT_TRUE(s.t.end.ended);
    EXPECT_EQ(s.module1.moveWindowStart(), 100);  // 100.5 rounds to the even neighbour
}

TEST(CountMouseMove, MovesSpreadOverMoreThanTwoSecondsRestartTheCount) {
    Saver s("4", false);
    // The third move finds the window expired: counted, then cleared.
    s.moves({100.0, 101.0, 102.6});
    EXPECT_EQ(s.module1.mouseMoveCount(), 0);
    EXPECT_EQ(s.module1.moveWindowStart(), 0);
    // A new window opens with a count of 1; three more moves end the saver.
    EXPECT_EQ(s.moves({103.0, 103.5, 104.0}), 3);
    EXPECT_FALSE(s.t.end.ended);
    s.moves({104.5});
    EXPECT_TRUE(s.t.end.ended);
}

TEST(CountMouseMove, TheExpiringMoveStillCountsTowardsTheSensitivity) {
    Saver s("3", false);
    s.moves({100.0, 101.0, 105.0});
    EXPECT_TRUE(s.t.end.ended);
}

TEST(CountMouseMove, AWindowOpenAtMidnightNeverExpiresAndTheCountKeepsAddingUp) {
    Saver s("10", false);
    s.moves({86399.4, 86399.9, 0.2, 1.0, 5.0, 30.0, 60.0, 100.0, 200.0});
    EXPECT_EQ(s.module1.mouseMoveCount(), 9);
    EXPECT_EQ(s.module1.moveWindowStart(), 86399);
    EXPECT_FALSE(s.t.end.ended);
    s.moves({300.0});
    EXPECT_TRUE(s.t.end.ended);
}

TEST(CountMouseMove, TheCountStopsAtItsLargestValueInsteadOfOverflowing) {
    // Across midnight with a sensitivity no count reaches, the count would
    // pass the 16-bit range.
    Saver s("0", false);
    s.moves({86399.0});
    s.t.clock.now = 10.0;
    for (int i = 0; i < 40000; ++i) s.module1.CountMouseMove();
    EXPECT_EQ(s.module1.mouseMoveCount(), 32767);
    EXPECT_FALSE(s.t.end.ended);
}

TEST(RequestExit, WithoutAPasswordEndsTheProgram) {
    Saver s("5", false);
    s.module1.RequestExit();
    EXPECT_TRUE(s.t.end.ended);
    EXPECT_EQ(s.t.end.exitCode, 0);
    EXPECT_EQ(s.module1.passwordForm(), nullptr);
}

TEST(RequestExit, WithAPasswordStepsTheDisplayBackAndShowsThePrompt) {
    Saver s("5", true);
    const auto& form1 = *s.module1.form1();
    s.module1.RequestExit();
    EXPECT_FALSE(s.t.end.ended);
    EXPECT_FALSE(form1.isEnabled());
    EXPECT_TRUE(form1.isVisible());  // the animation goes on behind the prompt
    ASSERT_EQ(s.t.desktop.placements.size(), 2u);
    const auto& placed = s.t.desktop.placements.back();
    EXPECT_EQ(placed.layer, platform::WindowLayer::InPlace);
    EXPECT_EQ(placed.area.topLeft(), QPoint(0, 0));
    EXPECT_EQ(placed.area.size(), QSize(int(form1.ScaleWidth()), int(form1.ScaleHeight())));
    ASSERT_NE(s.module1.passwordForm(), nullptr);
    EXPECT_TRUE(s.module1.passwordForm()->isVisible());
    EXPECT_EQ(s.module1.passwordForm()->windowTitle(), QStringLiteral("Password Protection"));
}

TEST(RequestExit, ACountedMoveWithAPasswordShowsThePromptInsteadOfEnding) {
    Saver s("2", true);
    s.moves({100.0, 100.5});
    EXPECT_FALSE(s.t.end.ended);
    ASSERT_NE(s.module1.passwordForm(), nullptr);
    EXPECT_TRUE(s.module1.passwordForm()->isVisible());
}

// What unlocks is read once, at the start: a settings file rewritten while
// the saver runs changes nothing, and a monitor plugged in afterwards reads
// its display settings only. A stored password that could never be typed
// at the prompt (a Tab in it) ends the saver on input as no password does.
TEST(RequestExit, WhatUnlocksIsReadOnceAtStartAndMustBeTypable) {
    Saver locked("5", true);
    locked.t.folder.writeSettings("[saver]\nmode=1\n");
    locked.module1.form1()->Form_Load();
    locked.module1.RequestExit();
    EXPECT_FALSE(locked.t.end.ended);
    locked.module1.passwordForm()->setPasswordText(QStringLiteral("Secret"));
    locked.module1.CheckPassword();
    EXPECT_TRUE(locked.t.end.ended);

    TestEnvironment t;
    t.folder.writeSettings("[saver]\nmode=1\n[password]\nsaverPassword=Sec\tret\nsaverEnabled=1\n");
    startup::Module1 module1{t.env};
    module1.Main(QStringLiteral("/s"), false);
    module1.RequestExit();
    EXPECT_TRUE(t.end.ended);
    EXPECT_EQ(t.end.exitCode, 0);
}

// A password with a Tab, pasted into both boxes of the settings dialog as
// a user would, is refused at OK with a message; the file keeps the old
// password, which still unlocks the saver started afterwards.
TEST(RequestExit, APastedPasswordWithATabIsRefusedAndTheOldOneStillUnlocks) {
    TestEnvironment t;
    const QString picture = t.folder.file(QStringLiteral("a.png"));
    QImage(8, 8, QImage::Format_RGB32).save(picture);
    t.folder.writeSettings("[total]\nnewTotal=1\n[images]\n0=" + picture.toUtf8() +
                           "\n[saver]\nmode=1\n[password]\nsaverPassword=Secret\nsaverEnabled=1\n");
    const QByteArray before = t.folder.readSettings();
    {
        startup::Module1 dialog{t.env};
        ASSERT_TRUE(dialog.Main(QStringLiteral("/c"), false));
        dialog::Form2* f = dialog.form2();
        ASSERT_EQ(f->Password_enabled->checkState(), Qt::Checked);
        QGuiApplication::clipboard()->setText(QStringLiteral("Sec\tret"));
        for (QLineEdit* box : {f->SS_password, f->SS_Confirm}) {
            box->selectAll();
            QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
            QApplication::sendEvent(box, &paste);
            ASSERT_EQ(box->text(), QStringLiteral("Sec\tret"));
        }
        f->Ok->click();
        ASSERT_FALSE(t.messages.texts().isEmpty());
        EXPECT_TRUE(t.messages.texts().last().contains(QStringLiteral("cannot hold a Tab")))
            << t.messages.texts().last().toStdString();
        EXPECT_EQ(t.folder.readSettings(), before);
    }
    startup::Module1 saver{t.env};
    saver.Main(QStringLiteral("/s"), false);
    saver.RequestExit();
    EXPECT_FALSE(t.end.ended);
    saver.passwordForm()->setPasswordText(QStringLiteral("Secret"));
    saver.CheckPassword();
    EXPECT_TRUE(t.end.ended);
}
