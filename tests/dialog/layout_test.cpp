#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QStatusBar>
#include <QKeyEvent>

#include "dialog_fixture.h"

TEST_F(DialogTest, DialogHasItsDesignedFrameAndControls) {
    auto& f = open();
    EXPECT_EQ(f.windowTitle(), " Glidorama ");
    EXPECT_EQ(f.size(), QSize(588, 429));
    EXPECT_EQ(f.Ok->geometry(), QRect(408, 384, 81, 25));
    EXPECT_EQ(f.pictureList->parentWidget(), f.photoDisplay);
    EXPECT_EQ(f.pictureList->geometry(), QRect(8, 184, 241, 88));
    EXPECT_EQ(f.SS_Confirm->parentWidget(), f.Password);
    EXPECT_EQ(f.Password->title(), "Password Protection / Message Board");
    EXPECT_EQ(f.ClonesText->toolTip(), "Clones of Image");
    EXPECT_EQ(f.ClonesText->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(f.ClonesText->font().pointSizeF(), 9.75);
    EXPECT_DOUBLE_EQ(f.pictureList->font().pointSizeF(), 6.75);
    QStringList effects, transitions;
    for (int i = 0; i < f.EffectCbx->count(); ++i) effects << f.EffectCbx->itemText(i);
    for (int i = 0; i < f.TransitionsCbx->count(); ++i) transitions << f.TransitionsCbx->itemText(i);
    EXPECT_EQ(effects, QStringList({"Glidorama", "Float", "Warp", "Psychedelic", "Deck of Cards", "Jumping Beans",
                                    "Vortex", "Splat!"}));
    EXPECT_EQ(transitions, QStringList({"Standard", "Left wipe", "Right wipe", "Right & Left wipe", "Up & down wipe",
                                        "Center wipe", "Horizontal blinds", "Vertical blinds"}));
    EXPECT_EQ(f.statusPanels[1]->text(), "Glidorama " GLIDORAMA_VERSION);
    EXPECT_EQ(f.statusPanels[2]->text(), "12:00 PM");  // the test clock stands at noon
    EXPECT_FALSE(f.ProgressBar1->isVisible());
}

TEST_F(DialogTest, TabWalksTheControlsInTabOrderFromCancel) {
    auto& f = open();
    f.activateWindow();
    for (int i = 0; i < 50 && QApplication::activeWindow() != &f; ++i) QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &f);
    EXPECT_EQ(QApplication::focusWidget(), f.Cancel);
    QWidget* expected[] = {f.Ok, f.pictureCount, f.pictureList, f.add, f.addFolder, f.remove, f.RemoveAll};
    for (QWidget* next : expected) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
}

TEST_F(DialogTest, ReturnOutsideAButtonCommitsNothing) {
    auto& f = open();
    f.SS_password->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f.SS_password, &enter);
    EXPECT_FALSE(f.isHidden());
    EXPECT_TRUE(t.folder.readSettings().isEmpty());
}
