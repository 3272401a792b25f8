// A display under test: a temporary program folder with a settings file and
// small cached pictures, recorders for the outside world, and Form1 on a
// small screen whose effect's steps the test runs by hand.
#pragma once

#include <QColor>
#include <QImage>
#include <QStringList>

#include <memory>

#include "display/float_animation.h"
#include "display/clone_animation.h"
#include "display/display_host.h"
#include "display/form1.h"
#include "settings/values.h"
#include "support/temp_app_folder.h"

namespace display_test {

class FakeHost final : public display::DisplayHost {
public:
    void RequestExit() override { ++exitRequests; }
    void CountMouseMove() override { ++countedMoves; }
    display::FailureOutcome DisplayFailed(const QString& message) override {
        failures << message;
        return outcome;
    }

    int exitRequests = 0;
    int countedMoves = 0;
    QStringList failures;
    display::FailureOutcome outcome = display::FailureOutcome::End;
};

// The colour cached picture N is filled with, so a test can tell pictures apart.
inline QColor PictureColor(int n) { return QColor(40 + 50 * n, 200 - 30 * n, 90 + 20 * n); }

struct DisplayFixture {
    testing_support::TestEnvironment t;
    FakeHost host;
    settings::Values values;
    std::unique_ptr<display::Form1> form;

    // Writes `count` cached pictures of the given size, each one colour.
    void makePictures(int count, QSize size = QSize(40, 32)) {
        t.folder.makeCacheFolder();
        for (int n = 0; n < count; ++n) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(PictureColor(n));
            image.save(t.folder.file(QStringLiteral("Glidorama/Glidorama%1.dib").arg(n)), "BMP");
        }
    }
    display::Form1& load(const QByteArray& ini, QSize screen = QSize(200, 150)) {
        t.folder.writeSettings(ini);
        values = settings::ReadValues(t.env.settingsFolder(), t.env.samplesHome());
        form = std::make_unique<display::Form1>(values, t.env, host, screen);
        form->Form_Load();
        return *form;
    }
    // The running clone effect, or Float.
    display::CloneAnimation& clones() { return dynamic_cast<display::CloneAnimation&>(*form->animation()); }
    display::FloatAnimation& floating() { return dynamic_cast<display::FloatAnimation&>(*form->animation()); }
    // Float's pictures as they are now, shown as the display shows a tick's frame.
    void presentFloat() {
        floating().presentPictures();
        form->presentChanges();
    }
    // Which cached picture a set shows, from the colour of its source box.
    static int pictureNumber(const platform::PictureBox& box) {
        if (box.Picture().isNull()) return -1;
        const QRgb c = box.Picture().pixel(0, 0);
        for (int n = 0; n < 5; ++n)
            if (QColor(c) == PictureColor(n)) return n;
        return -2;
    }
};

}  // namespace display_test

namespace display_test {

// A settings file for the display: effect, pictures, clones and any further
// lines for the [saver] and [password] sections.
inline QByteArray Ini(int mode, int newTotal, int clones, const QString& saver = QString(),
                      const QString& password = QString()) {
    return QStringLiteral(
               "[saver]\nmode=%1\nnewBackColor=0\n%4[total]\nnewTotal=%2\nClonesOfImage=%3\n"
               "[speed]\nimageSpeed=20\n[password]\n%5")
        .arg(mode)
        .arg(newTotal)
        .arg(clones)
        .arg(saver, password)
        .toUtf8();
}

}  // namespace display_test
