#include "articles/Citation.h"

#include "articles/PageComposer.h"

namespace lumera {
namespace {

// The first word in capitals, the rest as written: how ABNT enters a work
// without an author.
QString enteredByTitle(const QString& title) {
    qsizetype end = title.indexOf(u' ');
    if (end < 0) end = title.size();
    return title.left(end).toUpper() + title.mid(end);
}

}  // namespace

const EditionReference& LumeraEdition() {
    static const EditionReference edition{
        QStringLiteral("Lumera"),      QStringLiteral("enciclopédia multimídia"),
        QStringLiteral("Edição 2002"), QStringLiteral("[S. l.]"),
        QStringLiteral("Ondarel"),     QStringLiteral("2002"),
        QStringLiteral("1 CD-ROM")};
    return edition;
}

QString AbntCitation(const QString& entryTitle, const EditionReference& edition) {
    QString entry = enteredByTitle(entryTitle.simplified());
    if (!entry.endsWith(u'.')) entry += u'.';
    return QStringLiteral("%1 In: %2: %3. %4. %5: %6, %7. %8.")
        .arg(entry, enteredByTitle(edition.work), edition.subtitle, edition.edition, edition.place,
             edition.publisher, edition.year, edition.medium);
}

QString ArticleTitleOfPage(const QString& pageTitle) {
    if (!pageTitle.startsWith(PageComposer::kHeaderPrefix)) return {};
    return pageTitle.mid(PageComposer::kHeaderPrefix.size()).trimmed();
}

}  // namespace lumera
