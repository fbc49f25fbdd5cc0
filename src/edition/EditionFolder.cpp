#include "edition/EditionFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumera::editionfolder {
namespace {

const QString kIni = QStringLiteral("lex.ini");
const QString kSavedDrive = QStringLiteral("lumera-drives");
const QString kRandom = QStringLiteral("[A-Za-z0-9]{6}");

// Everything in a folder, hidden entries and links included, never followed.
QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

bool isStagingInside(const QString& name) {
    static const QRegularExpression pattern(u'^' + QRegularExpression::escape(kStagingInside) +
                                            kRandom + u'$');
    return pattern.match(name).hasMatch();
}

bool exists(const QString& path) { return QFileInfo(path).exists() || QFileInfo(path).isSymLink(); }

}  // namespace

bool IsOwnName(const QString& name) {
    // The files themselves, and the names their writers give them while they
    // are being written (QSaveFile, the page builder: name.XXXXXX); the
    // index's own staging and retired folders; the set-up's work folder.
    static const QRegularExpression pattern(
        QStringLiteral(
            "^(lex\\.ini|lex\\.mdb|modelo-final\\.htm|lumera-drives|search\\.lst|"
            "lex\\.chaves|indice|v\\.txt|vf\\.htm|\\.lumera-instalacao|\\.lumera-trabalho)"
            "(\\.%1)?$|^\\.indice\\.(novo|antigo)-%1$")
            .arg(kRandom));
    return pattern.match(name).hasMatch() || isStagingInside(name);
}

State Classify(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink()) return State::Absent;
    if (!info.isDir()) return State::NotAFolder;
    const QStringList entries = entriesOf(folder);
    if (entries.isEmpty()) return State::Empty;
    const bool allOwn = std::all_of(entries.begin(), entries.end(), IsOwnName);
    // Set-ups before the mark wrote the saved drive; with nothing else of the
    // user's beside it, that folder is theirs as well.
    const bool madeBySetup =
        entries.contains(kSetupMark) || (entries.contains(kSavedDrive) && allOwn);
    if (entries.contains(kIni)) return madeBySetup ? State::SetupEdition : State::ForeignEdition;
    if (entries.contains(kSetupMark) || (allOwn && entries.contains(kSavedDrive))) {
        return State::SetupLeftover;
    }
    // Only stopped set-ups' folders: nothing of an edition yet.
    if (std::all_of(entries.begin(), entries.end(), isStagingInside)) return State::Empty;
    return State::UserFolder;
}

QString StagingPrefixBeside(const QString& target) {
    return u'.' + QFileInfo(target).fileName() + u'.' + kStagingInside.mid(1);
}

QStringList Leftovers(const QString& target) {
    const QFileInfo info(target);
    const QRegularExpression beside(u'^' + QRegularExpression::escape(StagingPrefixBeside(target)) +
                                    kRandom + u'$');
    QStringList found;
    for (const QString& name : entriesOf(info.absolutePath())) {
        const QFileInfo entry(info.dir().filePath(name));
        if (beside.match(name).hasMatch() && entry.isDir() && !entry.isSymLink()) {
            found.append(entry.absoluteFilePath());
        }
    }
    if (info.isDir()) {
        for (const QString& name : entriesOf(target)) {
            const QFileInfo entry(QDir(target).filePath(name));
            if (isStagingInside(name) && entry.isDir() && !entry.isSymLink()) {
                found.append(entry.absoluteFilePath());
            }
        }
    }
    return found;
}

bool DisposeOf(const QString& folder, const QString& target) {
    const QDir dir(folder);
    for (const QString& name : entriesOf(folder)) {
        const QString path = dir.filePath(name);
        const QFileInfo entry(path);
        if (IsOwnName(name)) {
            if (entry.isDir() && !entry.isSymLink()) {
                QDir(path).removeRecursively();
            } else {
                QFile::remove(path);
            }
        } else if (QFileInfo(target).isDir() && !exists(QDir(target).filePath(name))) {
            QDir().rename(path, QDir(target).filePath(name));
        }
    }
    return QDir().rmdir(folder);
}

}  // namespace lumera::editionfolder
