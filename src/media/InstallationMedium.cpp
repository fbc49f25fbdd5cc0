#include "media/InstallationMedium.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <vector>

#include "media/Cabinet.h"
#include "media/EntryNames.h"

namespace lumera {
namespace {

constexpr QChar kDrive = u'M';
const QString kRoot = QStringLiteral("M:\\");
// A CD holds a few thousand entries; a hostile or looping tree stops here.
constexpr int kMaxDepth = 8;
constexpr int kMaxEntries = 50000;

QString lastComponent(const QString& path) {
    return path.mid(path.lastIndexOf(QRegularExpression(QStringLiteral("[\\\\/]"))) + 1);
}

// True when a name on the medium stands for wanted: the same name in any
// letter case, or one of its 8.3 forms.
bool standsFor(const QString& onMedium, const QString& wanted) {
    return !MatchEntryName({wanted}, onMedium).isEmpty();
}

}  // namespace

std::unique_ptr<InstallationMedium> InstallationMedium::open(const QString& source) {
    auto medium = std::unique_ptr<InstallationMedium>(new InstallationMedium(source));
    if (!medium->drives_.map(kDrive, source)) return nullptr;
    medium->scan();
    return medium;
}

// Breadth first, so that the shallowest lex2000 and files win.
void InstallationMedium::scan() {
    QStringList level{kRoot};
    int seen = 0;
    for (int depth = 0; depth <= kMaxDepth && !level.isEmpty() && seen < kMaxEntries; ++depth) {
        QStringList next;
        for (const QString& directory : level) {
            const QString prefix = directory.endsWith(u'\\') ? directory : directory + u'\\';
            for (const QString& name : drives_.entryNames(directory, QDir::Dirs)) {
                if (++seen > kMaxEntries) break;
                if (contentSource_.isEmpty() &&
                    name.compare(u"lex2000", Qt::CaseInsensitive) == 0) {
                    contentSource_ = drives_.isImage(kDrive) ? drives_.directoryOf(kDrive)
                                                             : drives_.existingFile(directory);
                    // An image is mapped whole: its tree must start at its root.
                    if (drives_.isImage(kDrive) && depth > 0) contentSource_.clear();
                }
                next.append(prefix + name);
            }
            for (const QString& name : drives_.entryNames(directory, QDir::Files)) {
                if (++seen > kMaxEntries) break;
                files_.append(prefix + name);
            }
        }
        level = next;
    }
}

std::optional<InstallationMedium::File> InstallationMedium::find(const QString& name,
                                                                 const QString& workFolder) const {
    for (const QString& path : files_) {
        if (!standsFor(lastComponent(path), name)) continue;
        // One that cannot be opened is there all the same: its copy fails
        // as unreadable instead of sending the user to look for it.
        const auto device = drives_.openFile(path);
        return File{path, {}, {}, device ? device->size() : -1, path.mid(kRoot.size())};
    }
    return findInCabinets(name, workFolder);
}

std::optional<InstallationMedium::File> InstallationMedium::findInCabinets(
    const QString& name, const QString& workFolder) const {
    int copied = 0;
    for (const QString& path : files_) {
        if (!path.endsWith(QStringLiteral(".cab"), Qt::CaseInsensitive)) continue;
        // libmspack reads a file of this machine: a cabinet in an image is
        // copied out first, into the set-up's own work folder.
        QString local = drives_.existingFile(path);
        if (local.isEmpty()) {
            local = QDir(workFolder).filePath(QStringLiteral("%1.cab").arg(++copied));
            if (!drives_.copyFile(path, local)) continue;
        }
        const auto cabinet = Cabinet::open(local);
        if (!cabinet) continue;
        for (const QString& stored : cabinet->names()) {
            if (standsFor(lastComponent(stored), name)) {
                return File{path, stored, local, cabinet->sizeOf(stored),
                            path.mid(kRoot.size()) + u'\\' + stored};
            }
        }
    }
    return std::nullopt;
}

InstallationMedium::CopyOutcome InstallationMedium::copy(const File& file, const QString& target,
                                                         const CopyProgress& progress,
                                                         QString* reason) const {
    if (!file.stored.isEmpty()) {
        const auto cabinet = Cabinet::open(file.cabinet);
        const auto extraction =
            cabinet ? cabinet->extract(file.stored, target) : Cabinet::Extraction::Damaged;
        if (extraction == Cabinet::Extraction::CannotWrite) {
            *reason = QStringLiteral("erro de gravação");
            return CopyOutcome::WriteFailed;
        }
        return extraction == Cabinet::Extraction::Done ? CopyOutcome::Copied
                                                       : CopyOutcome::Unreadable;
    }
    const auto from = file.size < 0 ? nullptr : drives_.openFile(file.path);
    if (!from) return CopyOutcome::Unreadable;
    QFile to(target);
    if (!to.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *reason = to.errorString();
        return CopyOutcome::WriteFailed;
    }
    std::vector<char> buffer(1 << 20);
    qint64 done = 0;
    // Never more than the medium declared: the space was measured for that.
    while (done < file.size) {
        const qint64 n =
            from->read(buffer.data(), std::min<qint64>(qint64(buffer.size()), file.size - done));
        if (n <= 0) return CopyOutcome::Unreadable;
        if (to.write(buffer.data(), n) != n) {
            *reason = to.errorString();
            return CopyOutcome::WriteFailed;
        }
        done += n;
        if (progress) progress(done);
    }
    if (!to.flush()) {
        *reason = to.errorString();
        return CopyOutcome::WriteFailed;
    }
    return CopyOutcome::Copied;
}

}  // namespace lumera
