// The search query builder on any text, against a small real index of the
// test corpus: it always gives a query, and the query runs.

#include <xapian.h>
#include <QDir>
#include <QTemporaryDir>

#include "FuzzCheck.h"
#include "searchengine/IndexBuilder.h"
#include "searchengine/SearchTestSupport.h"
#include "searchengine/XapianIndexFiles.h"
#include "searchengine/XapianQueryBuilder.h"

using namespace lumera;

namespace {

struct SmallIndex {
    QTemporaryDir dir;
    Xapian::Database database;
    WordLexicons lexicons;

    SmallIndex() {
        const QString path = QDir(dir.path()).filePath(u"indice"_qs);
        IndexBuilder builder(path);
        for (const IndexRecord& record : testing::corpusRecords()) builder.add(record);
        builder.finish();
        fuzz::check(builder.documentCount() > 0, "the corpus gave no documents");
        const IndexFiles files = IndexFiles::open(path);
        database = files.index;
        lexicons = {files.lexicon};
    }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::requiredEnvironment("LUMERA_TEST_DATA");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static SmallIndex index;
    const QString request = QString::fromUtf8(fuzz::bytesOf(data, size));
    XapianQueryBuilder builder(index.database, index.lexicons);
    Xapian::Query query;
    try {
        query = builder.build(request);
    } catch (const Xapian::Error& error) {
        fuzz::invariantBroken("the builder threw", QString::fromStdString(error.get_description()));
    }
    try {
        Xapian::Enquire enquire(index.database);
        enquire.set_query(query);
        const Xapian::MSet found = enquire.get_mset(0, 10);
        fuzz::check(found.size() <= 10, "more results than asked for");
    } catch (const Xapian::Error& error) {
        fuzz::invariantBroken("the query did not run",
                              QString::fromStdString(error.get_description()));
    }
    return 0;
}
