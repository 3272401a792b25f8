#include "startup/offscreen_prompt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "startup/password_form.h"

namespace startup {

OffscreenPrompt::OffscreenPrompt(QString password, std::function<void()> unlocked, std::function<void()> resumed)
    : password_(std::move(password)),
      unlocked_(std::move(unlocked)),
      resumed_(std::move(resumed)),
      form_(std::make_unique<PasswordForm>(*this)) {
    form_->Form_Load();
    // Whatever repaints itself (a key typed, the caret, the wrong-password
    // flag) marks its part of the prompt to be drawn onto the surface again.
    form_->installEventFilter(this);
    for (QWidget* child : form_->findChildren<QWidget*>()) child->installEventFilter(this);
}

OffscreenPrompt::~OffscreenPrompt() = default;

void OffscreenPrompt::show(QSize size) {
    form_->placeOver(QRect(QPoint(0, 0), size));
    form_->txtPassword->setFocus(Qt::OtherFocusReason);
    form_->show();
    form_->activateWindow();
    markDirty(form_->rect());
}

void OffscreenPrompt::hide() { form_->hide(); }
bool OffscreenPrompt::isShown() const { return form_->isVisible(); }
QSize OffscreenPrompt::size() const { return form_->size(); }
void OffscreenPrompt::setFailureMessage(const QString& message) { form_->setFailureMessage(message); }

QRegion OffscreenPrompt::takeDirty() { return std::exchange(dirty_, QRegion()); }

void OffscreenPrompt::render(QPainter& painter, const QRegion& region) {
    if (region.isEmpty()) return;  // QWidget::render would draw everything
    // Drawing the form sends it paint events of its own: those are not changes.
    rendering_ = true;
    form_->render(&painter, region.boundingRect().topLeft(), region,
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    rendering_ = false;
}

void OffscreenPrompt::keyPress(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    sendKey(QEvent::KeyPress, key, modifiers, text);
}

void OffscreenPrompt::keyRelease(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    sendKey(QEvent::KeyRelease, key, modifiers, text);
}

void OffscreenPrompt::sendKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    if (!isShown()) return;
    QWidget* target = form_->focusWidget();
    if (!target) target = form_->txtPassword;
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(target, &event);
}

void OffscreenPrompt::click(QPointF position, Qt::MouseButton button) {
    if (!isShown()) return;
    QWidget* target = form_->childAt(position.toPoint());
    if (!target) target = form_.get();
    // A click gives the focus to the box under it, as a window system's does.
    for (QWidget* w = target; w && !w->isWindow(); w = w->parentWidget())
        if (w->focusPolicy() & Qt::ClickFocus) {
            w->setFocus(Qt::MouseFocusReason);
            break;
        }
    const QPointF local = target->mapFrom(form_.get(), position);
    QMouseEvent press(QEvent::MouseButtonPress, local, position, position, button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, position, position, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void OffscreenPrompt::CheckPassword() {
    if (form_->passwordText() == password_) {
        unlocked_();
        return;
    }
    form_->setWrongPassVisible(true);
    form_->setPasswordText(QString());
}

void OffscreenPrompt::ResumeSaver() { resumed_(); }

bool OffscreenPrompt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !rendering_) {
        auto* widget = static_cast<QWidget*>(watched);
        markDirty(static_cast<QPaintEvent*>(event)->region().translated(widget->mapTo(form_.get(), QPoint(0, 0))));
    }
    return QObject::eventFilter(watched, event);
}

void OffscreenPrompt::markDirty(const QRegion& region) {
    const bool wasClean = dirty_.isEmpty();
    dirty_ += region;
    if (wasClean && changed_) changed_();
}

}  // namespace startup
