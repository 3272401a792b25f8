// Pictures made by the tests: in every format the program reads, turned by
// a stored orientation, and crafted to be small on disk but huge in memory.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

namespace testing_support {

// Red on the left half, blue on the right: tells the orientation apart.
QImage RedBlueHalves(int width, int height);

// Runs a program to its end; false when it is missing or fails.
bool RunTool(const QString& program, const QStringList& arguments);

// Writes `image` as `path` in the format its suffix names: Qt's writers for
// png, jpg, bmp, webp and tif, ImageMagick for gif, heif-enc for heic and
// avif. False when the writer is missing or fails.
bool WritePicture(const QImage& image, const QString& path);

// Stores EXIF orientation `value` (1 to 8) in the file with exiftool.
bool SetOrientation(const QString& path, int value);

// A progressive JPEG of a few hundred bytes whose frame declares width x height.
QByteArray CraftedProgressiveJpeg(int width, int height);

// A PNG whose header declares width x height over one tiny data chunk.
QByteArray CraftedPng(int width, int height);

// A 24-bit BMP of width x height whose rows are a hole in a sparse file.
bool WriteSparseBmp(const QString& path, int width, int height);

// A PNG of width x height, red on the left half and blue on the right,
// written row by row (never whole in memory) and compressed for speed:
// a 12000 x 9000 picture takes a second or two. Half-transparent when
// `alpha` is set.
bool WriteLargePng(const QString& path, int width, int height, bool alpha = false);

// `image` written as a HEIC file through libheif, with a stored rotation
// and mirroring (`orientation` as EXIF counts it, 1 to 8) that a reader must
// undo to show it upright. False when no encoder is at hand or it fails.
bool WriteHeicWithOrientation(const QImage& image, const QString& path, int orientation);

// Whether the tests run under AddressSanitizer: its shadow memory, redzones
// and slower code make the memory peaks and times measured here meaningless,
// so only what a decode gives back is checked there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderSanitizer = true;
#else
constexpr bool kUnderSanitizer = false;
#endif

// The peak resident memory, in kilobytes, of this test program run again
// with only `test` (a gtest filter) and `environment` (NAME=value entries),
// or -1 when it cannot be measured. The test reports through
// ReportPeakMemory.
long PeakKilobytesOf(const QString& test, const QStringList& environment);

// Prints this process's peak resident memory for PeakKilobytesOf.
void ReportPeakMemory();

// Starts measuring the peak resident memory afresh from now (the kernel's
// high-water mark is reset) and returns the memory resident now, in
// kilobytes; ReportPeakGrowth(that) prints for PeakKilobytesOf how far the
// peak has risen above it since.
long ResetPeakMemory();
void ReportPeakGrowth(long baseKilobytes);

}  // namespace testing_support
