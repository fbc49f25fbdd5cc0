#include "articles/ArticlePageBuilder.h"

#include <QFile>
#include <QLatin1StringView>
#include <QTemporaryFile>
#include <filesystem>
#include <memory>
#include <system_error>

#include "articles/ArticleText.h"
#include "articles/PageComposer.h"
#include "articles/TextFileLines.h"
#include "host/Windows1252.h"

namespace lumera {
namespace {

using namespace Qt::StringLiterals;

constexpr QLatin1StringView kDatabaseFile = "lex.mdb"_L1;
constexpr QLatin1StringView kTemplateFile = "modelo-final.htm"_L1;
constexpr QLatin1StringView kScratchFile = "v.txt"_L1;
constexpr QLatin1StringView kPageFile = "vf.htm"_L1;

const QString kMessageTitle = u"Lumera Edição 2002"_s;

}  // namespace

ArticlePageBuilder::ArticlePageBuilder(ArticleDatabaseOpener& databases, FileAccess& files,
                                       Browser& browser, WindowSystem& windows,
                                       const ContentPaths& paths,
                                       std::chrono::milliseconds yieldInterval)
    : databases_(databases),
      files_(files),
      browser_(browser),
      windows_(windows),
      paths_(paths),
      yieldInterval_(yieldInterval) {}

ArticlePageResult ArticlePageBuilder::BuildArticlePage(const QString& key) {
    // Shared: a request that waits runs after this call has returned.
    auto result = std::make_shared<std::optional<ArticlePageResult>>();
    requests_.run([this, key, result] { *result = runRequest(key); });
    return result->value_or(ArticlePageResult{ArticlePageResult::Status::Queued, QString()});
}

ArticlePageResult ArticlePageBuilder::runRequest(const QString& key) {
    EventYielder yielder(windows_, yieldInterval_);
    ArticlePageResult result;
    try {
        result = buildPage(key, yielder);
    } catch (const DatabaseError& error) {
        result = failure(u"Não foi possível ler o verbete %1 na base de dados %2 em %3.\n%4"_s.arg(
            key, kDatabaseFile, installFolder(), error.message()));
    }
    // Shown once the request has let go of the database and its files.
    if (result.status == ArticlePageResult::Status::Failed) {
        windows_.MessageBox(result.message, kMessageTitle, kMessageCritical);
    }
    return result;
}

ArticlePageResult ArticlePageBuilder::buildPage(const QString& key, EventYielder& yielder) {
    const QString databaseFile = files_.existingFile(paths_.InstallPath + kDatabaseFile);
    if (databaseFile.isEmpty()) {
        return failure(u"Não foi possível encontrar a base de dados %1 em %2."_s.arg(
            kDatabaseFile, installFolder()));
    }
    const std::unique_ptr<ArticleDatabase> database = databases_.open(databaseFile);
    const std::unique_ptr<Recordset> article = database->articleQuery(key);
    if (article->atEnd()) return {ArticlePageResult::Status::NotFound, QString()};
    const std::optional<QString> storedText = article->value(u"Verbete"_s);
    if (!storedText) {
        return failure(
            u"Não foi possível montar a página do verbete %1: falta o texto dele na base de dados %2 em %3."_s
                .arg(key, kDatabaseFile, installFolder()));
    }
    const QString articleText = rewriteImagePaths(*storedText, paths_.CdRomPath);

    // Kept for anyone who reads the article text from there; the page itself
    // is made from the text in memory, so nothing is lost to the code page.
    if (!writeFile(kScratchFile, windows1252::encodeWithReferences(articleText).append("\r\n"))) {
        return failure(
            u"Não foi possível gravar o arquivo %1 em %2."_s.arg(kScratchFile, installFolder()));
    }
    const std::optional<QStringList> templateLines = readPageTemplate(files_, paths_.InstallPath);
    if (!templateLines) {
        return failure(u"Não foi possível ler o modelo de página %1 em %2."_s.arg(kTemplateFile,
                                                                                  installFolder()));
    }
    const QStringList page = composeArticlePage(*database, articleText, *templateLines,
                                                paths_.CdRomPath, [&yielder] { yielder.yield(); });
    database->close();
    if (!writeFile(kPageFile, textfile::encodeLines(page))) {
        return failure(
            u"Não foi possível gravar a página %1 em %2."_s.arg(kPageFile, installFolder()));
    }
    yielder.yield();
    browser_.Navigate(paths_.InstallPath + kPageFile);
    return {ArticlePageResult::Status::Built, QString(), pageTitle(*storedText, paths_.CdRomPath)};
}

QString ArticlePageBuilder::installFolder() const {
    return files_.absolutePath(paths_.InstallPath);
}

ArticlePageResult ArticlePageBuilder::failure(const QString& message) {
    return {ArticlePageResult::Status::Failed, message};
}

std::optional<QStringList> readPageTemplate(const FileAccess& files, const QString& installPath) {
    const QString localFile = files.existingFile(installPath + kTemplateFile);
    if (localFile.isEmpty()) return std::nullopt;
    QFile file(localFile);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return textfile::splitLines(windows1252::decode(content));
}

// Written beside the target and renamed into place, so the browser never sees
// a half-written file and a failed write keeps the previous one. Both files
// are made again by the next request, so they need not reach the disk: not
// QSaveFile, whose commit waits for that (fdatasync, 4 to 9 ms per file on
// ext4). The old file is removed before the rename because ext4 flushes a
// file renamed over another one (auto_da_alloc) and then waits for it.
bool ArticlePageBuilder::writeFile(const QString& name, const QByteArray& content) const {
    const QString localFile = files_.writableFile(paths_.InstallPath + name);
    if (localFile.isEmpty()) return false;
    QTemporaryFile file(localFile + u".XXXXXX"_s);
    if (!file.open() || file.write(content) != content.size() || !file.flush()) return false;
    // A temporary file is private to its owner; the page is not.
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::remove(localFile);
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(file.fileName()).toStdString(),
                            QFile::encodeName(localFile).toStdString(), failed);
    if (failed) return false;
    // Renamed away: nothing is left for the temporary file to remove.
    file.setAutoRemove(false);
    return true;
}

}  // namespace lumera
