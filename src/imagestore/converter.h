// Converting the user's pictures into their cached, shrunk copies.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace imagestore {

// Sizes of one conversion, in twips (15 to a pixel), as single precision.
struct ShrinkSizes {
    float sourceWidth = 0;
    float sourceHeight = 0;
    float shrinkWidth = 0;
    float shrinkHeight = 0;
};

// Scales both sides by the factor of the size band the larger side falls in.
void FitImageSize(float& shrinkWidth, float& shrinkHeight);

// Converts the picture `imageEntry` into cached picture `cacheNumber`;
// transparent parts take the `background` colour.
// Raises vb::RuntimeError (53, 481, 76, 75 ...) on failure; an existing
// cached file is then left as it was. Safe to call from several threads.
ShrinkSizes ConvertPicture(const QString& imageEntry, const QString& appPath, const QString& cacheNumber,
                           const QColor& background = Qt::black);

// Converts every picture of the list into cached pictures 0 .. n-1, several
// at once on every core. `progress(i)` is called on the calling thread, in
// list order, as the batch turns to picture i (i counts from 0), so a
// progress bar can be repainted there. `failedIndex` is -1 when every
// picture was converted, or the list position of the first picture (in list
// order) that failed, with the error's text and number; pictures before it
// are cached, it and those after it leave their cached files untouched.
// Transparent parts take the `background` colour. The decodes running at
// once together stay within platform::kDecodeBudget.
struct BatchResult {
    int failedIndex = -1;
    QString error;
    int errorNumber = 0;
    // Why the picture was refused, in plain words, where that is known.
    QString reason;
    // Stopped at the caller's request before every picture was converted.
    bool cancelled = false;
    // How many pictures, from the first, have their copies in place.
    int completed = 0;
    // For each of those: whether the picture has transparent parts (which
    // show the background colour, so only its copy depends on it).
    std::vector<bool> transparent;
};
BatchResult ConvertPictures(const QStringList& pictures, const QString& appPath,
                            const std::function<void(int index)>& progress = {}, const QColor& background = Qt::black);
// The same, picture i into cached picture `cacheNumbers[i]` (as many numbers
// as pictures), for a batch that converts only some of the list.
BatchResult ConvertPicturesInto(const QStringList& pictures, const QStringList& cacheNumbers, const QString& appPath,
                                const std::function<void(int index)>& progress = {},
                                const QColor& background = Qt::black);
// The same, picture i into the file `targets[i]`. While it waits for a
// picture, `keepGoing` (when given) is called every few milliseconds, so the
// caller can answer its user; when it returns false the batch stops at once
// (pictures in flight are dropped) and the result says `cancelled`. The
// copies are `scale` times the size bands' size (see picture_scale.h).
BatchResult ConvertPicturesTo(const QStringList& pictures, const QStringList& targets,
                              const std::function<void(int index)>& progress, const QColor& background,
                              const std::function<bool()>& keepGoing = {}, double scale = 1);

}  // namespace imagestore
