// Window picture files: header fields and row layout at each depth, pixels
// read back by Qt's own bitmap reader, and failures that leave no file.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "shell/bitmap_file.h"
#include "shell/message_service.h"

using namespace oscilane;

namespace {

uint32_t u32(const QByteArray& b, int at) {
    return qFromLittleEndian<uint32_t>(b.constData() + at);
}
uint16_t u16(const QByteArray& b, int at) {
    return qFromLittleEndian<uint16_t>(b.constData() + at);
}

// A picture with distinct corners, so flipped or shifted rows show.
QImage testPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(width - 1, 0, qRgb(0, 255, 0));
    image.setPixel(0, height - 1, qRgb(0, 0, 255));
    image.setPixel(width - 1, height - 1, qRgb(255, 255, 255));
    return image;
}

}  // namespace

class BitmapFileTest : public QObject {
    Q_OBJECT
  private slots:
    void displayDepthChoosesFileDepth_data();
    void displayDepthChoosesFileDepth();
    void headerFields_data();
    void headerFields();
    void pixelsReadBack_data();
    void pixelsReadBack();
    void rowOf601PixelsAt24Bits();
    void jpegChoiceWritesJpeg();
    void bmpNameWritesBitmap();
    void unwritablePlaceIsReportedAndLeavesNoFile();
};

void BitmapFileTest::displayDepthChoosesFileDepth_data() {
    QTest::addColumn<int>("display");
    QTest::addColumn<int>("file");
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("2") << 2 << 4;
    QTest::newRow("8") << 8 << 8;
    QTest::newRow("16") << 16 << 24;
    QTest::newRow("24") << 24 << 24;
    QTest::newRow("32") << 32 << 32;
    QTest::newRow("deep colour 30") << 30 << 32;
}

void BitmapFileTest::displayDepthChoosesFileDepth() {
    QFETCH(int, display);
    QFETCH(int, file);
    QCOMPARE(bitmapBitsForDisplay(display), file);
}

void BitmapFileTest::headerFields_data() {
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("paletteBytes");
    QTest::addColumn<int>("rowBytes");
    QTest::newRow("32 bits: no table, data at 54") << 32 << 5 << 0 << 20;
    QTest::newRow("24 bits: rows padded") << 24 << 5 << 0 << 16;
    QTest::newRow("8 bits: 256 entries, data at 1078") << 8 << 5 << 1024 << 8;
    QTest::newRow("4 bits") << 4 << 5 << 64 << 4;
    QTest::newRow("1 bit") << 1 << 33 << 8 << 8;
}

void BitmapFileTest::headerFields() {
    QFETCH(int, bits);
    QFETCH(int, width);
    QFETCH(int, paletteBytes);
    QFETCH(int, rowBytes);
    const int height = 3;
    const QByteArray file = encodeBitmapFile(testPicture(width, height), bits);
    QCOMPARE(file.left(2), QByteArray("BM"));
    QCOMPARE(u32(file, 2), uint32_t(54 + paletteBytes + rowBytes * height));
    QCOMPARE(file.size(), qsizetype(54 + paletteBytes + rowBytes * height));
    QCOMPARE(u16(file, 6), uint16_t(0));
    QCOMPARE(u16(file, 8), uint16_t(0));
    QCOMPARE(u32(file, 10), uint32_t(54 + paletteBytes));
    QCOMPARE(u32(file, 14), uint32_t(40));
    QCOMPARE(u32(file, 18), uint32_t(width));
    QCOMPARE(u32(file, 22), uint32_t(height));  // positive: bottom-up rows
    QCOMPARE(u16(file, 26), uint16_t(1));
    QCOMPARE(u16(file, 28), uint16_t(bits));
    for (int at = 30; at < 54; at += 4) QCOMPARE(u32(file, at), uint32_t(0));
}

void BitmapFileTest::pixelsReadBack_data() {
    QTest::addColumn<int>("bits");
    QTest::newRow("32") << 32;
    QTest::newRow("24") << 24;
    QTest::newRow("8") << 8;
    QTest::newRow("4") << 4;
    QTest::newRow("1") << 1;
}

void BitmapFileTest::pixelsReadBack() {
    QFETCH(int, bits);
    const QImage original = testPicture(7, 5);
    QByteArray file = encodeBitmapFile(original, bits);
    QBuffer buffer(&file);
    QImageReader reader(&buffer, "bmp");
    const QImage back = reader.read().convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!back.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(back.size(), original.size());
    // The corner colours are all in every palette except the 1-bit one.
    const QImage expected = bits == 1
                                ? original.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
                                      .convertToFormat(QImage::Format_RGB32)
                                : original;
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x)
            QCOMPARE(back.pixel(x, y) & 0xFFFFFFu, expected.pixel(x, y) & 0xFFFFFFu);
}

void BitmapFileTest::rowOf601PixelsAt24Bits() {
    const QImage image = testPicture(601, 2);
    const QByteArray file = encodeBitmapFile(image, 24);
    const int rowBytes = 1804;
    QCOMPARE(file.size(), qsizetype(54 + 2 * rowBytes));
    // The top-left pixel (red) opens the last stored row, in blue-green-red order.
    const int topRow = 54 + rowBytes;
    QCOMPARE(QByteArray(file.constData() + topRow, 3), QByteArray("\x00\x00\xff", 3));
    // Its padding bytes are zero.
    QCOMPARE(QByteArray(file.constData() + topRow + 1803, 1), QByteArray(1, '\0'));
}

void BitmapFileTest::jpegChoiceWritesJpeg() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.jpg"));
    QCOMPARE(pictureFormatFor(path), PictureFormat::Jpeg);
    QCOMPARE(
        pictureFormatFor(dir.filePath(QStringLiteral("shot")), QStringLiteral("JPEG File(*.jpg)")),
        PictureFormat::Jpeg);
    QVERIFY(saveWindowImage(path, testPicture(40, 30), pictureFormatFor(path), 32));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(3), QByteArray("\xff\xd8\xff", 3));
}

// The name's extension names the format whatever filter was left selected;
// a name of no picture type follows the filter.  A bitmap replaces a longer
// file whole.
void BitmapFileTest::bmpNameWritesBitmap() {
    struct Case {
        const char* name;
        const char* filter;
        PictureFormat expected;
    };
    const Case cases[] = {
        {"shot.png", "BMP File(*.bmp)", PictureFormat::Png},
        {"shot.PNG", "", PictureFormat::Png},
        {"shot.bmp", "PNG File(*.png)", PictureFormat::Bitmap},
        {"shot.jpeg", "BMP File(*.bmp)", PictureFormat::Jpeg},
        {"shot.pic", "PNG File(*.png)", PictureFormat::Png},
        {"shot.pic", "", PictureFormat::Bitmap},
    };
    for (const Case& c : cases)
        QCOMPARE(pictureFormatFor(QString::fromLatin1(c.name), QString::fromLatin1(c.filter)),
                 c.expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.bmp"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();
    QVERIFY(saveWindowImage(path, testPicture(9, 4), pictureFormatFor(path), 24));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), encodeBitmapFile(testPicture(9, 4), 24));
}

void BitmapFileTest::unwritablePlaceIsReportedAndLeavesNoFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/shot.bmp"));
    MessageRecorder messages;
    QVERIFY(!saveWindowImage(path, testPicture(4, 4), PictureFormat::Bitmap, 32));
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(messages.texts().front().startsWith(QStringLiteral("Cann't save file: ")));
    QVERIFY(messages.texts().front().size() > QStringLiteral("Cann't save file: ").size());
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(BitmapFileTest)
#include "app_bitmap_file_test.moc"
