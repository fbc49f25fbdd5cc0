#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QtTest>

#include "ArtKit.h"
#include "Catalogue.h"
#include "Charts.h"
#include "Interface.h"
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

}  // namespace

class MakeArtTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void everyMediaRowHasADrawing() {
        QStringList problems;
        const auto rows = lumera::sample::readMediaTable(
            QDir(qEnvironmentVariable("LUMERA_SOURCE_DIR"))
                .filePath(QStringLiteral("content/sample/articles/fotos.tsv")),
            &problems);
        QVERIFY(problems.isEmpty());
        const QHash<QString, Drawer> drawings = mediaPictures();
        for (const auto& row : rows) {
            const QString stem = QFileInfo(row.param).completeBaseName();
            QVERIFY2(drawings.contains(stem), qPrintable(row.param));
        }
    }

    void drawingsFillTheirPicture() {
        // A drawing that paints nothing, or only a flat colour, is a broken one.
        const QHash<QString, Drawer> drawings = mediaPictures();
        for (auto it = drawings.cbegin(); it != drawings.cend(); ++it) {
            const QImage picture = renderPicture(it.value(), 120, 90);
            QVERIFY2(distinctColours(picture) > 3, qPrintable(it.key()));
        }
        const auto pages = pagePictures();
        for (auto it = pages.cbegin(); it != pages.cend(); ++it)
            QVERIFY2(distinctColours(renderPicture(it->draw, 120, 90)) > 3, qPrintable(it.key()));
    }

    void drawingsAreTheSameOnEveryRun() {
        const Drawer draw = mediaPictures().value(QStringLiteral("floresta"));
        QCOMPARE(renderPicture(draw, 100, 80), renderPicture(draw, 100, 80));
        Rng first(QStringLiteral("semente"));
        Rng second(QStringLiteral("semente"));
        Rng other(QStringLiteral("outra"));
        const quint32 a = first.next();
        QCOMPARE(a, second.next());
        QVERIFY(a != other.next());
        for (int i = 0; i < 1000; ++i) {
            const double value = first.uniform(-2, 3);
            QVERIFY(value >= -2 && value < 3);
            QVERIFY(first.below(7) < 7);
        }
    }

    void thumbnailsHaveTheExactSize_data() {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("thumbnail");
        QTest::newRow("upright from upright") << QSize(300, 400) << QSize(76, 101);
        QTest::newRow("landscape from landscape") << QSize(480, 340) << QSize(76, 54);
        QTest::newRow("upright from landscape") << QSize(480, 340) << QSize(76, 101);
        QTest::newRow("landscape from upright") << QSize(300, 400) << QSize(76, 54);
    }
    void thumbnailsHaveTheExactSize() {
        QFETCH(QSize, source);
        QFETCH(QSize, thumbnail);
        QImage picture(source, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QImage thumb = fitPicture(picture, thumbnail.width(), thumbnail.height());
        QCOMPARE(thumb.size(), thumbnail);
        QCOMPARE(thumb.pixelColor(0, 0), QColor(Qt::red));  // cropped, never padded
    }

    void programPicturesHaveTheirFixedShapes() {
        const QImage tv = interface::televisionFrame();
        QCOMPARE(tv.size(), QSize(436, 365));
        // The picture box of the TV window lies over a dark screen.
        const QColor screen = tv.pixelColor(36 + 361 / 2, 60 + 200);
        QVERIFY(screen.lightness() < 60);
        QVERIFY(tv.pixelColor(10, 10).lightness() > screen.lightness());

        const QImage icon = interface::windowIcon();
        QCOMPARE(icon.size(), QSize(32, 32));
        QVERIFY(distinctColours(icon) <= 17);  // sixteen colours and transparency
        QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);

        QCOMPARE(interface::kindIcon(interface::KindIcon::Website).size(), QSize(32, 32));
        QCOMPARE(interface::spacerPixel().size(), QSize(1, 1));
        QCOMPARE(interface::spacerPixel().pixelColor(0, 0).alpha(), 0);
    }

    void chartNumbersUseTheDecimalComma() {
        QCOMPARE(charts::decimal(0.39), QStringLiteral("0,39"));
        QCOMPARE(charts::decimal(169.8), QStringLiteral("169,8"));
        QCOMPARE(charts::decimal(170), QStringLiteral("170"));
    }
};

QTEST_MAIN(MakeArtTest)
#include "test_make_art.moc"
