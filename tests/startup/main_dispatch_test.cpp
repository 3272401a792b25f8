#include "startup/module1.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include "display/form1.h"
#include "dialog/form2.h"
#include "support/temp_app_folder.h"

using testing_support::TestEnvironment;

namespace {

struct Dispatch {
    TestEnvironment t;
    startup::Module1 module1{t.env};
    bool shown = false;
    explicit Dispatch(const QString& commandLine, bool previousInstance = false) {
        shown = module1.Main(commandLine, previousInstance);
    }
};

}  // namespace

TEST(MainDispatch, OnlyTheFirstTwoCharactersChooseTheMode) {
    for (const char* line : {"/s", "/S", "/s:123", "/s 123"}) {
        Dispatch d(QString::fromLatin1(line));
        EXPECT_TRUE(d.shown) << line;
        EXPECT_NE(d.module1.form1(), nullptr) << line;
        EXPECT_EQ(d.module1.form2(), nullptr) << line;
    }
    for (const char* line : {"/c", "/C:4711"}) {
        Dispatch d(QString::fromLatin1(line));
        EXPECT_TRUE(d.shown) << line;
        EXPECT_NE(d.module1.form2(), nullptr) << line;
        EXPECT_EQ(d.module1.form1(), nullptr) << line;
    }
}

TEST(MainDispatch, AnythingElseShowsNothing) {
    for (const char* line : {"", " /s", "-s", "s", "/x", "/"}) {
        Dispatch d(QString::fromLatin1(line));
        EXPECT_FALSE(d.shown) << line;
        EXPECT_EQ(d.module1.form1(), nullptr) << line;
        EXPECT_EQ(d.module1.form2(), nullptr) << line;
    }
}

TEST(MainDispatch, ASecondInstanceEndsWhateverItsSwitch) {
    for (const char* line : {"/s", "/c", "/p 4711"}) {
        Dispatch d(QString::fromLatin1(line), true);
        EXPECT_FALSE(d.shown) << line;
        EXPECT_EQ(d.module1.form1(), nullptr) << line;
        EXPECT_EQ(d.module1.form2(), nullptr) << line;
    }
}

TEST(MainDispatch, StartFullScreenParksThePointerAndMakesTheWindowTopmost) {
    Dispatch d(QStringLiteral("/s"));
    const auto& form = *d.module1.form1();
    ASSERT_EQ(d.t.desktop.pointerPositions.size(), 1u);
    EXPECT_EQ(d.t.desktop.pointerPositions[0], QPoint(int(form.ScaleWidth()) + 10, int(form.ScaleHeight()) + 10));
    ASSERT_EQ(d.t.desktop.placements.size(), 1u);
    const auto& placed = d.t.desktop.placements[0];
    EXPECT_EQ(placed.layer, platform::WindowLayer::OnTop);
    EXPECT_EQ(placed.area.width(), int(form.ScaleWidth()));
}

TEST(MainDispatch, WithFloatTheWindowSizeHandedOverIsTheFormsSizeInTwips) {
    TestEnvironment t;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = t.folder.file(QStringLiteral("a.png"));
    ASSERT_TRUE(picture.save(path));
    t.folder.writeSettings(("[saver]\nmode=1\n[total]\nnewTotal=1\n[images]\n0=" + path + "\n").toUtf8());
    startup::Module1 module1(t.env);
    ASSERT_TRUE(module1.Main(QStringLiteral("/s"), false));
    ASSERT_EQ(t.desktop.placements.size(), 1u);
    const auto& placed = t.desktop.placements[0];
    const QWidget& form = *module1.form1();
    EXPECT_EQ(placed.area.size(), form.size() * 15);
    EXPECT_EQ(t.desktop.pointerPositions[0].x(), form.width() * 15 + 10);
}

// The file is read once, when the saver starts: a display made later (here
// for a monitor that changed size) shows the run's settings, whatever the
// file says by then.
TEST(MainDispatch, EveryDisplayOfARunShowsTheSettingsReadAtItsStart) {
    TestEnvironment t;
    t.folder.writeSettings("[saver]\nmode=1\nnewBackColor=255\n");
    startup::Module1 module1(t.env);
    ASSERT_TRUE(module1.Main(QStringLiteral("/s"), false));
    const display::Form1* first = module1.form1();
    t.folder.writeSettings("[saver]\nmode=1\nnewBackColor=65280\n");
    QScreen* screen = QGuiApplication::primaryScreen();
    emit screen->geometryChanged(first->geometry().adjusted(0, 0, -10, -10));
    ASSERT_NE(module1.form1(), first);
    EXPECT_EQ(module1.form1()->BackColor(), 255);
}
