#include <QLabel>
#include <QPainter>
#include <QLineEdit>
#include <QCoreApplication>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include "startup/offscreen_prompt.h"
#include "startup/password_form.h"

namespace {

struct Prompt {
    int unlocked = 0;
    int resumed = 0;
    int changes = 0;
    startup::OffscreenPrompt prompt{QStringLiteral("Secret"), [this] { ++unlocked; },
                                    [this] {
                                        ++resumed;
                                        prompt.hide();
                                    }};
    Prompt() {
        prompt.setChanged([this] { ++changes; });
        prompt.show(QSize(1920, 1080));
        QCoreApplication::processEvents();
    }
    void type(const QString& text) {
        for (QChar c : text) {
            const int key = c.toUpper().unicode();
            prompt.keyPress(key, Qt::NoModifier, QString(c));
            prompt.keyRelease(key, Qt::NoModifier, QString(c));
        }
    }
    void enter() {
        prompt.keyPress(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        prompt.keyRelease(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    }
    bool flagged() { return prompt.form().wrongPass->isVisibleTo(&prompt.form()); }
    QPoint centreOf(QWidget* w) { return w->mapTo(&prompt.form(), w->rect().center()); }
};

}  // namespace

TEST(OffscreenPrompt, OnlyTheRightPasswordUnlocksAndEnterInTheNotesResumes) {
    Prompt p;
    EXPECT_EQ(p.prompt.size(), QSize(1920, 1080));
    p.type(QStringLiteral("secret"));  // the case counts
    p.enter();
    EXPECT_TRUE(p.flagged());
    EXPECT_EQ(p.prompt.form().passwordText(), QString());
    EXPECT_EQ(p.unlocked, 0);

    // A click in the notes puts the keys there, and Enter there goes back to the saver.
    const QPoint notes = p.centreOf(p.prompt.form().txtNotes);
    p.prompt.click(notes, Qt::LeftButton);
    p.type(QStringLiteral("back at 3"));
    p.enter();
    EXPECT_TRUE(p.prompt.form().txtNotes->toPlainText().contains(QStringLiteral("back at 3")));
    EXPECT_EQ(p.prompt.form().passwordText(), QString());
    EXPECT_EQ(p.resumed, 1);
    EXPECT_FALSE(p.prompt.isShown());
    EXPECT_EQ(p.unlocked, 0);

    // Shown again, the password box has the keys; a key hides the old flag.
    p.prompt.show(QSize(1280, 720));
    p.type(QStringLiteral("Secret"));
    EXPECT_FALSE(p.flagged());
    p.enter();
    EXPECT_EQ(p.unlocked, 1);
    EXPECT_EQ(p.resumed, 1);
}

TEST(OffscreenPrompt, DrawsWhatChangedAtTheSurfaceScale) {
    Prompt p;
    EXPECT_EQ(p.prompt.takeDirty(), QRegion(0, 0, 1920, 1080));
    EXPECT_GE(p.changes, 1);

    p.type(QStringLiteral("x"));
    p.enter();
    QCoreApplication::processEvents();
    const QRegion dirty = p.prompt.takeDirty();
    QLabel* flag = p.prompt.form().wrongPass;
    EXPECT_TRUE(dirty.intersects(flag->geometry()));
    EXPECT_FALSE(dirty.intersects(QRect(1000, 600, 100, 100)));  // far from every control

    // At scale 2 the red flag lands on twice its logical place; drawing only
    // the changed part gives the same pixels there as drawing everything.
    QImage whole(3840, 2160, QImage::Format_RGB32);
    whole.setDevicePixelRatio(2);
    {
        QPainter painter(&whole);
        p.prompt.render(painter, QRegion(0, 0, 1920, 1080));
    }
    QImage part(3840, 2160, QImage::Format_RGB32);
    part.setDevicePixelRatio(2);
    part.fill(Qt::green);
    {
        QPainter painter(&part);
        p.prompt.render(painter, dirty);
    }
    const QRect flagPixels(flag->geometry().topLeft() * 2, flag->geometry().size() * 2);
    int red = 0;
    for (int y = flagPixels.top(); y <= flagPixels.bottom(); ++y)
        for (int x = flagPixels.left(); x <= flagPixels.right(); ++x) {
            red += whole.pixel(x, y) == qRgb(255, 0, 0);
            ASSERT_EQ(part.pixel(x, y), whole.pixel(x, y)) << x << "," << y;
        }
    EXPECT_GT(red, 100);
    EXPECT_EQ(part.pixel(2100, 1300), QColor(Qt::green).rgb());  // not drawn: unchanged
}
