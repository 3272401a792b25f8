// The picture list: adding, removing and previewing pictures.
#include <QCoreApplication>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

#include "dialog/form2.h"
#include "dialog/picture_gathering.h"
#include "dialog/picture_list.h"
#include "dialog/picture_view.h"
#include "runtime/colors.h"
#include "picture/picture.h"
#include "platform/remembered_folder.h"
#include "runtime/scoped_flag.h"
#include "runtime/vb.h"
#include "settings/defaults.h"

namespace dialog {

namespace {

constexpr long kThumbMaxWidth = 3375;
constexpr long kThumbMaxHeight = 1815;

// Shrinks by 0.9 a step until the size fits the thumbnail box.
void ShrinkToThumbnail(long& width, long& height) {
    if (width < kThumbMaxWidth && height < kThumbMaxHeight) return;
    while (width >= kThumbMaxWidth || height >= kThumbMaxHeight) {
        width = vb::CLng(width * 0.9);
        height = vb::CLng(height * 0.9);
    }
}

const QString kNoFileSelected = QStringLiteral("No file has been selected.");

// `ratio` is the thumbnail box's device pixels to one of its pixels.
Form2::DecodedThumbnail DecodeThumbnail(const QString& path, const QColor& background, qreal ratio) {
    Form2::DecodedThumbnail decoded;
    if (path.isEmpty()) {
        decoded.failure = QStringLiteral("Image file not found.");
        return decoded;
    }
    try {
        // Only the thumbnail is ever drawn, so the picture is decoded straight
        // at that size (far faster for large photos); its natural size still
        // drives the reduction.
        const platform::EncodedPicture picture = platform::EncodedPicture::Open(path);
        decoded.natural = picture.size();
        long width = long(decoded.natural.width()) * platform::kTwipsPerPixel;
        long height = long(decoded.natural.height()) * platform::kTwipsPerPixel;
        ShrinkToThumbnail(width, height);
        const QSize drawn(std::max(1L, width / platform::kTwipsPerPixel),
                          std::max(1L, height / platform::kTwipsPerPixel));
        // Decoded at the box's device pixels (never above the picture's own),
        // so the thumbnail is sharp on a scaled screen.
        const QSize device = (QSizeF(drawn) * ratio).toSize().boundedTo(decoded.natural).expandedTo(drawn);
        // Transparent parts show the saver's background colour, as they will on screen.
        decoded.picture = platform::OverBackground(picture.decode(device), background);
    } catch (const std::exception& e) {
        decoded.failure = platform::RefusalMessage(path, e);
    }
    return decoded;
}

}  // namespace

void Form2::pictureList_Click() {
    const QListWidgetItem* item = pictureList->currentItem();
    wantedThumbnail_ = item ? item->text() : QString();
    ++thumbnailRequest_;
    // One decode at a time; a selection made meanwhile waits for it, and
    // only the newest of those is decoded next.
    if (!thumbnailBusy_) startThumbnail();
}

void Form2::startThumbnail() {
    thumbnailBusy_ = true;
    startedRequest_ = thumbnailRequest_;
    thumbnailDecode_->setFuture(QtConcurrent::run(
        DecodeThumbnail, *wantedThumbnail_, platform::FromWindowsColor(dialogColor_), thumbnail->devicePixelRatioF()));
}

void Form2::dropThumbnail() {
    ++thumbnailRequest_;
    wantedThumbnail_.reset();
}

void Form2::thumbnailDecoded() {
    thumbnailBusy_ = false;
    if (startedRequest_ != thumbnailRequest_) {
        // The selection moved on: this picture is no longer wanted.
        if (wantedThumbnail_) startThumbnail();
        return;
    }
    const DecodedThumbnail decoded = thumbnailDecode_->result();
    // On failure the box keeps the picture it had.
    if (decoded.failure.isEmpty()) {
        photoPicture = decoded.picture;
        photoWidth = long(decoded.natural.width()) * platform::kTwipsPerPixel;
        photoHeight = long(decoded.natural.height()) * platform::kTwipsPerPixel;
    }
    thumbnail->box().Cls();
    thumbWidth = photoWidth;
    thumbHeight = photoHeight;
    ShowThumbnail();
    if (!decoded.failure.isEmpty())
        env_.messages->MsgBox(
            decoded.failure + QStringLiteral("\r\n") + QStringLiteral("You need to reload a new one."),
            platform::kExclamation);
}

void Form2::waitForThumbnail() {
    while (thumbnailBusy_) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void Form2::add_Click() {
    platform::OpenFileRequest request;
    request.title = QStringLiteral("Select a file to open");
    request.filters = PictureFilters();
    request.filterIndex = 0;
    request.folder = platform::RememberedPictureFolder();
    const std::optional<QStringList> chosen = dialogs_->ShowOpenFiles(this, request);
    if (!chosen || chosen->isEmpty()) {
        env_.messages->MsgBox(kNoFileSelected, platform::kExclamation);
        return;
    }
    platform::RememberPictureFolder(QFileInfo(chosen->first()).absolutePath());
    // A file that is not a picture never enters the list: kept there, it
    // would only stop the next "&OK".
    QStringList pictures;
    QStringList refused;
    for (const QString& path : *chosen) (LooksLikePicture(path) ? pictures : refused) << path;
    addPictures(pictures, refused, {});
}

void Form2::addFolder_Click() {
    const std::optional<QString> folder =
        dialogs_->ShowFolder(this, QStringLiteral("Select a folder of pictures"), platform::RememberedPictureFolder());
    if (!folder || folder->isEmpty()) return;
    platform::RememberPictureFolder(*folder);
    const FolderPictures found = PicturesInFolder(*folder);
    if (found.pictures.isEmpty() && found.unreadable.isEmpty()) {
        const AddingSummary summary = SummaryOfAdding(0, found.skipped, {});
        env_.messages->MsgBoxDetails(QStringLiteral("No pictures Glidorama can show were found in ") + *folder,
                                     summary.details, platform::kExclamation);
        return;
    }
    addPictures(found.pictures, found.skipped, found.unreadable);
}

void Form2::addPictures(const QStringList& pictures, const QStringList& skipped, const QStringList& unreadable) {
    // Entries already listed, or chosen twice, are added once.
    QSet<QString> listed;
    for (int i = 0; i < pictureList->count(); ++i) listed.insert(pictureList->item(i)->text());
    QStringList fresh;
    for (const QString& path : pictures)
        if (!listed.contains(path)) {
            listed.insert(path);
            fresh << path;
        }
    if (!fresh.isEmpty()) {
        // A new user's own pictures would otherwise wait behind the samples.
        const bool replaceSamples =
            holdsOnlySamples() && env_.messages->MsgBox(QStringLiteral("Replace the sample pictures with yours?"),
                                                        platform::kYesNoQuestion) == platform::kYes;
        {
            platform::ScopedFlag fromCode(settingFromCode_);
            if (replaceSamples) pictureList->clear();
            pictureList->addItems(fresh);
        }
        // Selecting the last new entry shows its thumbnail.
        selectListEntry(pictureList->count() - 1);
        pictureCount->setText(vb::CStr(int32_t(pictureList->count())));
    }
    if (skipped.isEmpty() && unreadable.isEmpty()) return;
    const AddingSummary summary = SummaryOfAdding(int(fresh.size()), skipped, unreadable);
    env_.messages->MsgBoxDetails(summary.text, summary.details, platform::kExclamation);
}

bool Form2::holdsOnlySamples() const {
    if (pictureList->count() == 0) return false;
    const QStringList samples = settings::DefaultPictures(env_.samplesHome());
    for (int i = 0; i < pictureList->count(); ++i)
        if (!samples.contains(pictureList->item(i)->text())) return false;
    return true;
}

void Form2::remove_Click() {
    const int i = pictureList->currentRow();
    if (pictureList->count() == 0 || pictureList->item(0)->text().isEmpty() || i < 0 || i >= pictureList->count()) {
        env_.messages->MsgBox(QStringLiteral("Nothing was selected to remove."), platform::kExclamation);
        return;
    }
    dropThumbnail();
    thumbnail->box().Cls();
    thumbnail->refresh();
    {
        platform::ScopedFlag fromCode(settingFromCode_);
        delete pictureList->takeItem(i);
        pictureList->setCurrentRow(-1);
    }
    const bool firstFilled = pictureList->count() > 0 && !pictureList->item(0)->text().isEmpty();
    if (firstFilled) selectListEntry(i == 0 ? 0 : i - 1);
    pictureCount->setText(vb::CStr(int32_t(pictureList->count())));
}

void Form2::RemoveAll_Click() {
    if (env_.messages->MsgBox(QStringLiteral("Do you really want to remove all loaded images?"),
                              platform::kYesNoExclamation) != platform::kYes)
        return;
    {
        platform::ScopedFlag fromCode(settingFromCode_);
        pictureList->clear();
    }
    dropThumbnail();
    thumbnail->box().Cls();
    thumbnail->refresh();
    pictureCount->setText(vb::CStr(int32_t(pictureList->count())));
}

void Form2::ShowThumbnail() {
    if (thumbWidth >= kThumbMaxWidth || thumbHeight >= kThumbMaxHeight) ShrinkToThumbnail(thumbWidth, thumbHeight);
    // At natural size the thumbnail is the picture's own size; either way
    // it starts at the box's top-left corner.
    thumbnail->box().PaintPicture(photoPicture, 0, 0, double(thumbWidth), double(thumbHeight));
    thumbnail->refresh();
}

}  // namespace dialog
