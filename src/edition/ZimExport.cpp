#include "edition/ZimExport.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QSet>
#include <QThread>

#include "app/Form1Controller.h"
#include "articles/ArticlePageBuilder.h"
#include "articles/PageComposer.h"
#include "database/ArticleDatabaseFiles.h"
#include "edition/ArticleIndexer.h"
#include "edition/EditionAtHand.h"
#include "edition/ExportLinks.h"
#include "edition/ZimWriter.h"
#include "host/Windows1252.h"
#include "searchengine/HtmlText.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

using namespace Qt::StringLiterals;

struct ExportStopped {};

// The picture window's caption, which its page shows under the picture.
const QString kPictureCaption = u"Nova Lumera Orvel - TV"_s;
// The longest Title the ZIM metadata conventions allow.
constexpr qsizetype kMaxZimTitle = 30;

// The text for the full-text index: Debian 12's libzim folds accents in the
// index but not in the query, so each accented word is given in both forms,
// and "agua" and "água" both find a page.
QString searchableWords(const QString& text) {
    QStringList unaccented;
    forEachWord(text, [&unaccented](QStringView word, qsizetype, qsizetype) {
        const QString folded = foldForSearch(word);
        if (folded != word.toString().toLower()) unaccented.append(folded);
    });
    return unaccented.isEmpty() ? text : text + u'\n' + unaccented.join(u' ');
}

QString decodePage(const QByteArray& bytes) {
    const bool utf8 = pagereferences::declaredCharset(QString::fromLatin1(bytes)) == "utf-8"_L1;
    return utf8 ? QString::fromUtf8(bytes) : windows1252::decode(bytes);
}

class EditionExport {
  public:
    EditionExport(const EditionAtHand& edition, ExportProgress progress,
                  const std::atomic_bool& stop)
        : edition_(edition),
          progress_(progress ? std::move(progress) : [](ExportStage, int, int) {}),
          stop_(stop),
          links_(edition.drives, edition.paths,
                 [this](const QString& key) { return keys_.contains(key.toCaseFolded()); }) {}

    int articles = 0;
    int files = 0;

    void run(const QString& target) {
        const std::optional<QStringList> pageTemplate =
            readPageTemplate(edition_.drives, edition_.paths.InstallPath);
        if (!pageTemplate) {
            throw EditionProblem{u"o modelo de página %1modelo-final.htm não foi encontrado."_s.arg(
                edition_.paths.InstallPath)};
        }
        const auto scan = ArticleDatabaseFiles::openFile(edition_.databaseFile);
        scan->forEachArticle([this](const ArticleRow& row) {
            if (!row.arquivo.isEmpty()) keys_.insert(row.arquivo.toCaseFolded());
            return true;
        });
        const QString home = links_.entryOfClick(HomeAddress(edition_.paths));
        if (home.isEmpty()) {
            throw EditionProblem{
                u"a página inicial %1 não foi encontrada. Confira a linha CDROM= "
                "do lex.ini e as opções --drive."_s.arg(HomeAddress(edition_.paths))};
        }
        ZimWriter writer(target, u"por"_s, unsigned(std::max(1, QThread::idealThreadCount())));
        writeArticles(writer, *scan, *pageTemplate);
        writeFiles(writer);
        if (links_.pictureNamed()) writePicturePage(writer);
        writeMetadata(writer, home);
        progress_(ExportStage::Finishing, 0, 0);
        writer.finish();
        if (stop_) throw ExportStopped{};
        writer.install();
    }

  private:
    void checkStop() const {
        if (stop_) throw ExportStopped{};
    }

    void writeArticles(ZimWriter& writer, ArticleTableScan& scan, const QStringList& pageTemplate) {
        ArticleDatabaseFiles databases;
        const auto database = databases.open(edition_.databaseFile);
        const QString cdRomPath = edition_.paths.CdRomPath;
        // Where the reader shows every article page; its links are relative to it.
        const QString pageAddress = edition_.paths.InstallPath + u"vf.htm"_s;
        QSet<QString> written;
        bool stopped = false;
        scan.forEachArticle([&](const ArticleRow& row) {
            const QString key = row.arquivo.toCaseFolded();
            if (key.isEmpty() || written.contains(key)) return true;
            if ((stopped = stop_)) return false;
            written.insert(key);
            const QString entry = ExportLinks::articleEntry(key);
            const QStringList lines = composeArticlePage(
                *database, rewriteImagePaths(row.verbete, cdRomPath), pageTemplate, cdRomPath);
            const QString html = pagereferences::rewrite(lines.join("\r\n"_L1) + "\r\n"_L1,
                                                         links_.rewriterFor(pageAddress, entry));
            writePage(writer, entry, ArticleIndexer::titleOf(row, cdRomPath), html);
            progress_(ExportStage::Articles, ++articles, int(keys_.size()));
            return true;
        });
        if (stopped) throw ExportStopped{};
    }

    void writeFiles(ZimWriter& writer) {
        const QMimeDatabase types;
        while (const std::optional<ExportLinks::CdFile> file = links_.nextFile()) {
            checkStop();
            const QMimeType type =
                types.mimeTypeForFile(file->entry, QMimeDatabase::MatchExtension);
            // The browser shows .asp pages as HTML too: they are the CD's pages.
            const bool page = type.inherits(u"text/html"_s) ||
                              file->entry.endsWith(".asp"_L1, Qt::CaseInsensitive);
            if (page || type.inherits(u"text/css"_s)) {
                const auto device = edition_.drives.openFile(file->address);
                const QByteArray bytes = device ? device->readAll() : QByteArray();
                const auto rewrite = links_.rewriterFor(file->address, file->entry);
                if (page) {
                    const QString html = pagereferences::rewrite(decodePage(bytes), rewrite);
                    const QString title = pagereferences::title(html);
                    writePage(writer, file->entry,
                              title.isEmpty() ? QFileInfo(file->entry).fileName() : title, html);
                } else {
                    const QString css =
                        pagereferences::rewriteStyleSheet(decodePage(bytes), rewrite);
                    writer.addBytes(file->entry, type.name(), css.toUtf8());
                }
            } else {
                const auto device = edition_.drives.openFile(file->address);
                writer.addFile(
                    file->entry, type.name(), device ? device->size() : 0,
                    [this, address = file->address] { return edition_.drives.openFile(address); });
            }
            progress_(ExportStage::Files, ++files, 0);
        }
    }

    static void writePage(ZimWriter& writer, const QString& entry, const QString& title,
                          const QString& html) {
        writer.addPage(entry, title, html.toUtf8(),
                       searchableWords(title + u'\n' + HtmlText::plainText(html)));
    }

    // What the picture window shows: the player's picture with its caption.
    static void writePicturePage(ZimWriter& writer) {
        QFile picture(u":/lumera-export/tv.jpg"_s);
        picture.open(QIODevice::ReadOnly);
        writer.addBytes(ExportLinks::kPictureFileEntry, u"image/jpeg"_s, picture.readAll());
        const QString html =
            u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title></head>\n"
            "<body style=\"margin:0;text-align:center;font-family:sans-serif\">\n"
            "<figure style=\"margin:0\"><img src=\"%2\" width=\"436\" height=\"365\" alt=\"%1\">"
            "<figcaption>%1</figcaption></figure>\n<p><a href=\"%3\">Voltar</a></p>\n"
            "</body></html>\n"_s.arg(
                kPictureCaption,
                relativeEntryUrl(ExportLinks::kPictureEntry, ExportLinks::kPictureFileEntry),
                ExportLinks::kGoBack);
        writer.addPage(ExportLinks::kPictureEntry, kPictureCaption, html.toUtf8(), QString());
    }

    void writeMetadata(ZimWriter& writer, const QString& home) const {
        // The edition's own title is its home page's, when it fits the readers' lists.
        const auto device = edition_.drives.openFile(HomeAddress(edition_.paths));
        const QString homeTitle =
            pagereferences::title(decodePage(device ? device->readAll() : QByteArray()));
        const QString title = !homeTitle.isEmpty() && homeTitle.size() <= kMaxZimTitle
                                  ? homeTitle
                                  : u"Lumera Edição 2002"_s;
        const QString description = u"Enciclopédia multimídia em língua portuguesa"_s;
        const std::pair<QString, QString> metadata[] = {
            {u"Name"_s, u"lumera_pt_all"_s},
            {u"Title"_s, title},
            {u"Description"_s, description},
            {u"LongDescription"_s,
             (homeTitle.isEmpty() ? description : homeTitle) +
                 u": os artigos, as imagens, os mapas e as páginas multimídia do CD, "
                 "para os aparelhos e a rede do próprio dono."_s},
            {u"Language"_s, u"por"_s},
            {u"Creator"_s, u"Lumera Orvel"_s},
            {u"Publisher"_s, u"Leitor Lumera"_s},
            {u"Date"_s, QDate::currentDate().toString(Qt::ISODate)},
        };
        for (const auto& [name, value] : metadata) writer.addMetadata(name, value);
        QFile icon(u":/lumera-export/icons/hicolor/48x48/apps/" LUMERA_APP_ID ".png"_s);
        icon.open(QIODevice::ReadOnly);
        writer.addIllustration(48, icon.readAll());
        writer.setMainPath(home);
    }

    const EditionAtHand& edition_;
    ExportProgress progress_;
    const std::atomic_bool& stop_;
    QSet<QString> keys_;  // case-folded
    ExportLinks links_;
};

QString megabytes(qint64 bytes) {
    return QLocale(QLocale::Portuguese).toString(double(bytes) / 1e6, 'f', 1);
}

}  // namespace

int ExportZim(const QStringList& driveOptions, const QString& target, QTextStream& out,
              QTextStream& err, const ExportProgress& progress, const std::atomic_bool& stop) {
    const QString shownTarget = QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath());
    QElapsedTimer clock;
    clock.start();
    try {
        const auto edition = EditionAtHand::open(driveOptions, u"lumera-cli"_s, err);
        EditionExport run(*edition, progress, stop);
        run.run(target);
        out << u"%1 artigos e %2 arquivos do CD exportados em %3 s; arquivo ZIM em %4 (%5 MB)\n"_s
                   .arg(run.articles)
                   .arg(run.files)
                   .arg(QLocale(QLocale::Portuguese).toString(clock.elapsed() / 1000.0, 'f', 1),
                        shownTarget, megabytes(QFileInfo(target).size()));
        return 0;
    } catch (const ExportStopped&) {
        err << "lumera-cli: exportação interrompida; " << shownTarget << " não foi gravado.\n";
        return 130;
    } catch (const EditionProblem& problem) {
        err << "lumera-cli: " << problem.message << "\n";
    } catch (const DatabaseError& error) {
        err << "lumera-cli: " << error.message() << "\n";
    } catch (const ZimWriteError& error) {
        err << "lumera-cli: erro ao gravar o arquivo ZIM: " << error.message << "\n";
    }
    err << "lumera-cli: " << shownTarget << " não foi gravado.\n";
    return 1;
}

}  // namespace lumera
