#include "platform/InstallationMedium.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/Cabinet.h"
#include "platform/EntryNames.h"

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

bool InstallationMedium::copyOut(const QString& name, const QString& target,
                                 QString* foundAs) const {
    for (const QString& file : files_) {
        if (!standsFor(lastComponent(file), name)) continue;
        if (drives_.copyFile(file, target)) {
            if (foundAs) *foundAs = file.mid(kRoot.size());
            return true;
        }
    }
    return copyFromCabinets(name, target, foundAs);
}

bool InstallationMedium::copyFromCabinets(const QString& name, const QString& target,
                                          QString* foundAs) const {
    QTemporaryDir work;
    for (const QString& file : files_) {
        if (!file.endsWith(QStringLiteral(".cab"), Qt::CaseInsensitive)) continue;
        // libmspack reads a file of this machine: a cabinet in an image is
        // copied out first.
        QString local = drives_.existingFile(file);
        if (local.isEmpty()) {
            local = work.filePath(QStringLiteral("medium.cab"));
            if (!drives_.copyFile(file, local)) continue;
        }
        const auto cabinet = Cabinet::open(local);
        if (!cabinet) continue;
        for (const QString& stored : cabinet->names()) {
            if (standsFor(lastComponent(stored), name) && cabinet->extract(stored, target)) {
                if (foundAs) *foundAs = file.mid(kRoot.size()) + u'\\' + stored;
                return true;
            }
        }
    }
    return false;
}

}  // namespace lumera
