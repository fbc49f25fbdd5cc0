#include "searchengine/XapianDocumentPreparer.h"

#include "searchengine/HtmlText.h"
#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

// Title words count more than body words; the gap keeps a phrase from
// running from the title into the text.
constexpr Xapian::termcount kTitleWeight = 3;
constexpr Xapian::termpos kTitleGap = 100;

}  // namespace

DocumentPreparer::DocumentPreparer(bool foldedStems, WrittenWordsKept written)
    : foldedStems_(foldedStems),
      written_(written),
      accentedStems_(&vocabulary_),
      writtenWords_(written, accentedStems_, vocabulary_),
      postings_(writtenWords_) {}

std::unique_ptr<Xapian::Document> DocumentPreparer::prepare(const IndexedDetails& details,
                                                            const QString& html) {
    const QString text = HtmlText::plainText(html);
    accentedStems_.clear();
    accentedStems_.learn(details.title);
    accentedStems_.learn(text);
    auto document = std::make_unique<Xapian::Document>();
    indexText(*document, details.title, text);
    if (foldedStems_) addFoldedStems(*document);
    // Indexes of words in a lexicon read the details from their table only:
    // Xapian compressed every document's data, and the titles' values were
    // a sixth of the postings.
    if (written_ == WrittenWordsKept::AsTerms) {
        document->set_data(encodeDetails(details));
        document->add_value(indexformat::kTitleSlot, toUtf8(details.title));
    }
    return document;
}

void DocumentPreparer::indexText(Xapian::Document& document, const QString& title,
                                 const QString& text) {
    postings_.setDocument(document);
    writtenWords_.startDocument(&document);
    writtenWords_.setWeight(kTitleWeight);
    postings_.index(searchableText(title), kTitleWeight);
    postings_.increasePosition(kTitleGap);
    writtenWords_.setWeight(1);
    postings_.index(searchableText(text), 1);
    writtenWords_.finishDocument();
}

// A word typed without accents is stemmed without them, and the stemmer
// often stems the two spellings apart (independência -> independent, but
// independencia -> independenc). So a document holds, besides the stem of
// each word as written, the stem of its folded spelling; and that folded
// stem is a synonym of the accented one, so that a form typed without
// accents finds every form of the words whose folded stem it shares.
void DocumentPreparer::addFoldedStems(Xapian::Document& document) {
    for (const auto& [folded, accentedStem] : accentedStems_.entries()) {
        std::string foldedStem = vocabulary_.stem(folded);
        if (foldedStem == accentedStem) continue;
        foldedStem.insert(0, 1, 'Z');
        document.add_term(foldedStem);
        synonyms_[foldedStem].insert("Z" + accentedStem);
    }
}

}  // namespace lumera
