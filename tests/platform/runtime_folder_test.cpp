#include "platform/runtime_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs a test with XDG_RUNTIME_DIR as given (null: unset) and puts the
// variable back afterwards.
class RuntimeVariable {
public:
    explicit RuntimeVariable(const char* value)
        : had_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")), old_(qgetenv("XDG_RUNTIME_DIR")) {
        if (value)
            qputenv("XDG_RUNTIME_DIR", value);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    ~RuntimeVariable() {
        if (had_)
            qputenv("XDG_RUNTIME_DIR", old_);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }

private:
    bool had_;
    QByteArray old_;
};

mode_t ModeOf(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

}  // namespace

TEST(RuntimeFolder, WithoutOneFromTheSessionAPrivateFolderIsMadeAndPublished) {
    QTemporaryDir temp;
    const RuntimeVariable unset(nullptr);
    const QString folder = platform::PrepareRuntimeFolder(temp.path());
    EXPECT_EQ(folder, QDir(temp.path()).filePath(QStringLiteral("glidorama-runtime-%1").arg(::getuid())));
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), folder);

    // A second run without the variable finds the same folder, with its mode put right.
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    const RuntimeVariable unsetAgain(nullptr);
    EXPECT_EQ(platform::PrepareRuntimeFolder(temp.path()), folder);
    EXPECT_EQ(ModeOf(folder), 0700u);
}

TEST(RuntimeFolder, TheSessionsFolderIsUsedAsItIs) {
    QTemporaryDir temp, session;
    const RuntimeVariable given(QFile::encodeName(session.path()).constData());
    EXPECT_EQ(platform::PrepareRuntimeFolder(temp.path()), session.path());
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(RuntimeFolder, ALinkInItsPlaceIsNeverUsed) {
    QTemporaryDir temp, elsewhere;
    const QString folder = QDir(temp.path()).filePath(QStringLiteral("glidorama-runtime-%1").arg(::getuid()));
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder));
    const RuntimeVariable unset(nullptr);
    EXPECT_EQ(platform::PrepareRuntimeFolder(temp.path()), temp.path());
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"));
}

TEST(RuntimeFolder, ASessionFolderThatIsNotThereCountsAsNone) {
    QTemporaryDir temp;
    const QByteArray gone = QFile::encodeName(temp.filePath(QStringLiteral("gone")));
    const RuntimeVariable given(gone.constData());
    const QString folder = platform::PrepareRuntimeFolder(temp.path());
    EXPECT_EQ(folder, QDir(temp.path()).filePath(QStringLiteral("glidorama-runtime-%1").arg(::getuid())));
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), folder);
}
