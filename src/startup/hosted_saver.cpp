#include "startup/hosted_saver.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "display/form1.h"
#include "runtime/messages.h"
#include "platform/signal_watch.h"
#include "platform/desktop.h"
#include "startup/host_window.h"

namespace startup {

namespace {
constexpr int kSettleMilliseconds = 150;

extern "C" void EndAtOnce(int) { ::_exit(0); }
}  // namespace

void EndAtOnceOnHostSignals() {
    struct sigaction action {};
    action.sa_handler = EndAtOnce;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

QSize HostedDisplaySize(QSize window, QSize screen) {
    if (window.isEmpty()) return QSize(1, 1);
    if (screen.isEmpty() || window.width() * 2 >= screen.width()) return window;
    const int height = int(std::lround(double(screen.width()) * window.height() / window.width()));
    return QSize(screen.width(), std::max(1, height));
}

HostedSaver::HostedSaver(platform::Environment& env, const HostedOptions& options)
    : env_(env), options_(options), values_(settings::ReadValues(env.settingsFolder(), env.samplesHome())) {
    if (options_.effect) values_.effect = settings::Effect::FromNumber(*options_.effect);
    rebuildTimer_.setSingleShot(true);
    rebuildTimer_.setInterval(kSettleMilliseconds);
    QObject::connect(&rebuildTimer_, &QTimer::timeout, [this] { buildDisplay(hostWindow_->size()); });
}

HostedSaver::~HostedSaver() {
    form1_.reset();
    hostWindowHandle_.reset();
}

bool HostedSaver::Start() {
    // A host stops its saver with a signal; ending at once with status 0
    // tells it the saver went quietly.
    signalWatch_ = std::make_unique<platform::SignalWatch>(std::initializer_list<int>{SIGTERM, SIGINT, SIGHUP},
                                                           [this](int) { end(); });
    hostWindow_ = std::make_unique<HostWindow>(options_.window);
    if (!hostWindow_->exists()) return false;
    hostWindow_->onDestroyed = [this] { end(); };
    hostWindow_->onResized = [this](QSize) { rebuildTimer_.start(); };
    hostWindowHandle_.reset(QWindow::fromWinId(WId(hostWindow_->id())));
    buildDisplay(hostWindow_->size());
    return true;
}

void HostedSaver::buildDisplay(QSize windowSize) {
    if (form1_ && form1_->size() == windowSize) return;
    // The display is made anew at the new size: its picture sets and clone
    // paths all follow from the size it starts with.
    form1_.reset();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize displaySize = HostedDisplaySize(windowSize, screen ? screen->size() : QSize());
    form1_ = std::make_unique<display::Form1>(values_, env_, *this, QRect(QPoint(0, 0), displaySize));
    form1_->setAttribute(Qt::WA_NativeWindow);
    form1_->winId();
    QWindow* own = form1_->windowHandle();
    // Input goes through to the host's window: the host decides when the
    // saver ends.
    own->setFlag(Qt::WindowTransparentForInput, true);
    own->setParent(hostWindowHandle_.get());
    form1_->setGeometry(QRect(QPoint(0, 0), windowSize));
    form1_->Form_Load();
    form1_->show();
}

int StandardErrorMessages::MsgBox(const QString& text, int style, const QString& title) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(platform::OneLine(text)));
    std::fflush(stderr);
    return style == platform::kYesNoExclamation ? platform::kNo : platform::kOk;
}

display::FailureOutcome HostedSaver::DisplayFailed(const QString& message) {
    if (!reported_.contains(message)) {
        reported_.insert(message);
        env_.messages->MsgBox(message, platform::kExclamation);
    }
    return display::FailureOutcome::PassOver;
}

void HostedSaver::end() { env_.end->End(0); }

}  // namespace startup
