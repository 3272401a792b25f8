// The hosted display without a host window: its size rule, its failures
// (reported once on the message line, never ending the run) and the effect
// chosen on the command line.
#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include "display/clone_animation.h"
#include "display/float_animation.h"
#include "display/form1.h"
#include "runtime/clock.h"
#include "startup/hosted_saver.h"
#include "support/temp_app_folder.h"

using startup::HostedDisplaySize;

TEST(HostedSaver, AWindowOfHalfTheScreenOrMoreIsDrawnAtItsOwnSize) {
    EXPECT_EQ(HostedDisplaySize(QSize(1920, 1080), QSize(1920, 1080)), QSize(1920, 1080));
    EXPECT_EQ(HostedDisplaySize(QSize(960, 700), QSize(1920, 1080)), QSize(960, 700));
    EXPECT_EQ(HostedDisplaySize(QSize(2560, 1440), QSize(1920, 1080)), QSize(2560, 1440));
}

TEST(HostedSaver, APreviewWindowShowsTheScreenWideDisplayShrunkToItsShape) {
    EXPECT_EQ(HostedDisplaySize(QSize(300, 200), QSize(1920, 1080)), QSize(1920, 1280));
    EXPECT_EQ(HostedDisplaySize(QSize(320, 180), QSize(1280, 800)), QSize(1280, 720));
    EXPECT_EQ(HostedDisplaySize(QSize(0, 0), QSize(1280, 800)), QSize(1, 1));
}

namespace {

struct HostedFixture {
    testing_support::TestEnvironment t;
    startup::HostedOptions options;
    std::unique_ptr<startup::HostedSaver> saver;
    std::unique_ptr<display::Form1> form;

    void makePictures(std::initializer_list<int> numbers) {
        t.folder.makeCacheFolder();
        for (int n : numbers) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(QColor(40 + 50 * n, 100, 100));
            image.save(t.folder.file(QStringLiteral("Glidorama/Glidorama%1.dib").arg(n)), "BMP");
        }
    }
    display::Form1& load(const QByteArray& ini) {
        t.folder.writeSettings(ini);
        saver = std::make_unique<startup::HostedSaver>(t.env, options);
        form = std::make_unique<display::Form1>(saver->values(), t.env, *saver, QSize(200, 150));
        form->Form_Load();
        return *form;
    }
};

QByteArray Ini(int mode, int total, const char* more = "") {
    return QStringLiteral(
               "[saver]\nmode=%1\n%3[total]\nnewTotal=%2\nClonesOfImage=3\n[password]\n"
               "saverEnabled=1\nsaverPassword=pw\n")
        .arg(mode)
        .arg(total)
        .arg(QString::fromLatin1(more))
        .toUtf8();
}

}  // namespace

TEST(HostedSaver, AMissingFirstPictureIsReportedOnceAndTheDisplayStays) {
    HostedFixture f;
    f.load(Ini(0, 2));
    EXPECT_FALSE(f.t.end.ended);
    ASSERT_EQ(f.t.messages.shown.size(), 1u);
    EXPECT_TRUE(f.t.messages.shown[0].text.contains(QStringLiteral("Glidorama0.dib")));
    // The host guards the desktop: no key lock, whatever the password setting.
    EXPECT_FALSE(f.t.desktop.keyLockOn());
}

TEST(HostedSaver, AMissingLaterPictureIsPassedOverForTheNextOne) {
    HostedFixture f;
    f.makePictures({0, 1, 3});
    auto& form = f.load(Ini(0, 4));
    auto& show = dynamic_cast<display::CloneAnimation&>(*form.animation());
    ASSERT_TRUE(f.t.messages.shown.empty());
    // Ask for changes until the loader has been past picture 2 twice.
    double now = f.t.clock.elapsed * 1000;
    for (int change = 0; change < 8 && !f.t.end.ended; ++change) {
        show.clones().introCount = 4;
        show.Timer2_Timer();
        for (int tick = 0; tick < 3 && show.nextPictureLoader().Enabled(); ++tick) form.advanceTo(now += 16);
        EXPECT_FALSE(show.nextPictureLoader().Enabled()) << "the loader should move on to a picture that exists";
    }
    EXPECT_FALSE(f.t.end.ended);
    ASSERT_EQ(f.t.messages.shown.size(), 1u);  // once, though picture 2 failed twice
    EXPECT_TRUE(f.t.messages.shown[0].text.contains(QStringLiteral("Glidorama2.dib")));
    EXPECT_EQ(f.saver->reportedFailures().size(), 1);
}

TEST(HostedSaver, TheCommandLineEffectOverridesTheFile) {
    HostedFixture f;
    f.makePictures({0, 1});
    f.options.effect = 6;
    f.load(Ini(2, 2));
    EXPECT_EQ(f.saver->values().effect, settings::Effect::Vortex);
    HostedFixture plain;
    plain.makePictures({0, 1});
    plain.load(Ini(2, 2));
    EXPECT_EQ(plain.saver->values().effect, settings::Effect::Warp);
}

TEST(HostedSaver, AMissingFloatPictureIsPassedOverAndTheShowGoesOn) {
    HostedFixture f;
    // The show pauses between pictures by the clock: a real one lets it move on.
    platform::SystemClock clock;
    f.t.env.clock = &clock;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString good = f.t.folder.file(QStringLiteral("good.png"));
    image.save(good);
    const QString missing = f.t.folder.file(QStringLiteral("missing.png"));
    const QByteArray more = QStringLiteral("NeverChange=False\ncenterImage=1\nNextImageTime=1\n").toUtf8();
    auto& form =
        f.load(Ini(1, 2, more.constData()) + QStringLiteral("[images]\n0=%1\n1=%2\n").arg(missing, good).toUtf8());
    auto& show = dynamic_cast<display::FloatAnimation&>(*form.animation()).show();
    // Two changes: the first comes 250 ms after start and fails, the next a second later.
    QElapsedTimer waited;
    waited.start();
    while (show.floatImageIndex() < 2 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(f.t.end.ended);
    ASSERT_EQ(f.t.messages.shown.size(), 1u);
    EXPECT_TRUE(f.t.messages.shown[0].text.contains(QStringLiteral("missing.png")));
    EXPECT_TRUE(show.changeScheduler().Enabled());
    EXPECT_EQ(show.floatImageIndex(), 2);
}
