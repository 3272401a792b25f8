// Glidorama: a picture screen saver. "/s" runs it full screen, "/c" opens
// its settings, "/p <window id>" draws its preview picture into a window.
// Under a desktop's screen-saver host, "--root" or "--window-id ID" run it
// inside the host's window.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

#include "imagestore/picture_scale.h"
#include "platform/environment.h"
#include "platform/qt_desktop.h"
#include "platform/runtime_folder.h"
#include "platform/signal_watch.h"
#include "platform/single_instance.h"
#include "startup/command_switch.h"
#include "startup/guarded_application.h"
#include "startup/hosted_options.h"
#include "startup/hosted_saver.h"
#include "startup/information_options.h"
#include "startup/module1.h"
#include "startup/user_files.h"
#include "startup/wayland_session.h"
#include "startup/x11_preview.h"

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList parts;
    for (int i = 1; i < argc; ++i) parts << QString::fromLocal8Bit(argv[i]);
    return parts;
}

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

bool OnX11(bool x11Asked) {
    return x11Asked || (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                        (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qgetenv("QT_QPA_PLATFORM") == "xcb"));
}

}  // namespace

int main(int argc, char** argv) {
    // A launcher that exits closes the pipe behind standard error: the next
    // line written there must not end the program (nor a locked screen).
    platform::IgnoreSignal(SIGPIPE);
    QStringList arguments = Arguments(argc, argv);
    // "--x11" keeps "/s" on X11 (XWayland) on a Wayland session.
    const bool x11Asked = arguments.removeAll(QStringLiteral("--x11")) > 0;
    if (const auto status = startup::RunInformationOption(arguments)) return *status;
    // The text after the program name, as one line (`Command$`).
    const QString commandLine = arguments.join(u' ');
    const startup::HostedParse hosted =
        startup::ParseHostedOptions(arguments, qEnvironmentVariable("XSCREENSAVER_WINDOW"));
    if (hosted.hosted && !hosted.options) {
        std::fprintf(stderr, "Glidorama: %s.\n", qPrintable(hosted.error));
        return 1;
    }
    if (hosted.hosted) startup::EndAtOnceOnHostSignals();
    if (!hosted.warning.isEmpty()) std::fprintf(stderr, "Glidorama: %s.\n", qPrintable(hosted.warning));
    // Before Qt starts: it looks for the runtime folder too, and complains
    // when the session has none. A host runs one saver per monitor, so
    // hosted mode takes no single-instance lock.
    const QString runtimeFolder = platform::PrepareRuntimeFolder(QDir::tempPath());
    std::optional<platform::SingleInstance> instance;
    if (!hosted.hosted) instance.emplace(runtimeFolder);
    const bool previousInstance = instance && instance->PrevInstance();
    const startup::CommandSwitch choice = startup::ParseCommandSwitch(commandLine);
    const bool needsForms = hosted.hosted || choice != startup::CommandSwitch::None;
    if (previousInstance || !needsForms) return 0;
    if (!HasDisplay()) {
        if (choice == startup::CommandSwitch::Preview) return 0;  // nothing to draw into
        std::fprintf(stderr, "Glidorama: no display to show on (DISPLAY is not set).\n");
        return 1;
    }
    // Qt aborts when the X server it is pointed at cannot be reached; find
    // out first, so the program can end with a plain word instead.
    auto probe = OnX11(x11Asked) ? std::make_unique<startup::XServerProbe>() : nullptr;
    if (probe && !probe->reachable()) {
        if (choice == startup::CommandSwitch::Preview) return 0;
        std::fprintf(stderr, "Glidorama: cannot open the display %s.\n", qgetenv("DISPLAY").constData());
        return 1;
    }

    // On a Wayland session "/s" talks to the compositor itself, and Qt only
    // paints and keeps time on its offscreen platform; the dialog is a
    // Wayland window.
    const bool waylandSession = startup::OnWaylandSession(x11Asked);
    const bool onWayland = waylandSession && choice == startup::CommandSwitch::FullScreen && !hosted.hosted;
    if (onWayland) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (waylandSession && choice == startup::CommandSwitch::Settings && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
    if (x11Asked && !qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
    startup::GuardedApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Glidorama"));
    probe.reset();
    platform::SystemClock clock;
    platform::SystemRandom random;
    // A hosted saver shows no window of its own, not even a message box.
    platform::QtMessageBox boxes;
    startup::StandardErrorMessages errorLines;
    // Nor does the saver on Wayland: Qt's offscreen platform shows nothing.
    platform::MessageSink& messages =
        hosted.hosted || onWayland ? static_cast<platform::MessageSink&>(errorLines) : boxes;
    platform::QtDesktop desktop;
    platform::ProcessEnd end(&desktop);
    const QString programFolder = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath();
    platform::Environment env{
        programFolder, &clock, &random, &messages, &desktop, &end, platform::ProgramLayout(programFolder)};
    // With no settings yet, the picture size is "Automatic". The saver on
    // Wayland seeds once it has learnt the outputs: Qt sees none of them.
    if (!onWayland) startup::SeedUserFiles(env.layout, imagestore::LargestScreenScale(0));
    app.setEnvironment(&env);

    if (hosted.hosted) {
        startup::HostedSaver saver(env, *hosted.options);
        try {
            if (!saver.Start()) return 0;  // the host's window is already gone
        } catch (const std::exception& e) {
            startup::FailUnexpectedly(&env, QString::fromLocal8Bit(e.what()));
        }
        return app.exec();
    }

    startup::Module1 module1(env);
    module1.onWayland = onWayland;
    try {
        if (!module1.Main(commandLine, previousInstance)) return 0;
    } catch (const std::exception& e) {
        startup::FailUnexpectedly(&env, QString::fromLocal8Bit(e.what()));
    }
    if (choice == startup::CommandSwitch::Settings) app.setQuitOnLastWindowClosed(true);
    return app.exec();
}
