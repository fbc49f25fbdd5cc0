#pragma once

#include <xapian.h>

#include <QString>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "searchengine/XapianDocumentFormat.h"
#include "searchengine/XapianPortuguese.h"
#include "searchengine/XapianStemPostings.h"
#include "searchengine/XapianWrittenWords.h"

namespace lumera {

// Turns an article into the document the index holds. Every word is indexed
// under its Portuguese stem, taken from the accented word, with its position
// (phrases match stems), and kept as written, folded (prefixes). Since a
// query typed without accents cannot know the accented stem, the stem of the
// folded word is indexed too where it differs, with the accented stem as its
// synonym. One preparer serves one thread; it gathers the words and synonyms
// of the documents it made.
class DocumentPreparer {
  public:
    // Folded stem ("Z...") to the accented stems it stands for.
    using Synonyms = std::map<std::string, std::set<std::string>>;

    DocumentPreparer(bool foldedStems, WrittenWordsKept written);
    DocumentPreparer(const DocumentPreparer&) = delete;
    DocumentPreparer& operator=(const DocumentPreparer&) = delete;

    // details: the title as the list shows it and the path; html: the
    // article. Throws Xapian::Error.
    std::unique_ptr<Xapian::Document> prepare(const IndexedDetails& details, const QString& html);
    const Vocabulary& words() const { return vocabulary_; }
    const Synonyms& synonyms() const { return synonyms_; }

  private:
    void indexText(Xapian::Document& document, const QString& title, const QString& text);
    void addFoldedStems(Xapian::Document& document);

    const bool foldedStems_;
    const WrittenWordsKept written_;
    Vocabulary vocabulary_;
    AccentedStems accentedStems_;
    WrittenWords writtenWords_;
    StemPostings postings_;
    Synonyms synonyms_;
};

}  // namespace lumera
