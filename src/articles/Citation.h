#pragma once

#include <QString>

namespace lumera {

// What a reference to the encyclopedia names of it.
struct EditionReference {
    QString work;
    QString subtitle;
    QString edition;
    QString place;  // "[S. l.]": the medium names no place
    QString publisher;
    QString year;
    QString medium;
};

// The edition this reader opens.
const EditionReference& LumeraEdition();

// The reference of an entry of the encyclopedia as Brazilian schools ask for
// it (ABNT NBR 6023, part of a work on CD-ROM, entered by its title): the
// entry's first word in capitals, then "In:", the work, edition, place,
// publisher, year and medium. Plain text.
QString AbntCitation(const QString& entryTitle, const EditionReference& edition = LumeraEdition());

// The article's title in the title of its page; empty for a page that is no
// article.
QString ArticleTitleOfPage(const QString& pageTitle);

}  // namespace lumera
