#include "platform/single_instance.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SingleInstance, ASecondHolderSeesThePreviousInstanceUntilTheFirstEnds) {
    QTemporaryDir runtime;
    auto first = std::make_unique<platform::SingleInstance>(runtime.path());
    EXPECT_FALSE(first->PrevInstance());
    EXPECT_TRUE(platform::SingleInstance(runtime.path()).PrevInstance());
    first.reset();
    EXPECT_FALSE(platform::SingleInstance(runtime.path()).PrevInstance());
}

TEST(SingleInstance, AFolderTheLockCannotBeWrittenToIsNoPreviousInstance) {
    QTemporaryDir runtime;
    const QString missing = runtime.filePath(QStringLiteral("gone"));
    EXPECT_FALSE(platform::SingleInstance(missing).PrevInstance());
}
