#include "startup/password_form.h"

#include <QBackingStore>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

#include "dialog/password_rules.h"
#include "runtime/twips.h"

namespace startup {

namespace {

using platform::kTwipsPerPixel;
QRect Twips(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

// The character code a key press types, as the key-press handlers see it:
// 13 for Enter, 0 for keys that type nothing (Shift, arrows, ...) and for
// Tab, which moves between the boxes.
int TypedKey(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return 13;
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) return 0;
    const QString text = event->text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

// The password box shows a '*' for each character typed. A style sheet
// would say the same but bring in the style sheet engine: some 0.4 MB more
// for a prompt that is made at start.
class StarredPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

PasswordForm::PasswordForm(PasswordPromptHost& host)
    // Like the display, the prompt bypasses the window manager: it must come
    // out in front of the display, which no window manager stacks, and no
    // window manager may offer to move, minimise or close it.
    : QWidget(nullptr,
              Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnTopHint),
      host_(host) {
    setWindowTitle(QStringLiteral("Password Protection"));
    resize(3390 / kTwipsPerPixel, 2895 / kTwipsPerPixel);

    lblMessage = new QLabel(QStringLiteral("Message Board"), this);
    lblMessage->setGeometry(Twips(120, 120, 1455, 375));
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txtNotes = new QPlainTextEdit(this);
    txtNotes->setGeometry(Twips(120, 360, 3135, 1695));
    txtNotes->setPlainText(QStringLiteral(" \n"));
    txtNotes->setTabChangesFocus(true);

    lblPassword = new QLabel(QStringLiteral("Password"), this);
    lblPassword->setGeometry(Twips(120, 2160, 855, 375));
    lblPassword->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txtPassword = new QLineEdit(this);
    txtPassword->setGeometry(Twips(960, 2160, 2295, 285));
    txtPassword->setEchoMode(QLineEdit::Password);
    auto* starred = new StarredPasswordStyle;
    starred->setParent(txtPassword);
    txtPassword->setStyle(starred);

    wrongPass = new QLabel(QStringLiteral("INVALID PASSWORD!"), this);
    wrongPass->setGeometry(Twips(240, 2520, 3015, 375));
    QFont flagFont(QStringLiteral("MS Sans Serif"), 12, QFont::Bold);
    wrongPass->setFont(flagFont);
    QPalette flagPalette = wrongPass->palette();
    flagPalette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    wrongPass->setPalette(flagPalette);
    wrongPass->setVisible(false);

    failureMessage = new QLabel(this);
    failureMessage->setWordWrap(true);
    failureMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    failureMessage->setTextFormat(Qt::PlainText);
    failureMessage->setVisible(false);

    // The password box comes first in the tab order, then the notes.
    setTabOrder(txtPassword, txtNotes);
    // Whoever sits at the locked screen may type notes, nothing more. No
    // menu opens (a popup takes the grabs and gives them back to nobody when
    // it closes), and nothing is pasted or dropped: the clipboard belongs to
    // the user who locked the screen, and pasting from an empty one crashes
    // the notes box.
    // The scroll bars are included: theirs is a menu too.
    for (QWidget* box : findChildren<QWidget*>()) {
        box->setContextMenuPolicy(Qt::PreventContextMenu);
        box->setAcceptDrops(false);
        box->installEventFilter(this);
    }
    setContextMenuPolicy(Qt::PreventContextMenu);
    // Typing at any speed keeps the prompt quick and its memory flat: no
    // undo history, and bounded boxes.
    txtPassword->setMaxLength(dialog::kMaxPasswordLength);
    txtNotes->setUndoRedoEnabled(false);
    // Lines break anywhere: a long run without a blank, laid out for word
    // breaks, costs time that grows with the square of its length.
    txtNotes->setWordWrapMode(QTextOption::WrapAnywhere);
    notesTyping_.setSingleShot(true);
    notesTyping_.setInterval(0);
    connect(&notesTyping_, &QTimer::timeout, this, [this] { typePendingNotes(); });
}

void PasswordForm::Form_Load() { setPasswordText(QString()); }

void PasswordForm::prepare() {
    // The native window, the style and the fonts, and one rendering of
    // every control, the bold "INVALID PASSWORD!" among them.
    (void)winId();
    wrongPass->setVisible(true);
    (void)grab();
    wrongPass->setVisible(false);
    reservePixels();
}

void PasswordForm::reservePixels() {
    // The window's pixels are otherwise made at its first show, when the
    // screen is locked already: without the memory for them then, nothing
    // could be drawn and Qt would crash. They are made now, as many as the
    // largest monitor needs, and kept while the prompt is hidden.
    QSize largest = size();
    for (const QScreen* screen : QGuiApplication::screens()) largest = largest.expandedTo(screen->geometry().size());
    QBackingStore* store = backingStore();
    if (!store) return;
    store->resize(largest);
    store->beginPaint(QRect(QPoint(), largest));
    const QPaintDevice* pixels = store->paintDevice();
    const bool made = pixels && pixels->width() > 0;
    store->endPaint();
    if (!made) throw std::runtime_error("no memory for the password prompt's window");
}

void PasswordForm::takeContentsOf(const PasswordForm& old) {
    txtNotes->setPlainText(old.txtNotes->toPlainText());
    txtNotes->moveCursor(QTextCursor::End);
    setPasswordText(old.passwordText());
    setWrongPassVisible(old.wrongPass->isVisibleTo(&old));
    setFailureMessage(old.failureMessage->text());
}

QString PasswordForm::passwordText() const { return txtPassword->text(); }
void PasswordForm::setPasswordText(const QString& text) { txtPassword->setText(text); }
void PasswordForm::setWrongPassVisible(bool visible) { wrongPass->setVisible(visible); }

void PasswordForm::setFailureMessage(const QString& message) {
    failureMessage->setText(message);
    failureMessage->setVisible(!message.isEmpty());
}

void PasswordForm::ShowModeless() {
    // Maximised over the monitor that holds the pointer (or the primary one),
    // its controls in the top-left corner.
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    // The screen is set first: given only a geometry on another monitor,
    // Qt 6.8 moves the prompt there but keeps its first, small size.
    if (screen) {
        setScreen(screen);
        placeOver(screen->geometry());
    } else {
        placeOver(geometry());
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    // Each prompt starts in the password box, also when the notes had the
    // focus when the saver was resumed.
    txtPassword->setFocus(Qt::OtherFocusReason);
    show();
    raise();
    activateWindow();
    QTimer::singleShot(0, txtPassword, [this] {
        if (isVisible()) txtPassword->setFocus(Qt::OtherFocusReason);
    });
}

void PasswordForm::placeOver(const QRect& area) {
    setGeometry(area);
    // A failure message goes below the controls, across the rest of the monitor.
    const QRect below = Twips(120, 3000, 0, 0);
    failureMessage->setGeometry(below.x(), below.y(), std::max(area.width() - 2 * below.x(), 200),
                                std::max(area.height() - below.y() - below.x(), 100));
}

void PasswordForm::txtPassword_KeyPress(int key) {
    setWrongPassVisible(false);
    if (key != 13) return;
    if (passwordText().isEmpty())
        host_.ResumeSaver();
    else
        host_.CheckPassword();
}

void PasswordForm::txtNotes_KeyPress(int key) {
    if (key == 13) host_.ResumeSaver();
}

bool PasswordForm::isRefusedInput(QObject* watched, QEvent* event) const {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: {
            const auto* key = static_cast<QKeyEvent*>(event);
            return key->matches(QKeySequence::Paste) || key->key() == Qt::Key_Menu ||
                   (key->key() == Qt::Key_F10 && key->modifiers().testFlag(Qt::ShiftModifier));
        }
        case QEvent::MouseButtonPress:
            // Text dragged out of the notes would take the grabs for the
            // drag and give them back to nobody: a click first drops the
            // selection, so no drag starts.
            if (watched == txtNotes->viewport()) {
                QTextCursor cursor = txtNotes->textCursor();
                cursor.clearSelection();
                txtNotes->setTextCursor(cursor);
            }
            [[fallthrough]];
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // The middle button pastes the selection; the right one opens a menu.
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton ||
                   static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: return true;
        default: return false;
    }
}

bool PasswordForm::eventFilter(QObject* watched, QEvent* event) {
    if (isRefusedInput(watched, event)) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched == txtNotes) {
        // Characters typed into the notes are put in together, once the
        // keys waiting have all been read: laying out a long text again for
        // every key would fall behind fast typing, and the password could
        // not be typed until the notes caught up.
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = TypedKey(keyEvent);
        const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (key >= 32 && key != 127 && !(keyEvent->modifiers() & commands)) {
            if (pendingNotes_.size() < kMaxNotesLength) pendingNotes_ += keyEvent->text();
            notesTyping_.start();
            return true;
        }
        typePendingNotes();
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = TypedKey(static_cast<QKeyEvent*>(event));
        if (key != 0) {
            // The handler runs before the box takes the key, as a key-press
            // handler does; the key is then typed as usual.
            if (watched == txtPassword)
                txtPassword_KeyPress(key);
            else if (watched == txtNotes)
                txtNotes_KeyPress(key);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PasswordForm::typePendingNotes() {
    notesTyping_.stop();
    if (pendingNotes_.isEmpty()) return;
    const int room = kMaxNotesLength - (txtNotes->document()->characterCount() - 1);
    if (room > 0) txtNotes->insertPlainText(pendingNotes_.left(room));
    pendingNotes_.clear();
}

void PasswordForm::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace startup
