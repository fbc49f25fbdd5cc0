#include "searchengine/XapianWrittenWords.h"

namespace lumera {

void WrittenWords::startDocument(Xapian::Document* document) {
    document_ = document;
    weight_ = 1;
    length_ = 0;
    // clear() would go through all the buckets that the longest article
    // made, for every short one after it.
    if (words_.bucket_count() > kBucketsKept) {
        words_ = {};
    } else {
        words_.clear();
    }
}

const std::string& WrittenWords::add(const std::string& word) {
    if (kept_ == WrittenWordsKept::AsTerms) {
        document_->add_term(word, weight_);
    } else {
        length_ += weight_;
    }
    auto [found, first] = words_.try_emplace(word);
    Occurrence& occurrence = found->second;
    if (first) {
        occurrence.word = &vocabulary_[word];
        const std::string* learnt = learnt_.find(word);
        occurrence.stem = learnt ? *learnt : vocabulary_.stem(*occurrence.word, word);
    }
    return occurrence.stem;
}

void WrittenWords::finishDocument() {
    if (kept_ == WrittenWordsKept::InLexicon) {
        for (const auto& [word, occurrence] : words_) {
            // The term generator leaves out a word whose stem is empty.
            if (!occurrence.stem.empty())
                Vocabulary::addDocument(*occurrence.word, occurrence.stem);
        }
        if (length_ > 0) document_->add_term(kLengthTerm, length_);
    }
    document_ = nullptr;
}

}  // namespace lumera
