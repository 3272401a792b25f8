// Glidorama: a picture screen saver. "/s" runs it full screen, "/c" opens
// its settings, "/p <window id>" draws its preview picture into a window.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>

#include "platform/environment.h"
#include "platform/qt_system_calls.h"
#include "platform/runtime_folder.h"
#include "platform/single_instance.h"
#include "startup/guarded_application.h"
#include "startup/module1.h"
#include "startup/x11_preview.h"

namespace {

// The text after the program name, as one line (`Command$`).
QString CommandLine(int argc, char** argv) {
    QStringList parts;
    for (int i = 1; i < argc; ++i) parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(u' ');
}

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

bool OnX11() {
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qgetenv("QT_QPA_PLATFORM") == "xcb");
}

}  // namespace

int main(int argc, char** argv) {
    const QString commandLine = CommandLine(argc, argv);
    // Before Qt starts: it looks for the runtime folder too, and complains
    // when the session has none.
    const platform::SingleInstance instance(platform::PrepareRuntimeFolder(QDir::tempPath()));
    const QString choice = commandLine.left(2).toLower();
    const bool needsForms = choice == QLatin1String("/c") || choice == QLatin1String("/s") || choice == QLatin1String("/p");
    if (instance.PrevInstance() || !needsForms) return 0;
    if (!HasDisplay()) {
        if (choice == QLatin1String("/p")) return 0;  // nothing to draw into
        std::fprintf(stderr, "Glidorama: no display to show on (DISPLAY is not set).\n");
        return 1;
    }
    // Qt aborts when the X server it is pointed at cannot be reached; find
    // out first, so the program can end with a plain word instead.
    auto probe = OnX11() ? std::make_unique<startup::XServerProbe>() : nullptr;
    if (probe && !probe->reachable()) {
        if (choice == QLatin1String("/p")) return 0;
        std::fprintf(stderr, "Glidorama: cannot open the display %s.\n", qgetenv("DISPLAY").constData());
        return 1;
    }

    startup::GuardedApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Glidorama"));
    probe.reset();
    platform::SystemClock clock;
    platform::SystemRandom random;
    platform::QtMessageBox messages;
    platform::QtSystemCalls system;
    platform::ProcessEnd end(&system);
    platform::Environment env{QFileInfo(QCoreApplication::applicationFilePath()).absolutePath(), &clock, &random,
                              &messages, &system, &end};
    app.setEnvironment(&env);

    startup::Module1 module1(env);
    try {
        if (!module1.Main(commandLine, instance.PrevInstance())) return 0;
    } catch (const std::exception& e) {
        startup::FailUnexpectedly(&env, QString::fromLocal8Bit(e.what()));
    }
    if (choice == QLatin1String("/c")) app.setQuitOnLastWindowClosed(true);
    return app.exec();
}
