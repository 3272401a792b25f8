// Finding the pictures among files the user hands the dialog at once: a
// selection of files, or a whole folder with its subfolders. A file is
// judged by its leading bytes only, so a folder of a thousand photos is
// listed in a blink; the full check happens when a picture is shown or
// converted.
#pragma once

#include <QString>
#include <QStringList>

namespace dialog {

// Whether the file starts like a picture the program reads.
bool LooksLikePicture(const QString& path);

// The endings of the picture files the program reads, in lower case.
const QStringList& PictureExtensions();

struct FolderPictures {
    QStringList pictures;    // in name order, each folder's files before its subfolders
    QStringList skipped;     // files named as pictures that are none (broken, empty, fake)
    QStringList unreadable;  // folders that could not be listed
};

// Every picture under `folder`, subfolders included. Hidden files and
// folders are left out; a link to a folder is followed once, so a link that
// loops back is not walked again. Other files (text, videos) are passed
// over without a word; only files whose name promises a picture are
// reported as skipped.
FolderPictures PicturesInFolder(const QString& folder);

// What the user is told after adding several files: one line
// ("192 pictures added; 3 files skipped") and the details, one line per
// skipped file with why it was refused and per folder that could not be read.
struct AddingSummary {
    QString text;
    QString details;
};
AddingSummary SummaryOfAdding(int added, const QStringList& skippedFiles, const QStringList& unreadableFolders);

}  // namespace dialog
