#include "shell/bitmap_file.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>
#include <QtEndian>
#include <array>

#include "shell/message_service.h"
#include "shell/message_texts.h"
#include "shell/window_save.h"

namespace oscilane {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr qsizetype kMaxReasonLength = 1024;

// The display's default colours for 4 bits per pixel.
constexpr std::array<QRgb, 16> kSixteenColours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// The 20 fixed colours of an 8-bit display: the first and last ten entries;
// the 236 entries between them stay black.
QList<QRgb> paletteFor(int bitsPerPixel) {
    const int entries = 1 << bitsPerPixel;
    QList<QRgb> table(entries, qRgb(0, 0, 0));
    if (bitsPerPixel == 1) {
        table[1] = qRgb(255, 255, 255);
    } else if (bitsPerPixel == 4) {
        for (int i = 0; i < 16; ++i) table[i] = 0xFF000000u | kSixteenColours[i];
    } else {
        constexpr std::array<QRgb, 10> low = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                              0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
        constexpr std::array<QRgb, 10> high = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                               0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (int i = 0; i < 10; ++i) {
            table[i] = 0xFF000000u | low[i];
            table[entries - 10 + i] = 0xFF000000u | high[i];
        }
    }
    return table;
}

void put16(char* at, uint16_t v) { qToLittleEndian(v, at); }
void put32(char* at, uint32_t v) { qToLittleEndian(v, at); }

}  // namespace

int bitmapBitsForDisplay(int bits) {
    if (bits <= 1) return 1;
    if (bits <= 4) return 4;
    if (bits <= 8) return 8;
    if (bits <= 24) return 24;
    // Deep-colour displays report depths such as 30 that no bitmap reader
    // understands; their pixels are written as 32-bit ones.
    return 32;
}

int displayBits(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

QByteArray encodeBitmapFile(const QImage& image, int bitsPerPixel) {
    const bool indexed = bitsPerPixel <= 8;
    const QList<QRgb> palette = indexed ? paletteFor(bitsPerPixel) : QList<QRgb>();
    const int paletteBytes = 4 * static_cast<int>(palette.size());
    const int width = image.width();
    const int height = image.height();
    const int rowBytes = ((bitsPerPixel * width + 31) / 32) * 4;
    const int imageBytes = rowBytes * height;
    const int dataOffset = kFileHeaderSize + kInfoHeaderSize + paletteBytes;

    QByteArray file(dataOffset + imageBytes, '\0');
    char* d = file.data();
    d[0] = 'B';
    d[1] = 'M';
    put32(d + 2, static_cast<uint32_t>(file.size()));
    put32(d + 10, static_cast<uint32_t>(dataOffset));
    put32(d + 14, kInfoHeaderSize);
    put32(d + 18, static_cast<uint32_t>(width));
    put32(d + 22, static_cast<uint32_t>(height));
    put16(d + 26, 1);
    put16(d + 28, static_cast<uint16_t>(bitsPerPixel));
    for (qsizetype i = 0; i < palette.size(); ++i) {
        char* entry = d + kFileHeaderSize + kInfoHeaderSize + 4 * i;
        entry[0] = static_cast<char>(qBlue(palette[i]));
        entry[1] = static_cast<char>(qGreen(palette[i]));
        entry[2] = static_cast<char>(qRed(palette[i]));
    }

    const QImage pixels = indexed ? image.convertToFormat(QImage::Format_Indexed8, palette,
                                                          Qt::ThresholdDither | Qt::AvoidDither)
                                  : image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        auto* row = reinterpret_cast<uint8_t*>(d + dataOffset + rowBytes * (height - 1 - y));
        const uchar* source = pixels.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            if (indexed) {
                const int bit = x * bitsPerPixel;
                row[bit / 8] |= static_cast<uint8_t>(source[x] << (8 - bitsPerPixel - bit % 8));
            } else {
                const QRgb rgb = reinterpret_cast<const QRgb*>(source)[x];
                uint8_t* px = row + x * (bitsPerPixel / 8);
                px[0] = static_cast<uint8_t>(qBlue(rgb));
                px[1] = static_cast<uint8_t>(qGreen(rgb));
                px[2] = static_cast<uint8_t>(qRed(rgb));
            }
        }
    }
    return file;
}

namespace {

bool fail(QSaveFile& file, QString* reason) {
    if (reason && reason->isEmpty()) *reason = file.errorString();
    file.cancelWriting();
    return false;
}

// Writes through a file beside the target that replaces it only when complete.
template <typename Write>
bool writeAtomically(const QString& path, QString* reason, Write write) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file, reason);
    if (!write(file)) return fail(file, reason);
    if (!file.commit()) {
        if (reason) *reason = file.errorString();
        return false;
    }
    return true;
}

}  // namespace

bool writeBitmapFile(const QString& path, const QImage& image, int bitsPerPixel, QString* reason) {
    const QByteArray bytes = encodeBitmapFile(image, bitsPerPixel);
    return writeAtomically(path, reason,
                           [&bytes](QSaveFile& file) { return file.write(bytes) == bytes.size(); });
}

PictureFormat pictureFormatFor(const QString& path, const QString& chosenFilter) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return PictureFormat::Jpeg;
    if (suffix == QLatin1String("png")) return PictureFormat::Png;
    if (suffix == QLatin1String("bmp")) return PictureFormat::Bitmap;
    // A name of no picture type is written as the chosen filter says.
    const QString filterType = filterSuffix(chosenFilter).toLower();
    if (filterType == QLatin1String("jpg")) return PictureFormat::Jpeg;
    if (filterType == QLatin1String("png")) return PictureFormat::Png;
    return PictureFormat::Bitmap;
}

bool saveWindowImage(const QString& path, const QImage& picture, PictureFormat format,
                     int bitsPerPixel) {
    QString reason;
    bool saved = false;
    if (format == PictureFormat::Jpeg || format == PictureFormat::Png) {
        const char* kind = format == PictureFormat::Jpeg ? "jpg" : "png";
        saved = writeAtomically(path, &reason, [&picture, &reason, kind](QSaveFile& file) {
            QImageWriter writer(&file, kind);
            if (writer.write(picture)) return true;
            reason = writer.errorString();
            return false;
        });
    } else {
        saved = writeBitmapFile(path, picture, bitsPerPixel, &reason);
    }
    if (!saved)
        showMessage(QString::fromLatin1(msg::kCannotSaveFile).arg(reason.left(kMaxReasonLength)),
                    MessageKind::Error);
    return saved;
}

QImage grabWindowImage(QWidget* window) { return window->grab().toImage(); }

}  // namespace oscilane
