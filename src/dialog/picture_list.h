// The dialog's picture list. Each entry is a picture's full path (what the
// settings file keeps and "&OK" converts); a row shows the file name after a
// small thumbnail, and the full path in its tooltip. Thumbnails are decoded
// away from the dialog's thread, one at a time and only for the rows that are
// drawn, so a list of hundreds of photos opens and scrolls at once.
#pragma once

#include <QFutureWatcher>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QListWidget>
#include <QStringList>

namespace dialog {

class PictureList : public QListWidget {
    Q_OBJECT
public:
    explicit PictureList(QWidget* parent = nullptr);
    // A decode still running finishes before the list goes.
    ~PictureList() override;

    // Four rows high, as wide as a long file name.
    QSize sizeHint() const override;

    // The thumbnail of `path`, once decoded (null until then, or when the
    // file cannot be shown); asks for it when it has not been asked for yet.
    QIcon thumbnailOf(const QString& path);
    // Waits until every thumbnail asked for is decoded, unless the list is
    // switched off (for tests).
    void waitForThumbnails();

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitIconSize();
    void startNextDecode();
    void thumbnailDecoded();

    QHash<QString, QIcon> thumbnails_;
    // Asked for and not decoded yet; the newest (most likely still in
    // view) is decoded first.
    QStringList waiting_;
    QString decoding_;
    bool busy_ = false;
    QFutureWatcher<QImage>* decode_ = nullptr;
};

}  // namespace dialog
