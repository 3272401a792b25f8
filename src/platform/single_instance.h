// The test for a previous instance: a per-user lock file in the runtime
// folder, held for as long as the program runs.
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace platform {

class SingleInstance {
public:
    // Tries to take the lock; `PrevInstance` tells whether another run holds it.
    explicit SingleInstance(const QString& runtimeFolder);
    bool PrevInstance() const { return !owned_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool owned_ = false;
};

}  // namespace platform
