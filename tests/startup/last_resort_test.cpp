#include "startup/guarded_application.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>

#include "support/recorders.h"

namespace {

// Writes what the user would be told, and whether the keyboard was free by
// then, to standard error, where the death test can read it.
class StderrMessages final : public platform::MessageSink {
public:
    explicit StderrMessages(const platform::Desktop& desktop) : desktop_(desktop) {}
    int MsgBox(const QString& text, int style, const QString&) override {
        std::fprintf(stderr, "[lock %s, style %d] %s\n", desktop_.keyLockOn() ? "on" : "off", style,
                     qPrintable(platform::OneLine(text)));
        return platform::kOk;
    }

private:
    const platform::Desktop& desktop_;
};

void FailWithTheLockOn() {
    // Nothing that leaves files behind: the process ends without clean-up.
    platform::RecordingDesktop desktop;
    desktop.keyLock = true;
    StderrMessages messages(desktop);
    platform::Environment env{QString(), nullptr, nullptr, &messages, &desktop, nullptr};
    QWidget display;
    display.show();
    startup::FailUnexpectedly(&env, QStringLiteral("boom"));
}

}  // namespace

TEST(LastResort, ReleasesTheKeyLockBeforeSayingWhatHappenedAndEndsWithItsOwnStatus) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(FailWithTheLockOn(), testing::ExitedWithCode(startup::kUnexpectedErrorStatus),
                "\\[lock off, style 48\\] Glidorama stopped because of an unexpected error: boom");
}
