// Writes a complete edition of generated articles for the benchmarks:
//   make-edition --out DIR [--articles N] [--seed S] --content SAMPLE_DIR [--words FILE]
// DIR receives lex.ini, lex.mdb (SQLite: DatabaseV and Fotos), modelo-final.htm,
// the CD tree cd/lex2000 (home page, icons, interface pictures) and
// bench-queries.tsv, the query set the harness times. The same seed gives the
// same edition.
#include <sqlite3.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTextStream>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "EditionText.h"
#include "database/RowRecordset.h"

using namespace lumera::bench;

namespace {

// The most frequent words of Portuguese prose, most frequent first: they
// take the top ranks of the Zipf law, as in real text.
const QStringList kFunctionWords = {
    "de",    "a",     "o",    "que",    "e",     "do",    "da",     "em",     "um",
    "para",  "com",   "não",  "uma",    "os",    "no",    "se",     "na",     "por",
    "mais",  "as",    "dos",  "como",   "mas",   "ao",    "ele",    "das",    "à",
    "seu",   "sua",   "ou",   "quando", "muito", "nos",   "já",     "também", "só",
    "pelo",  "pela",  "até",  "isso",   "ela",   "entre", "depois", "sem",    "mesmo",
    "aos",   "seus",  "quem", "nas",    "esse",  "eles",  "essa",   "num",    "nem",
    "suas",  "às",    "numa", "pelos",  "elas",  "qual",  "lhe",    "deles",  "essas",
    "esses", "pelas", "este", "dele",   "foi",   "são",   "era",    "tem",    "ser"};

// Words planted in a known share of the articles, so that the lookup can be
// timed with 1 %, 10 % and 100 % of the edition found. They are kept out of
// the drawn vocabulary.
const QString kEveryArticleWord = QStringLiteral("enciclopédia");
const QString kTenthWord = QStringLiteral("patrimônio");
const QString kHundredthWord = QStringLiteral("astrolábio");

struct Options {
    QString out;
    QString content;
    QString words = QStringLiteral("/usr/share/dict/brazilian");
    int articles = 100000;
    quint64 seed = 2002;
};

[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

Options parse(const QStringList& args) {
    Options options;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (i + 1 >= args.size()) fail(QStringLiteral("falta o valor de ") + arg);
        const QString value = args[++i];
        if (arg == u"--out") {
            options.out = value;
        } else if (arg == u"--content") {
            options.content = value;
        } else if (arg == u"--words") {
            options.words = value;
        } else if (arg == u"--articles") {
            options.articles = value.toInt();
        } else if (arg == u"--seed") {
            options.seed = value.toULongLong();
        } else {
            fail(QStringLiteral("opção desconhecida: ") + arg);
        }
    }
    if (options.out.isEmpty() || options.content.isEmpty() || options.articles < 1) {
        fail(
            QStringLiteral("uso: make-edition --out PASTA --content content/sample "
                           "[--articles N] [--seed S] [--words LISTA]"));
    }
    return options;
}

struct WordList {
    QStringList lower;   // common words
    QStringList proper;  // names, capitalised in the list
};

WordList readWords(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("não abre a lista de palavras ") + path);
    const QSet<QString> excluded = {kEveryArticleWord, kTenthWord, kHundredthWord};
    const QSet<QString> function(kFunctionWords.begin(), kFunctionWords.end());
    WordList words;
    while (!file.atEnd()) {
        const QString word = QString::fromUtf8(file.readLine()).trimmed();
        if (word.isEmpty() || word.contains(u'\'')) continue;
        if (excluded.contains(word.toLower()) || function.contains(word.toLower())) continue;
        (word[0].isUpper() ? words.proper : words.lower).append(word);
    }
    if (words.lower.size() < 1000)
        fail(QStringLiteral("lista de palavras pequena demais: ") + path);
    return words;
}

class Sqlite {
  public:
    explicit Sqlite(const QString& path) {
        QFile::remove(path);
        if (sqlite3_open(QFile::encodeName(path).constData(), &db_) != SQLITE_OK) fail(path);
        // The reader's key match, so that the key columns can be indexed by it.
        sqlite3_create_function_v2(db_, "lumera_fold", 1,
                                   SQLITE_UTF16 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                   &fold, nullptr, nullptr, nullptr);
    }
    ~Sqlite() { sqlite3_close(db_); }
    void exec(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            const QString text = QString::fromUtf8(message);
            sqlite3_free(message);
            fail(text);
        }
    }
    sqlite3_stmt* prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
            fail(QString::fromUtf8(sqlite3_errmsg(db_)));
        }
        return statement;
    }
    void insert(sqlite3_stmt* statement, const QStringList& values) {
        for (int i = 0; i < values.size(); ++i) {
            const QByteArray utf8 = values[i].toUtf8();
            sqlite3_bind_text(statement, i + 1, utf8.constData(), int(utf8.size()),
                              SQLITE_TRANSIENT);
        }
        if (sqlite3_step(statement) != SQLITE_DONE) fail(QString::fromUtf8(sqlite3_errmsg(db_)));
        sqlite3_reset(statement);
    }

  private:
    static void fold(sqlite3_context* context, int, sqlite3_value** arguments) {
        if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
        const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(arguments[0]));
        const QString folded = lumera::keymatch::folded(
            QString::fromUtf16(text, sqlite3_value_bytes16(arguments[0]) / 2));
        sqlite3_result_text16(context, folded.utf16(), int(folded.size() * 2), SQLITE_TRANSIENT);
    }
    sqlite3* db_ = nullptr;
};

void copyTree(const QString& relativeFrom, const QString& to) {
    const QString from = QDir(relativeFrom).absolutePath();
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else {
            QFile::remove(target);
            if (!QFile::copy(path, target)) fail(QStringLiteral("não copia ") + path);
        }
    }
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) fail(path);
}

// Non-ASCII letters as numeric references, so the page reads the same in any code page.
QString asciiHtml(const QString& text) {
    QString out;
    for (const QChar c : text) {
        out += c.unicode() < 128 ? QString(c) : QStringLiteral("&#%1;").arg(c.unicode());
    }
    return out;
}

QString volumeOf(const QString& key) {
    const char16_t first = key.isEmpty() ? u'a' : key[0].unicode();
    if (first <= u'h') return QStringLiteral("tomo98a");
    if (first <= u'p') return QStringLiteral("tomo98b");
    return QStringLiteral("tomo98c");
}

class TitleMaker {
  public:
    TitleMaker(const WordList& words, const ZipfVocabulary& vocabulary)
        : words_(words), vocabulary_(vocabulary) {}
    QString next(Random& random) {
        QString title;
        const double shape = random.uniform();
        if (shape < 0.45 && !words_.proper.isEmpty()) {
            title = words_.proper[qsizetype(random.next() % std::uint64_t(words_.proper.size()))];
        } else {
            const int rank = 100 + int(random.next() % 20000);
            title = vocabulary_.atRank(std::min(rank, vocabulary_.size() - 1));
            title[0] = title[0].toUpper();
            if (shape > 0.75) {
                title += (shape > 0.9 ? QStringLiteral(" de ") : QStringLiteral(" "));
                title += vocabulary_.atRank(100 + int(random.next() % 20000) %
                                                      (vocabulary_.size() - 100));
            }
        }
        QString unique = title;
        for (int n = 2; used_.contains(unique.toLower()); ++n) {
            unique = QStringLiteral("%1 (%2)").arg(title).arg(n);
        }
        used_.insert(unique.toLower());
        return unique;
    }

  private:
    const WordList& words_;
    const ZipfVocabulary& vocabulary_;
    QSet<QString> used_;
};

// The timed queries: words of the middle ranks (what a reader types, neither
// function words nor hapaxes), pairs of them, phrases taken from the text
// and prefixes of four or five letters. Ranks are drawn log-uniformly.
class QuerySet {
  public:
    QuerySet(const ZipfVocabulary& vocabulary, int perKind)
        : vocabulary_(vocabulary), perKind_(perKind) {}
    void offerPhrase(const QString& articleText, Random& random) {
        if (phrases_.size() >= perKind_) return;
        const qsizetype start = articleText.indexOf(u"<p>", articleText.indexOf(u"</b></p>"));
        if (start < 0) return;
        const qsizetype end = articleText.indexOf(u"</p>", start);
        QStringList plain;
        for (const QString& token : articleText.mid(start + 3, end - start - 3).split(u' ')) {
            if (token.contains(u'<') || token.contains(u',') || token.contains(u'.')) break;
            plain.append(token.toLower());
        }
        if (plain.size() < 3) return;
        const int length = random.between(2, 3);
        const int first = random.between(0, int(plain.size()) - length);
        phrases_.append(u'"' + plain.mid(first, length).join(u' ') + u'"');
    }
    QString write(Random& random) const {
        QString out;
        for (int i = 0; i < perKind_; ++i) out += QStringLiteral("word\t") + word(random) + u'\n';
        for (int i = 0; i < perKind_; ++i) {
            out += QStringLiteral("and\t") + word(random) + u' ' + word(random) + u'\n';
        }
        for (const QString& phrase : phrases_) out += QStringLiteral("phrase\t") + phrase + u'\n';
        for (int i = 0; i < perKind_; ++i) {
            QString prefix;
            while (prefix.size() < 4) prefix = word(random);
            out += QStringLiteral("prefix\t") + prefix.left(random.between(4, 5)) +
                   QStringLiteral("*\n");
        }
        return out;
    }

  private:
    QString word(Random& random) const {
        const double low = std::log(100.0);
        const double high = std::log(std::min(30000.0, double(vocabulary_.size() - 1)));
        return vocabulary_.atRank(int(std::exp(low + random.uniform() * (high - low))));
    }
    const ZipfVocabulary& vocabulary_;
    int perKind_;
    QStringList phrases_;
};

void writeEdition(const Options& options, QTextStream& out) {
    QElapsedTimer clock;
    clock.start();
    Random random(options.seed);
    const WordList words = readWords(options.words);
    const ZipfVocabulary vocabulary(kFunctionWords, words.lower, random);
    ArticleWriter writer(vocabulary, random);
    TitleMaker titles(words, vocabulary);

    QDir().mkpath(options.out);
    Sqlite db(options.out + QStringLiteral("/lex.mdb"));
    db.exec(
        "CREATE TABLE DatabaseV(Arquivo TEXT, Titulo TEXT, Verbete TEXT, Tomo TEXT);"
        "CREATE TABLE Fotos(Id INTEGER PRIMARY KEY, Classe TEXT, Item TEXT, Caption TEXT, "
        "Tipo TEXT, Param TEXT, File TEXT, Right2 TEXT, Format TEXT);"
        "BEGIN;");
    sqlite3_stmt* articleRow = db.prepare("INSERT INTO DatabaseV VALUES(?1, ?2, ?3, ?4)");
    sqlite3_stmt* mediaRow = db.prepare(
        "INSERT INTO Fotos(Classe, Item, Caption, Tipo, Param, File, Right2, Format) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    static const QStringList kinds = {"afoto", "amap", "aband", "agrafico", "afilme", "asom"};
    static const QStringList classes = {"geografia", "historia", "ciencias", "artes", "musica"};

    constexpr int kQueriesPerKind = 250;
    QuerySet queries(vocabulary, kQueriesPerKind);
    const double phraseChance = std::min(1.0, 2.0 * kQueriesPerKind / options.articles);
    QSet<QString> keys;
    QStringList homeLinks;
    qint64 textBytes = 0;
    for (int i = 0; i < options.articles; ++i) {
        const QString title = titles.next(random);
        QString stem = keyStem(title);
        if (stem.isEmpty()) stem = QStringLiteral("verbete");
        QString key = stem;
        for (int n = 2; keys.contains(key); ++n) key = QStringLiteral("%1-%2").arg(stem).arg(n);
        keys.insert(key);
        // Median about 3 KB with a long tail; one in 500 at the 200 KB the
        // longest articles reach.
        const qsizetype bytes =
            i % 500 == 250 ? 200000
                           : qsizetype(std::clamp(random.logNormal(2700, 0.75), 500.0, 200000.0));
        QString marked =
            QStringLiteral("Verbete da ") + kEveryArticleWord + QStringLiteral(" Lumera");
        if (i % 10 == 3) marked += QStringLiteral(", ") + kTenthWord + QStringLiteral(" cultural");
        if (i % 100 == 7)
            marked += QStringLiteral(", ") + kHundredthWord + QStringLiteral(" antigo");
        const QString text = writer.article(
            title, key, bytes, QStringLiteral("<p>") + marked + QStringLiteral(".</p>\r\n"));
        const QString page = key + QStringLiteral(".htm");
        const QString volume = volumeOf(key);
        db.insert(articleRow, {page, title, text, volume});
        textBytes += text.toUtf8().size();
        if (random.uniform() < phraseChance) queries.offerPhrase(text, random);
        // About three media rows per article.
        const int media = random.between(0, 6);
        for (int m = 0; m < media; ++m) {
            const QString file = QStringLiteral("%1-%2").arg(key).arg(m + 1);
            db.insert(mediaRow,
                      {classes[i % classes.size()], title, writer.sentence(),
                       kinds[random.between(0, int(kinds.size()) - 1)],
                       QStringLiteral("/lex2000/fotos/%1.jpg").arg(file),
                       file + QStringLiteral(".jpg"), QStringLiteral("Acervo Lumera"),
                       random.uniform() < 0.5 ? QStringLiteral("H") : QStringLiteral("V")});
        }
        if (homeLinks.size() < 40) {
            homeLinks.append(QStringLiteral("<li><a href=\"%1/%2\">%3</a></li>")
                                 .arg(volume, page, asciiHtml(title)));
        }
    }
    sqlite3_finalize(articleRow);
    sqlite3_finalize(mediaRow);
    // The reader matches keys through lumera_fold(); indexed on it, a request
    // reads a few index pages instead of folding every key of the table.
    db.exec(
        "CREATE INDEX DatabaseV_Arquivo ON DatabaseV(lumera_fold(Arquivo));"
        "CREATE INDEX Fotos_Item ON Fotos(lumera_fold(Item));"
        "COMMIT;");

    const QString content = options.content;
    writeFile(options.out + QStringLiteral("/lex.ini"), "PATH=./\r\nCDROM=D:\r\n");
    QFile::remove(options.out + QStringLiteral("/modelo-final.htm"));
    if (!QFile::copy(content + QStringLiteral("/modelo-final.htm"),
                     options.out + QStringLiteral("/modelo-final.htm"))) {
        fail(QStringLiteral("não copia o modelo de página"));
    }
    const QString cd = options.out + QStringLiteral("/cd/lex2000");
    copyTree(content + QStringLiteral("/cd/lex2000/image/ico"), cd + QStringLiteral("/image/ico"));
    copyTree(content + QStringLiteral("/cd/lex2000/gui"), cd + QStringLiteral("/gui"));
    for (const char* volume : {"tomo98a", "tomo98b", "tomo98c"}) {
        QDir().mkpath(cd + u'/' + QLatin1String(volume));
    }
    writeFile(
        cd + QStringLiteral("/joia.htm"),
        (QStringLiteral("<html><head><title>Lumera</title></head><body>\r\n"
                        "<form action=\"dtsearch.asp\"><input type=\"text\" "
                        "name=\"request\"></form>\r\n<ul>\r\n") +
         homeLinks.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n</ul></body></html>\r\n"))
            .toLatin1());
    writeFile(options.out + QStringLiteral("/bench-queries.tsv"), queries.write(random).toUtf8());
    out << "make-edition: " << options.articles << " artigos, "
        << QString::number(double(textBytes) / 1e6, 'f', 1) << " MB de texto, em "
        << QString::number(double(clock.elapsed()) / 1000.0, 'f', 1) << " s: " << options.out
        << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args.append(QString::fromLocal8Bit(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        writeEdition(parse(args), out);
    } catch (const std::exception& error) {
        err << "make-edition: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
