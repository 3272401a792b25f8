// The picture list: adding, removing and previewing pictures.
#include <QLineEdit>
#include <QFileInfo>
#include <QListWidget>
#include <QSet>

#include "dialog/form2.h"
#include "dialog/picture_gathering.h"
#include "dialog/picture_view.h"
#include "platform/colors.h"
#include "platform/picture.h"
#include "platform/remembered_folder.h"
#include "platform/scoped_flag.h"
#include "platform/vb.h"

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

}  // namespace

void Form2::loadPhoto(const QString& path) {
    // The box only ever serves the thumbnail, so the picture is decoded
    // straight at the size it will be drawn (far faster for large photos);
    // its natural size still drives the reduction.
    const platform::EncodedPicture picture = platform::EncodedPicture::Open(path);
    const QSize natural = picture.size();
    long width = long(natural.width()) * platform::kTwipsPerPixel;
    long height = long(natural.height()) * platform::kTwipsPerPixel;
    ShrinkToThumbnail(width, height);
    const QSize drawn(std::max(1L, width / platform::kTwipsPerPixel), std::max(1L, height / platform::kTwipsPerPixel));
    // Transparent parts show the saver's background colour, as they will on screen.
    photoPicture = platform::OverBackground(picture.decode(drawn), platform::FromWindowsColor(dialogColor_));
    photoWidth = long(natural.width()) * platform::kTwipsPerPixel;
    photoHeight = long(natural.height()) * platform::kTwipsPerPixel;
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
        env_.messages->MsgBox(QStringLiteral("No pictures Glidorama can show were found in ") + *folder,
                              platform::kExclamation);
        return;
    }
    addPictures(found.pictures, {}, found.unreadable);
}

void Form2::addPictures(const QStringList& pictures, const QStringList& refused, const QStringList& unreadable) {
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
        {
            platform::ScopedFlag fromCode(settingFromCode_);
            pictureList->addItems(fresh);
        }
        // Selecting the last new entry shows its thumbnail.
        selectListEntry(pictureList->count() - 1);
        pictureCount->setText(vb::CStr(int32_t(pictureList->count())));
    }
    const QString message = RefusedFilesMessage(refused, unreadable);
    if (!message.isEmpty()) env_.messages->MsgBox(message, platform::kExclamation);
}

void Form2::remove_Click() {
    const int i = pictureList->currentRow();
    if (pictureList->count() == 0 || pictureList->item(0)->text().isEmpty() || i < 0 || i >= pictureList->count()) {
        env_.messages->MsgBox(QStringLiteral("Nothing was selected to remove."), platform::kExclamation);
        return;
    }
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
    thumbnail->box().Cls();
    thumbnail->refresh();
    pictureCount->setText(vb::CStr(int32_t(pictureList->count())));
}

void Form2::pictureList_Click() {
    // Each step goes on after a failure; one message at the end says so.
    QString failure;
    const QListWidgetItem* item = pictureList->currentItem();
    const QString path = item ? item->text() : QString();
    try {
        loadPhoto(path);
    } catch (const vb::RuntimeError& e) {
        // The box keeps the picture it had.
        failure = path.isEmpty() ? QStringLiteral("Image file not found.") : platform::RefusalMessage(path, e);
    }
    thumbnail->box().Cls();
    thumbWidth = photoWidth;
    thumbHeight = photoHeight;
    ShowThumbnail();
    if (!failure.isEmpty())
        env_.messages->MsgBox(failure + QStringLiteral("\r\n") + QStringLiteral("You need to reload a new one."),
                              platform::kExclamation);
}

void Form2::ShowThumbnail() {
    if (thumbWidth >= kThumbMaxWidth || thumbHeight >= kThumbMaxHeight) ShrinkToThumbnail(thumbWidth, thumbHeight);
    // At natural size the thumbnail is the picture's own size; either way
    // it starts at the box's top-left corner.
    thumbnail->box().PaintPicture(photoPicture, 0, 0, double(thumbWidth), double(thumbHeight));
    thumbnail->refresh();
}

}  // namespace dialog
