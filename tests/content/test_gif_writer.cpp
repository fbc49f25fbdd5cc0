#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QtTest>

#include "GifWriter.h"

using lumera::art::encodeGif;

namespace {

QImage decode(const QByteArray& gif) {
    QBuffer buffer;
    buffer.setData(gif);
    QImageReader reader(&buffer, "gif");
    const QImage image = reader.read();
    if (image.isNull()) qWarning() << reader.errorString();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage noise(int width, int height, int colours, quint32 seed) {
    QImage image(width, height, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < colours; ++i) table.append(qRgb(i, (i * 37) % 256, 255 - i));
    image.setColorTable(table);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, random.bounded(colours));
    return image;
}

// Where Qt's reader agrees pixel for pixel with the palette image we encoded.
int differingPixels(const QImage& expected, const QImage& actual) {
    if (expected.size() != actual.size()) return -1;
    const QImage want = expected.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (want.pixel(x, y) != actual.pixel(x, y)) ++differing;
    return differing;
}

}  // namespace

class GifWriterTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void palettesRoundTripThroughQtsReader_data() {
        QTest::addColumn<QImage>("image");
        QTest::newRow("one pixel") << noise(1, 1, 1, 1);
        QTest::newRow("two colours, odd size") << noise(17, 13, 2, 2);
        QTest::newRow("five colours: table padded to eight") << noise(40, 30, 5, 3);
        // Random pixels fill the code table quickly: the code width grows to
        // 12 bits and the table is cleared and restarted many times.
        QTest::newRow("256 colours of noise") << noise(300, 200, 256, 4);
        QImage uniform(1000, 1000, QImage::Format_Indexed8);
        uniform.setColorTable({qRgb(0, 102, 153)});
        uniform.fill(0);
        QTest::newRow("long runs of one colour") << uniform;
    }
    void palettesRoundTripThroughQtsReader() {
        QFETCH(QImage, image);
        const QByteArray gif = encodeGif(image);
        QVERIFY(gif.startsWith("GIF89a"));
        QVERIFY(gif.endsWith(';'));
        QCOMPARE(differingPixels(image, decode(gif)), 0);
    }

    void drawnPicturesKeepTheirColours() {
        // A flat drawing with fewer than 256 colours must come back exactly.
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(QColor(0, 150, 60));
        for (int y = 10; y < 38; ++y)
            for (int x = 20; x < 44; ++x) picture.setPixelColor(x, y, QColor(255, 205, 0));
        const QImage decoded = decode(encodeGif(picture));
        QCOMPARE(differingPixels(picture, decoded), 0);
    }

    void transparentColourStaysTransparent() {
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        image.setPixel(3, 4, qRgb(255, 0, 0));
        const QImage decoded = decode(encodeGif(image));
        QCOMPARE(qAlpha(decoded.pixel(0, 0)), 0);
        QCOMPARE(decoded.pixel(3, 4), qRgb(255, 0, 0));
    }

    void nullImageGivesNoFile() { QVERIFY(encodeGif(QImage()).isEmpty()); }
};

QTEST_MAIN(GifWriterTest)
#include "test_gif_writer.moc"
