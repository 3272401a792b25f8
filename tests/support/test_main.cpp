#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

#include "platform/runtime_folder.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program does: Qt wants a runtime folder and complains without one.
    platform::PrepareRuntimeFolder(QDir::tempPath());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
