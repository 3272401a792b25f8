// The main of a benchmark that needs widgets: a QApplication on the offscreen
// platform (unless another one is chosen), then every registered benchmark.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

inline int RunBenchmarksWithWidgets(int argc, char** argv, const std::function<void()>& setUp = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (setUp) setUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
