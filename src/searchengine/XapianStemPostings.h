#pragma once

#include <xapian.h>

#include <QStringView>
#include <string>

#include "searchengine/XapianWrittenWords.h"

namespace lumera {

// Posts the stem of every word of a text at the word's position, as
// Xapian's TermGenerator does with STEM_ALL_Z: the same words, split by the
// same rules (word characters, letters joined by ' or &, digits by . or ,
// and the like, a trailing + or #), the same positions. It reads the folded
// text as it is, where the term generator wanted it in UTF-8 and spent a
// third of the time of preparing a document splitting it.
class StemPostings {
  public:
    // words: what stems them and keeps them as written.
    explicit StemPostings(WrittenWords& words);

    // Starts a document at position 0.
    void setDocument(Xapian::Document& document);
    void index(QStringView text, Xapian::termcount weight);
    void increasePosition(Xapian::termpos by) { position_ += by; }

    // Words longer than this, in UTF-8 bytes, are left out, as the term
    // generator leaves them out by default.
    static constexpr std::size_t kMaxWordLength = 64;

  private:
    void post(const std::string& word, Xapian::termcount weight);
    class Reader;

    WrittenWords& words_;
    Xapian::Document* document_ = nullptr;
    Xapian::termpos position_ = 0;
    std::string term_;
    std::string stemTerm_;
    // Xapian splits Chinese, Japanese and Korean text in n-grams when asked
    // to by its environment; the term generator then does the work.
    const bool xapianSplits_;
    Xapian::TermGenerator generator_;
};

}  // namespace lumera
