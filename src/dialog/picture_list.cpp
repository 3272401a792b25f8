#include "dialog/picture_list.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QPixmap>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QtConcurrent/QtConcurrentRun>

#include "picture/picture.h"

namespace dialog {

namespace {

// The picture decoded straight at a size that fits `box`, never enlarged;
// null when the file cannot be shown (selecting the entry says why).
QImage DecodeRowThumbnail(const QString& path, QSize box) {
    if (path.isEmpty()) return {};
    try {
        const platform::EncodedPicture picture = platform::EncodedPicture::Open(path);
        QSize size = picture.size();
        if (size.width() > box.width() || size.height() > box.height())
            size = size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        return picture.decode(size);
    } catch (const std::exception&) {
        return {};
    }
}

// Draws a row as its thumbnail and file name; the tooltip tells the full path.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(PictureList* list) : QStyledItemDelegate(list), list_(list) {}

    QString displayText(const QVariant& value, const QLocale&) const override {
        const QString path = value.toString();
        const QString name = QFileInfo(path).fileName();
        return name.isEmpty() ? path : name;
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QToolTip::showText(event->globalPos(), index.data().toString(), view->viewport(), option.rect);
        return true;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        // Every row keeps the thumbnail's room, so names line up before it is decoded.
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = list_->iconSize();
        option->icon = list_->thumbnailOf(index.data().toString());
        option->textElideMode = Qt::ElideMiddle;
    }

private:
    PictureList* list_;
};

constexpr int kRowsShown = 4;

}  // namespace

PictureList::PictureList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new RowDelegate(this));
    // Only the rows on view are measured and drawn, whatever the list's length.
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideMiddle);
    decode_ = new QFutureWatcher<QImage>(this);
    connect(decode_, &QFutureWatcherBase::finished, this, &PictureList::thumbnailDecoded);
    fitIconSize();
}

PictureList::~PictureList() { decode_->waitForFinished(); }

void PictureList::fitIconSize() {
    // A little taller than a line of text, in a photo's 4:3.
    const int height = fontMetrics().height() + 4;
    const QSize size(height * 4 / 3, height);
    if (size == iconSize()) return;
    setIconSize(size);
    // Those made for the old size would be drawn blurred.
    thumbnails_.clear();
}

void PictureList::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitIconSize();
    if (event->type() == QEvent::EnabledChange) startNextDecode();
}

QSize PictureList::sizeHint() const {
    const int row = std::max(iconSize().height(), fontMetrics().height()) + 4;
    const int frame = 2 * frameWidth();
    return {iconSize().width() + fontMetrics().averageCharWidth() * 30 + frame, row * kRowsShown + frame};
}

QIcon PictureList::thumbnailOf(const QString& path) {
    if (const auto made = thumbnails_.constFind(path); made != thumbnails_.cend()) return *made;
    if (path.isEmpty() || waiting_.contains(path) || (busy_ && path == decoding_)) return {};
    waiting_ << path;
    startNextDecode();
    return {};
}

void PictureList::startNextDecode() {
    // While the list is switched off ("&OK" preparing the pictures) the
    // decodes wait, leaving the machine to the preparing.
    if (busy_ || waiting_.isEmpty() || !isEnabled()) return;
    busy_ = true;
    decoding_ = waiting_.takeLast();
    const QSize box = iconSize() * devicePixelRatioF();
    decode_->setFuture(QtConcurrent::run(DecodeRowThumbnail, decoding_, box));
}

void PictureList::thumbnailDecoded() {
    busy_ = false;
    QImage image = decode_->result();
    QIcon icon;
    if (!image.isNull()) {
        image.setDevicePixelRatio(devicePixelRatioF());
        icon = QIcon(QPixmap::fromImage(image));
    }
    thumbnails_.insert(decoding_, icon);
    viewport()->update();
    startNextDecode();
}

void PictureList::waitForThumbnails() {
    while (busy_ || (!waiting_.isEmpty() && isEnabled()))
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace dialog
