#include "reading/FavouritesText.h"

#include <QStringList>

namespace lumera::favouritestext {
namespace {

const QString kHeader = QStringLiteral(
    "# Favoritos da Lumera Edição 2002: data, verbete, título e nota, separados por tabulação\n");

QString escaped(QString field) {
    return field.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\n', QStringLiteral("\\n"))
        .remove(u'\r');
}

QString unescaped(const QString& field) {
    QString plain;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            plain += field[i];
            continue;
        }
        const QChar next = field[++i];
        plain += next == u't' ? QChar(u'\t') : next == u'n' ? QChar(u'\n') : next;
    }
    return plain;
}

}  // namespace

QString write(const QList<ReadingEntry>& favourites) {
    QString text = kHeader;
    for (const ReadingEntry& entry : favourites) {
        text += QStringList{entry.when.toString(Qt::ISODate), escaped(entry.key),
                            escaped(entry.title), escaped(entry.note)}
                    .join(u'\t') +
                u'\n';
    }
    return text;
}

QList<ReadingEntry> read(const QString& text) {
    QList<ReadingEntry> favourites;
    for (QString line : text.split(u'\n')) {
        line.remove(u'\r');
        if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
        const QStringList fields = line.split(u'\t');
        if (fields.size() < 3 || fields[1].isEmpty() || fields[2].isEmpty()) continue;
        QDateTime when = QDateTime::fromString(fields[0], Qt::ISODate);
        if (!when.isValid()) when = QDateTime::currentDateTime();
        favourites.append({0, unescaped(fields[1]), unescaped(fields[2]),
                           fields.size() > 3 ? unescaped(fields[3]) : QString(), when});
    }
    return favourites;
}

}  // namespace lumera::favouritestext
