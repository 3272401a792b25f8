// OffscreenPrompt: the password prompt (with its Message Board) on a surface
// that Qt does not own, such as a Wayland lock surface. The form is laid out
// at the surface's logical size, drawn into the surface's image at its
// scale, and fed the keys and clicks the surface receives.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointF>
#include <QRegion>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

#include "startup/password_prompt_host.h"

namespace startup {

class PasswordForm;

class OffscreenPrompt : public QObject, public PasswordPromptHost {
public:
    // `password` is the one that unlocks: typing it runs `unlocked`; Enter in
    // an empty password box or in the notes runs `resumed`.
    OffscreenPrompt(QString password, std::function<void()> unlocked, std::function<void()> resumed);
    ~OffscreenPrompt() override;

    // Runs whenever part of the prompt needs drawing again (typing, the
    // caret blinking, the flag of a wrong password).
    void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

    // Covers a surface of `size` logical pixels, the password box ready for
    // typing; a shown prompt is moved over to the new size.
    void show(QSize size);
    void hide();
    bool isShown() const;
    QSize size() const;
    // A failure of the display, shown below the controls.
    void setFailureMessage(const QString& message);

    // What changed since the last call, in logical pixels; everything after show().
    QRegion takeDirty();
    // Draws `region` (logical pixels) of the prompt through `painter`, whose
    // device's pixel ratio is the surface's scale.
    void render(QPainter& painter, const QRegion& region);

    // Input in logical pixels of the surface. `text` is what the key types
    // (empty for keys that type nothing).
    void keyPress(int key, Qt::KeyboardModifiers modifiers, const QString& text);
    void keyRelease(int key, Qt::KeyboardModifiers modifiers, const QString& text);
    void click(QPointF position, Qt::MouseButton button);

    PasswordForm& form() { return *form_; }

    // PasswordPromptHost
    void CheckPassword() override;
    void ResumeSaver() override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void markDirty(const QRegion& region);
    void sendKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text);

    QString password_;
    std::function<void()> unlocked_;
    std::function<void()> resumed_;
    std::function<void()> changed_;
    std::unique_ptr<PasswordForm> form_;
    QRegion dirty_;
    bool rendering_ = false;
};

}  // namespace startup
