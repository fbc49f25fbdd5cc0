#pragma once

#include <xapian.h>

#include <string>
#include <unordered_map>

#include "searchengine/XapianPortuguese.h"

namespace lumera {

// How an index keeps the words as written (folded), which prefixes (bras*)
// search. Stems carry the positions and answer every other query.
enum class WrittenWordsKept {
    // One posting for each word of each document, as indexes were built
    // before the word lexicon. Half of the build's processor time went there.
    AsTerms,
    // Only the edition's vocabulary: each word's document count and the
    // stems it was indexed under (WordLexicon), so that a prefix expands to
    // those stems.
    InLexicon,
};

// The words of one document as the text is split: each word's stem (that of
// its accented spelling when the document has one, see AccentedStems) for
// its postings, and the word as written kept as the index keeps it.
class WrittenWords {
  public:
    // vocabulary: of this thread; learnt: the document's accented words.
    WrittenWords(WrittenWordsKept kept, const AccentedStems& learnt, Vocabulary& vocabulary)
        : kept_(kept), learnt_(learnt), vocabulary_(vocabulary) {}

    void startDocument(Xapian::Document* document);
    // Weight of the words that come next (title or text).
    void setWeight(Xapian::termcount weight) { weight_ = weight; }
    // Records one occurrence of word; returns its stem. A word's stem is the
    // same throughout a document, and most words come back in it.
    const std::string& add(const std::string& word);
    // Counts the document's words and, for InLexicon, keeps its length.
    void finishDocument();

    // Holds, in an index whose words are in its lexicon, the weight its words
    // as written would have added: the ranking weighs a word by the length
    // of its document, and so the order of results stays what it was.
    static inline const std::string kLengthTerm = "XLENGTH";

  private:
    struct Occurrence {
        Vocabulary::Word* word = nullptr;
        std::string stem;
    };
    static constexpr std::size_t kBucketsKept = 4096;

    const WrittenWordsKept kept_;
    const AccentedStems& learnt_;
    Vocabulary& vocabulary_;
    Xapian::Document* document_ = nullptr;
    Xapian::termcount weight_ = 1;
    Xapian::termcount length_ = 0;
    std::unordered_map<std::string, Occurrence> words_;  // of this document
};

}  // namespace lumera
