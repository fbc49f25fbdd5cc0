// The art tool: a drawing for every media row, drawings that paint, the same
// on every run, thumbnails cut to size, and GIF files that Qt reads back
// pixel for pixel.
#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include "ArtKit.h"
#include "Catalogue.h"
#include "GifWriter.h"
#include "SampleSources.h"

using namespace lumera::art;

namespace {

int distinctColours(const QImage& image) {
    QSet<QRgb> colours;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) colours.insert(argb.pixel(x, y));
    return int(colours.size());
}

QImage decodeGif(const QByteArray& gif) {
    QBuffer buffer;
    buffer.setData(gif);
    return QImageReader(&buffer, "gif").read().convertToFormat(QImage::Format_ARGB32);
}

QImage noise(int width, int height, int colours) {
    QImage image(width, height, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < colours; ++i) table.append(qRgb(i, (i * 37) % 256, 255 - i));
    image.setColorTable(table);
    QRandomGenerator random(quint32(width * height + colours));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, random.bounded(colours));
    return image;
}

}  // namespace

class MakeArtTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void everyMediaRowHasADrawingThatPaints() {
        // A media row without a drawing fails the build (make-art says which).
        const QHash<QString, Drawer> drawings = mediaPictures();
        // A drawing that paints nothing, or only a flat colour, is a broken one.
        for (auto it = drawings.cbegin(); it != drawings.cend(); ++it)
            QVERIFY2(distinctColours(renderPicture(it.value(), 120, 90)) > 3, qPrintable(it.key()));
        const auto pages = pagePictures();
        for (auto it = pages.cbegin(); it != pages.cend(); ++it)
            QVERIFY2(distinctColours(renderPicture(it->draw, 120, 90)) > 3, qPrintable(it.key()));
        // The same on every run.
        const Drawer draw = drawings.value(QStringLiteral("floresta"));
        QCOMPARE(renderPicture(draw, 100, 80), renderPicture(draw, 100, 80));
    }

    void gifsReadBackPixelForPixel() {
        QImage uniform(1000, 1000, QImage::Format_Indexed8);
        uniform.setColorTable({qRgb(0, 102, 153)});
        uniform.fill(0);
        QImage drawing(64, 48, QImage::Format_RGB32);  // a flat drawing, few colours
        drawing.fill(QColor(0, 150, 60));
        for (int y = 10; y < 38; ++y)
            for (int x = 20; x < 44; ++x) drawing.setPixelColor(x, y, QColor(255, 205, 0));
        // Five colours pad the table to eight; random pixels of 256 colours
        // fill the code table, grow the codes to 12 bits and restart it.
        for (const QImage& image : {noise(1, 1, 1), noise(17, 13, 2), noise(40, 30, 5),
                                    noise(300, 200, 256), uniform, drawing}) {
            const QByteArray gif = encodeGif(image);
            QVERIFY(gif.startsWith("GIF89a") && gif.endsWith(';'));
            QCOMPARE(decodeGif(gif), image.convertToFormat(QImage::Format_ARGB32));
        }
        QImage transparent(8, 8, QImage::Format_ARGB32);
        transparent.fill(Qt::transparent);
        transparent.setPixel(3, 4, qRgb(255, 0, 0));
        const QImage decoded = decodeGif(encodeGif(transparent));
        QCOMPARE(qAlpha(decoded.pixel(0, 0)), 0);
        QCOMPARE(decoded.pixel(3, 4), qRgb(255, 0, 0));
        QVERIFY(encodeGif(QImage()).isEmpty());
    }
};

QTEST_MAIN(MakeArtTest)
#include "test_make_art.moc"
