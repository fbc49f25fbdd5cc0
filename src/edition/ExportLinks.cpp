#include "edition/ExportLinks.h"

#include "media/DriveMap.h"

namespace lumera {
namespace {

using namespace Qt::StringLiterals;

QString fragmentOf(const QString& address) {
    const qsizetype hash = address.indexOf(u'#');
    return hash < 0 ? QString() : address.mid(hash + 1);
}

QString withoutQueryOrFragment(const QString& address) {
    qsizetype end = address.size();
    for (const QChar mark : {u'?', u'#'}) {
        const qsizetype at = address.indexOf(mark);
        if (at >= 0 && at < end) end = at;
    }
    return address.left(end);
}

bool isWeb(const QString& value) {
    return value.startsWith("http://"_L1, Qt::CaseInsensitive) ||
           value.startsWith("https://"_L1, Qt::CaseInsensitive);
}

}  // namespace

const QString ExportLinks::kPictureEntry = u"leitor/tv.htm"_s;
const QString ExportLinks::kPictureFileEntry = u"leitor/tv.jpg"_s;
const QString ExportLinks::kGoBack = u"javascript:history.back()"_s;

ExportLinks::ExportLinks(const DriveMap& drives, const ContentPaths& paths,
                         ReaderLinks::ArticleKeys isArticle)
    : drives_(drives),
      cdDrive_(paths.CdRomPath.left(1).toUpper()),
      links_(drives, paths.CdRomPath, std::move(isArticle)) {}

QString ExportLinks::articleEntry(const QString& key) { return u"verbete/"_s + key.toCaseFolded(); }

QString ExportLinks::entryOfClick(const QString& address) {
    const LinkOutcome outcome = links_.follow(address);
    if (outcome.kind == LinkOutcome::Kind::Article) return articleEntry(outcome.value);
    return outcome.kind == LinkOutcome::Kind::Shown ? cdEntry(outcome.value) : QString();
}

ReferenceRewrite ExportLinks::rewriterFor(const QString& pageAddress, const QString& entry) {
    return [this, page = ReaderLinks::urlOf(pageAddress), entry](ReferenceUse use,
                                                                 const QString& value) {
        return use == ReferenceUse::Resource ? resource(page, entry, value)
                                             : link(page, entry, value, use == ReferenceUse::Form);
    };
}

std::optional<ExportLinks::CdFile> ExportLinks::nextFile() {
    if (queue_.isEmpty()) return std::nullopt;
    return queue_.dequeue();
}

std::optional<QString> ExportLinks::link(const QUrl& page, const QString& entry,
                                         const QString& value, bool form) {
    // A move inside the page: the browser does not ask the router.
    if (value.startsWith(u'#')) return form ? std::nullopt : std::optional<QString>(value);
    const LinkOutcome outcome = links_.follow(ReaderLinks::addressOf(page, value));
    switch (outcome.kind) {
        case LinkOutcome::Kind::Article:
            return relativeEntryUrl(entry, articleEntry(outcome.value));
        case LinkOutcome::Kind::Shown:
            if (const QString target = cdEntry(outcome.value); !target.isEmpty()) {
                return relativeEntryUrl(entry, target, fragmentOf(outcome.value));
            }
            break;
        case LinkOutcome::Kind::Picture:
            if (form) break;
            pictureNamed_ = true;
            return relativeEntryUrl(entry, kPictureEntry);
        case LinkOutcome::Kind::Back:
            if (form) break;
            return kGoBack;
        case LinkOutcome::Kind::Nowhere:
            break;
    }
    // The reader never goes to the web; the file leaves the CD's links to web
    // sites to the Kiwix reader, which asks before it leaves the file.
    if (!form && isWeb(value)) return value;
    return std::nullopt;
}

std::optional<QString> ExportLinks::resource(const QUrl& page, const QString& entry,
                                             const QString& value) {
    const QString target = cdEntry(ReaderLinks::addressOf(page, value));
    if (target.isEmpty()) return std::nullopt;
    return relativeEntryUrl(entry, target);
}

QString ExportLinks::storedFile(const QString& address) const {
    const QString path = withoutQueryOrFragment(address);
    const auto known = stored_.constFind(path);
    if (known != stored_.constEnd()) return *known;
    return *stored_.insert(path, findStoredFile(path));
}

QString ExportLinks::findStoredFile(const QString& path) const {
    if (QString stored = drives_.storedPath(path); !stored.isEmpty()) return stored;
    // As the browser serves them: a path from the root ("/lex2000/gui/1px.gif")
    // that its own drive or the installation folder lacks is the CD's.
    QChar drive;
    QString rooted = path;
    if (DriveMap::splitDrivePath(path, &drive, &rooted) || rooted.startsWith(u'/')) {
        const QChar holder = drives_.driveHolding(rooted);
        if (!holder.isNull()) return drives_.storedPath(QString(holder) + u':' + rooted);
    }
    return QString();
}

QString ExportLinks::cdEntry(const QString& address) {
    const QString stored = storedFile(address);
    if (cdDrive_.isEmpty() || !stored.startsWith(cdDrive_ + u":/"_s)) return QString();
    const QString entry = stored.mid(3);
    if (!named_.contains(entry)) {
        named_.insert(entry);
        queue_.enqueue({stored, entry});
    }
    return entry;
}

QString relativeEntryUrl(const QString& from, const QString& to, const QString& fragment) {
    const QStringList fromParts = from.split(u'/');
    const QStringList toParts = to.split(u'/');
    qsizetype common = 0;
    while (common + 1 < fromParts.size() && common + 1 < toParts.size() &&
           fromParts[common] == toParts[common]) {
        ++common;
    }
    QString url = u"../"_s.repeated(fromParts.size() - 1 - common);
    QStringList rest;
    for (qsizetype i = common; i < toParts.size(); ++i) {
        rest.append(QString::fromLatin1(QUrl::toPercentEncoding(toParts[i])));
    }
    url += rest.join(u'/');
    return fragment.isEmpty() ? url : url + u'#' + fragment;
}

}  // namespace lumera
