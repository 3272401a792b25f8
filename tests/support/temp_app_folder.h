// A temporary program folder with the recorded stand-ins for the outside
// world, for tests that run the program's routines.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include "platform/environment.h"
#include "support/recorders.h"
#include "support/sequence_random.h"

namespace testing_support {

class TempAppFolder {
public:
    TempAppFolder();
    const QString& path() const { return path_; }
    QString file(const QString& name) const { return path_ + u'/' + name; }
    // Writes the settings file with the given text.
    void writeSettings(const QByteArray& text) const;
    QByteArray readSettings() const;
    // Creates the cache folder beside the program.
    void makeCacheFolder() const;

private:
    QTemporaryDir dir_;
    QString path_;
};

// A fixed clock for tests: `now` seconds since midnight, advanced by hand.
class FixedClock final : public platform::Clock {
public:
    double Timer() override { return now; }
    double monotonicSeconds() override { return elapsed; }
    double now = 43200.0;
    double elapsed = 1000.0;
};

// An environment of recorders around a temporary program folder.
struct TestEnvironment {
    TestEnvironment();
    TempAppFolder folder;
    FixedClock clock;
    platform::SequenceRandom random{0.5f};
    platform::RecordingMessages messages;
    platform::RecordingDesktop desktop;
    platform::RecordingEnd end;
    platform::Environment env;
};

}  // namespace testing_support
