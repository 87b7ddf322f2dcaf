// Pictures of windows as files: uncompressed bitmap files at the display's
// colour depth, or JPEG or PNG files when the user asks for one.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QWidget;

namespace oscilane {

// Bits per pixel of a bitmap file written from a display of that depth.
int bitmapBitsForDisplay(int displayBits);
// The colour depth of the screen a widget is on (the primary screen without one).
int displayBits(const QWidget* widget = nullptr);

// The complete bitmap file of an image: 14-byte file header, 40-byte
// information header, colour table (for 1, 4 and 8 bits) and bottom-up rows
// padded to four bytes.
QByteArray encodeBitmapFile(const QImage& image, int bitsPerPixel);

// Writes the bitmap file beside path and renames it into place, so a failed
// write leaves no partial file.  On failure reason, if given, says why.
bool writeBitmapFile(const QString& path, const QImage& image, int bitsPerPixel,
                     QString* reason = nullptr);

enum class PictureFormat { Bitmap, Jpeg, Png };

// The format the name's extension names (".bmp", ".jpg" or ".jpeg", ".png");
// for any other name the chosen filter's, bitmap when there is none.
PictureFormat pictureFormatFor(const QString& path, const QString& chosenFilter = QString());

// Saves a window picture; a failure is shown to the user as "Cann't save file: ..."
// and returns false.
bool saveWindowImage(const QString& path, const QImage& picture, PictureFormat format,
                     int bitsPerPixel);

// The pixels of a window as it is shown.
QImage grabWindowImage(QWidget* window);

}  // namespace oscilane
