// PasswordForm: the prompt that stands between the user and the desktop
// when password protection is on, with a free "Message Board" for notes.
// Loaded on its first show, afterwards only hidden and shown again.
#pragma once

#include <QTimer>
#include <QWidget>

#include "startup/password_prompt_host.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace startup {

class PasswordForm : public QWidget {
public:
    explicit PasswordForm(PasswordPromptHost& host);

    // The most the notes box holds.
    static constexpr int kMaxNotesLength = 64 * 1024;

    void Form_Load();
    // Makes everything the prompt needs to show, so showing it later cannot fail.
    void prepare();
    // The notes, the password typed and the messages of a prompt whose
    // window another program destroyed.
    void takeContentsOf(const PasswordForm& old);
    // Shows the form maximised in front of the display, the password box
    // ready for typing.
    void ShowModeless();
    // Sizes the form to cover `area` and lays out the failure message below
    // the controls; ShowModeless does it for the pointer's monitor.
    void placeOver(const QRect& area);

    // `key` is the character code of the key typed (13 for Enter).
    void txtPassword_KeyPress(int key);
    void txtNotes_KeyPress(int key);

    // What Module1 reads and sets on the form.
    QString passwordText() const;
    void setPasswordText(const QString& text);
    void setWrongPassVisible(bool visible);
    // A failure of the display, shown below the controls while the screen
    // stays locked.
    void setFailureMessage(const QString& message);

    QLabel* lblMessage;
    QPlainTextEdit* txtNotes;
    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QLabel* wrongPass;
    QLabel* failureMessage;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The prompt cannot be closed: only the right password ends the saver.
    void closeEvent(QCloseEvent* event) override;

private:
    // Keys, clicks and drops that would paste or open a menu: the prompt
    // ignores them (see the constructor).
    bool isRefusedInput(QObject* watched, QEvent* event) const;
    // Makes the window's pixels for the largest monitor; throws when the
    // memory for them cannot be had.
    void reservePixels();
    // Puts the characters typed into the notes since the last time in.
    void typePendingNotes();

    PasswordPromptHost& host_;
    QString pendingNotes_;
    QTimer notesTyping_;
};

}  // namespace startup
