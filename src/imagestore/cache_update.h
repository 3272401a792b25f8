// Bringing the cache in line with the picture list, converting only what
// changed: a copy made from the same file (same path, size, modification
// time) by the same rules, and on the same background colour where the
// picture has transparent parts, is kept, or moved to its new position when
// the list was reordered; everything else is converted anew. New copies are
// made aside first and only take their places once all are made.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "imagestore/converter.h"

namespace imagestore {

// What an update did, for tests and measurements.
struct UpdateCounts {
    int kept = 0;       // copies already in place
    int moved = 0;      // copies moved or duplicated from another position
    int converted = 0;  // pictures converted (including one that failed)
};

// Leaves cached picture i made from pictures[i] for every i, as
// ConvertPictures would, with its failure rules: `failedIndex` is the list
// position of the first picture that could not be converted; copies of
// pictures before it are in place. `progress(i)` is called, in list order,
// for each picture about to be converted. `backColor` is the colour the
// copies are drawn on: a different one makes the copies of pictures with
// transparent parts stale. `keepGoing` is polled while pictures convert
// (see ConvertPicturesTo); when it says stop, every cached picture and its
// record stay as they were, and the copies already made are kept aside for
// the next update. The copies are made for the picture scale `scale`; a
// copy made for another scale is made again.
BatchResult UpdateCache(const QStringList& pictures, const QString& appPath, const QString& backColor,
                        const std::function<void(int index)>& progress = {}, UpdateCounts* counts = nullptr,
                        const std::function<bool()>& keepGoing = {}, double scale = 1);

// Removes the temporary files a killed conversion left in the cache folder.
void RemoveStaleTemporaryFiles(const QString& appPath);

}  // namespace imagestore
