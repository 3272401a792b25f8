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

struct FolderPictures {
    QStringList pictures;    // in name order, each folder's files before its subfolders
    QStringList unreadable;  // folders that could not be listed
};

// Every picture under `folder`, subfolders included. Hidden files and
// folders are left out; a link to a folder is followed once, so a link that
// loops back is not walked again.
FolderPictures PicturesInFolder(const QString& folder);

// The user-facing text for files that are not pictures and folders that
// could not be read: one line each, at most `shown` lines, then a count of
// the rest. Empty when both lists are.
QString RefusedFilesMessage(const QStringList& notPictures, const QStringList& unreadableFolders, int shown = 10);

}  // namespace dialog
