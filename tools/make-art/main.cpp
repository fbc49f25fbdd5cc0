// Draws every picture of the sample edition and of the program:
//   make-art <content-dir>
// reads <content-dir>/sample/articles/fotos.tsv and writes below
// <content-dir>/sample/cd/ and <content-dir>/program/.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include "AppIcon.h"
#include "Catalogue.h"
#include "GifWriter.h"
#include "Interface.h"
#include "SampleSources.h"

namespace {

using namespace lumera::art;
using lumera::sample::MediaRow;

constexpr QSize kUpright(300, 400);
constexpr QSize kLandscape(480, 340);
constexpr QSize kUprightThumb(76, 101);
constexpr QSize kLandscapeThumb(76, 54);

class PictureWriter {
  public:
    explicit PictureWriter(const QString& root) : root_(root) {}

    // The format follows the extension: gif, jpg or png.
    void write(const QString& relativePath, const QImage& image) {
        const QString path = QDir(root_).filePath(relativePath);
        QDir().mkpath(QFileInfo(path).absolutePath());
        const QString suffix = QFileInfo(path).suffix().toLower();
        bool ok = false;
        if (suffix == QLatin1String("gif"))
            ok = writeGif(image, path);
        else if (suffix == QLatin1String("jpg"))
            ok = image.convertToFormat(QImage::Format_RGB32).save(path, "JPG", 85);
        else
            ok = image.save(path, "PNG");
        if (ok)
            ++written_;
        else
            failures_.append(path);
    }

    void write(const QString& relativePath, const QByteArray& bytes) {
        const QString path = QDir(root_).filePath(relativePath);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            ++written_;
        else
            failures_.append(path);
    }

    int written() const { return written_; }
    const QStringList& failures() const { return failures_; }

  private:
    QString root_;
    int written_ = 0;
    QStringList failures_;
};

// "/lex2000/fotos/brasil.jpg" -> "lex2000/fotos/brasil.jpg"; a page
// ("/lex2000/filmes/x.htm") gets its picture beside it as x.jpg.
QString pictureOfParam(const QString& param) {
    QString path = param.toLower();
    while (path.startsWith(QLatin1Char('/'))) path.remove(0, 1);
    const QFileInfo info(path);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".jpg");
}

void drawInterface(PictureWriter& cd, PictureWriter& program) {
    using namespace interface;
    const QList<QPair<const char*, KindIcon>> icons = {
        {"foto", KindIcon::Foto},         {"audvis", KindIcon::AudVis},
        {"bandeira", KindIcon::Bandeira}, {"grafico", KindIcon::Grafico},
        {"mapa", KindIcon::Mapa},         {"video", KindIcon::Video},
        {"audio", KindIcon::Audio},       {"website", KindIcon::Website}};
    for (const auto& [name, kind] : icons)
        cd.write(QStringLiteral("lex2000/image/ico/%1.gif").arg(QLatin1String(name)),
                 kindIcon(kind));
    cd.write(QStringLiteral("lex2000/gui/1px.gif"), spacerPixel());
    cd.write(QStringLiteral("lex2000/gui/seta.gif"), bulletArrow());
    cd.write(QStringLiteral("lex2000/gui/logo.gif"), logo());
    cd.write(QStringLiteral("lex2000/gui/banner.jpg"), homeBanner());
    cd.write(QStringLiteral("lex2000/gui/bannertomoba.gif"), footerStrip());
    program.write(QStringLiteral("lumera.png"), windowIcon());
    program.write(QStringLiteral("tv.jpg"), televisionFrame());
    // The desktop's icon theme, at the sizes menus and docks ask for.
    const QString icon = QStringLiteral("icons/hicolor/%1/apps/" LUMERA_APP_ID ".%2");
    for (const int size : {16, 32, 48, 64, 128, 256})
        program.write(icon.arg(QStringLiteral("%1x%1").arg(size), QStringLiteral("png")),
                      appicon::image(size));
    program.write(icon.arg(QStringLiteral("scalable"), QStringLiteral("svg")), appicon::svg());
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "uso: make-art <pasta-content>\n";
        return 2;
    }
    const QDir content(QFile::decodeName(argv[1]));
    QStringList problems;
    const QVector<MediaRow> rows = lumera::sample::readMediaTable(
        content.filePath(QStringLiteral("sample/articles/fotos.tsv")), &problems);

    PictureWriter cd(content.filePath(QStringLiteral("sample/cd")));
    PictureWriter program(content.filePath(QStringLiteral("program")));
    drawInterface(cd, program);

    const QHash<QString, Drawer> media = mediaPictures();
    for (const MediaRow& row : rows) {
        const QString picture = pictureOfParam(row.param);
        const QString stem = QFileInfo(picture).completeBaseName();
        const auto drawer = media.constFind(stem);
        if (drawer == media.constEnd()) {
            problems.append(QStringLiteral("no drawing for ") + row.param);
            continue;
        }
        const bool upright = row.format == QLatin1String("V");
        const QSize size = upright ? kUpright : kLandscape;
        const QImage image = renderPicture(*drawer, size.width(), size.height());
        cd.write(picture, image);
        const QSize thumb = upright ? kUprightThumb : kLandscapeThumb;
        cd.write(QStringLiteral("lex2000/image/tumb/") + row.file,
                 fitPicture(image, thumb.width(), thumb.height()));
    }
    const auto pages = pagePictures();
    for (auto it = pages.cbegin(); it != pages.cend(); ++it)
        cd.write(it.key(), renderPicture(it->draw, it->size.width(), it->size.height()));

    problems << cd.failures() << program.failures();
    for (const QString& problem : problems) err << problem << '\n';
    QTextStream(stdout) << cd.written() + program.written() << " imagens escritas\n";
    return problems.isEmpty() ? 0 : 1;
}
