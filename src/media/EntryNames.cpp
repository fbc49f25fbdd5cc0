#include "media/EntryNames.h"

#include <QRegularExpression>
#include <algorithm>

namespace lumera {
namespace {

// The 8.3 base of a long name: no blanks or dots, upper case.
QString shortBase(const QString& longName) {
    QString base = longName;
    const qsizetype dot = base.lastIndexOf(u'.');
    if (dot > 0) base.truncate(dot);
    base.remove(u' ').remove(u'.');
    return base.toUpper();
}

QString shortExtension(const QString& longName) {
    const qsizetype dot = longName.lastIndexOf(u'.');
    if (dot <= 0) return {};
    return longName.mid(dot + 1).left(3).toUpper();
}

QString matchShortName(const QStringList& entries, const QString& component) {
    static const QRegularExpression shortName(
        QStringLiteral("^([^~.]{1,6})~([0-9]+)(?:\\.([^.]{0,3}))?$"));
    const auto m = shortName.match(component);
    if (!m.hasMatch()) return {};
    const QString prefix = m.captured(1).toUpper();
    const QString ext = m.captured(3).toUpper();
    const int number = m.captured(2).toInt();
    QStringList candidates;
    for (const QString& entry : entries) {
        if (shortBase(entry).startsWith(prefix) && shortExtension(entry) == ext) {
            candidates.append(entry);
        }
    }
    // Windows numbers them in creation order, which a copy of the files no
    // longer knows; name order is the best stable guess.
    std::sort(candidates.begin(), candidates.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    if (number < 1 || number > candidates.size()) return {};
    return candidates.at(number - 1);
}

}  // namespace

QString MatchEntryName(const QStringList& entries, const QString& component) {
    if (entries.contains(component)) return component;
    for (const QString& entry : entries) {
        if (entry.compare(component, Qt::CaseInsensitive) == 0) return entry;
    }
    return matchShortName(entries, component);
}

}  // namespace lumera
