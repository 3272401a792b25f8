// What the program reaches of the outside world, gathered in one place so
// tests can run the forms against a temporary folder, a fixed clock and
// random source, recorded messages and a recorded desktop.
#pragma once

#include <QString>

#include "runtime/clock.h"
#include "platform/file_layout.h"
#include "runtime/messages.h"
#include "platform/desktop.h"

namespace platform {

// Ending the program (`End`): every form goes away at once.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Callers return straight after this; in the real program it does not return.
    virtual void End(int exitCode = 0) = 0;
};

class ProcessEnd final : public ProgramEnd {
public:
    explicit ProcessEnd(Desktop* desktop) : desktop_(desktop) {}
    [[noreturn]] void End(int exitCode = 0) override;

private:
    Desktop* desktop_;
};

struct Environment {
    QString appPath;  // the program's folder (App.Path)
    Clock* clock = nullptr;
    RandomSource* random = nullptr;
    MessageSink* messages = nullptr;
    Desktop* desktop = nullptr;
    ProgramEnd* end = nullptr;
    // Where the settings file, the cache folder and the samples live; a part
    // left empty means the program's folder.
    FileLayout layout{};

    // Every reader and writer of those files asks here.
    QString settingsFolder() const { return layout.settingsFolder.isEmpty() ? appPath : layout.settingsFolder; }
    QString dataFolder() const { return layout.dataFolder.isEmpty() ? appPath : layout.dataFolder; }
    QString samplesHome() const { return layout.samplesHome.isEmpty() ? appPath : layout.samplesHome; }
};

// The program folder followed by one folder separator.
QString FolderWithSeparator(const QString& folder);

}  // namespace platform
