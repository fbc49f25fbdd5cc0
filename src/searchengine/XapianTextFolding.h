#pragma once

#include <QString>
#include <QStringView>
#include <string>

namespace lumera {

// What a reader may leave out when typing: accents, letter case and
// compatibility forms (ª, º, ligatures) do not tell words apart. Index and
// query go through the same folding so that "agua" meets "Água".
QString foldForSearch(QStringView text);
// The same by Unicode normalization of the whole text, which foldForSearch
// does only for characters from U+0100 on.
QString foldFully(QStringView text);

// The folded text as the word splitter of the index and of the query parser
// sees it: apostrophes split words (d'água is "d" and "agua") and control
// characters are blanks.
QString searchableText(QStringView text);

// True for the characters a word is made of: letters, digits and the marks
// that belong to them.
bool isWordCharacter(QChar c);

// Calls visit(word, start, end) for each run of word characters of text.
template <typename Visit>
void forEachWord(QStringView text, Visit visit) {
    qsizetype i = 0;
    while (i < text.size()) {
        if (!isWordCharacter(text[i])) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && isWordCharacter(text[end])) ++end;
        visit(text.mid(i, end - i), i, end);
        i = end;
    }
}

std::string toUtf8(QStringView text);
QString fromUtf8(const std::string& text);

}  // namespace lumera
