// Accents and inflections: does a word typed in another form than the text
// holds, with or without its accents, find the articles of its word family?
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include "Benches.h"
#include "searchengine/IndexBuilder.h"
#include "searchengine/XapianIndexFiles.h"
#include "searchengine/XapianPortuguese.h"
#include "searchengine/XapianQueryBuilder.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera::bench {
namespace {

// Families of the stemmer's own conflation: the words of the list that the
// Portuguese stemmer gives one stem, where accents matter (some form has one).
struct Family {
    QString textForm;        // the only form the edition holds
    QStringList queryForms;  // other forms, none of them in the edition
};

bool hasAccent(const QString& word) {
    for (const QChar c : word) {
        if (c.unicode() >= 0x80) return true;
    }
    return false;
}

std::vector<Family> wordFamilies(const QString& wordList, int wanted) {
    QFile file(wordList);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read the word list");
    PortugueseStemmer stemmer;
    std::map<std::string, QStringList> byStem;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        // Lower-case entries only: names and abbreviations are no inflections.
        if (word.size() < 4 || word != word.toLower() || word.contains(u'\'')) continue;
        byStem[stemmer.stem(toUtf8(word))].append(word);
    }
    std::vector<Family> all;
    for (auto& [stem, forms] : byStem) {
        if (forms.size() < 3 || !std::any_of(forms.begin(), forms.end(), hasAccent)) continue;
        // The edition holds an accented form: the hard case for a reader who
        // types without accents.
        Family family;
        family.textForm =
            forms.takeAt(std::find_if(forms.begin(), forms.end(), hasAccent) - forms.begin());
        family.queryForms = forms.mid(0, 3);
        all.push_back(std::move(family));
    }
    // Spread over the alphabet rather than the first letters only.
    std::vector<Family> chosen;
    const std::size_t step = std::max<std::size_t>(1, all.size() / std::size_t(wanted));
    for (std::size_t i = 0; i < all.size() && chosen.size() < std::size_t(wanted); i += step) {
        chosen.push_back(all[i]);
    }
    return chosen;
}

constexpr int kFamiliesPerArticle = 5;

struct Outcome {
    int queries = 0;
    int found = 0;        // queries that found their family's article
    int phraseFound = 0;  // the same forms typed in quotes, as a phrase
    int phrases = 0;
    double extra = 0;
    Samples times;
    qint64 indexBytes = 0;
};

Outcome measure(const std::vector<Family>& families, bool foldedStems) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("index"));
    IndexBuilder::Options options;
    options.foldedStems = foldedStems;
    {
        IndexBuilder builder(path, options);
        for (std::size_t first = 0; first < families.size(); first += kFamiliesPerArticle) {
            QStringList words;
            for (std::size_t i = first; i < std::min(families.size(), first + kFamiliesPerArticle);
                 ++i) {
                words << families[i].textForm;
            }
            const QString key = QStringLiteral("artigo%1.htm").arg(first);
            builder.add({key, QStringLiteral("Artigo %1").arg(first),
                         QStringLiteral("<p>%1.</p>").arg(words.join(QStringLiteral(", "))),
                         QStringLiteral("tomo98a")});
        }
        builder.finish();
    }
    Outcome outcome;
    QDirIterator files(path, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) outcome.indexBytes += QFileInfo(files.next()).size();

    const IndexFiles index = IndexFiles::open(path);
    const Xapian::Database& database = index.index;
    const WordLexicons lexicons{index.lexicon};
    XapianQueryBuilder queries(database, lexicons);
    for (std::size_t i = 0; i < families.size(); ++i) {
        const std::string expected = toUtf8(
            QStringLiteral("artigo%1.htm").arg(i / kFamiliesPerArticle * kFamiliesPerArticle));
        for (const QString& form : families[i].queryForms) {
            for (const QString& unquoted : {form, foldForSearch(form)}) {
                for (const QString& typed : {unquoted, u'"' + unquoted + u'"'}) {
                    const bool phrase = typed.startsWith(u'"');
                    const auto start = Clock::now();
                    Xapian::Enquire enquire(database);
                    enquire.set_query(queries.build(typed));
                    const Xapian::MSet found = enquire.get_mset(0, database.get_doccount());
                    outcome.times.add(millisecondsSince(start));
                    bool hit = false;
                    for (auto it = found.begin(); it != found.end(); ++it) {
                        hit = hit ||
                              toUtf8(index.table->path(*it)).find(expected) != std::string::npos;
                    }
                    if (!hit && qEnvironmentVariableIsSet("LUMERA_BENCH_MISSES")) {
                        qInfo().noquote() << "missed" << typed << "for" << families[i].textForm;
                    }
                    (phrase ? outcome.phrases : outcome.queries) += 1;
                    (phrase ? outcome.phraseFound : outcome.found) += hit;
                    if (!phrase) outcome.extra += found.size() - (hit ? 1 : 0);
                }
            }
        }
    }
    return outcome;
}

}  // namespace

void benchAccents(const BenchContext& context, const QString& wordList) {
    const std::vector<Family> families = wordFamilies(wordList, context.quick ? 100 : 600);
    int queryForms = 0;
    for (const Family& family : families) queryForms += int(family.queryForms.size());
    context.out << "\n### Word forms absent from the text, typed with and without accents\n\n"
                << families.size() << " word families of `" << QFileInfo(wordList).fileName()
                << "` (forms the stemmer gives one stem, one of them accented); each article "
                   "holds one form of "
                << kFamiliesPerArticle << " families, and " << queryForms
                << " other forms of them are searched for, each typed accented and unaccented, "
                   "alone and in quotes (a phrase).\n\n";
    Table table(context.out, {"index", "recall", "recall in quotes", "extra results per query",
                              "index size (KB)", "query p50 (ms)", "query p95 (ms)"});
    for (const bool folded : {false, true}) {
        const Outcome o = measure(families, folded);
        const double recall = 100.0 * o.found / std::max(1, o.queries);
        table.row({folded ? "accented and folded stems" : "accented stems only",
                   number(recall, 1) + " %",
                   number(100.0 * o.phraseFound / std::max(1, o.phrases), 1) + " %",
                   number(o.extra / std::max(1, o.queries), 2), number(double(o.indexBytes) / 1024),
                   number(o.times.median(), 3), number(o.times.p95(), 3)});
        if (folded) context.summary.put(QStringLiteral("accents.recall"), recall);
    }
}

}  // namespace lumera::bench
