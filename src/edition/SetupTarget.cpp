#include "edition/SetupTarget.h"

#include <fcntl.h>
#include <linux/stat.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "edition/EditionFolder.h"
#include "edition/FolderLock.h"
#include "edition/SetupError.h"

namespace lumera {
namespace {

using editionfolder::State;

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

[[noreturn]] void refuse(const QString& message) { throw SetupError{message}; }

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// Links resolved; of a path not made yet, the nearest folder that exists is
// resolved and the rest kept, so two spellings of one place compare equal.
QString resolved(QString path) {
    QStringList rest;
    while (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        const QFileInfo info(path);
        if (info.fileName().isEmpty()) break;
        rest.prepend(info.fileName());
        path = info.absolutePath();
    }
    const QString canonical = QFileInfo(path).canonicalFilePath();
    rest.prepend(canonical.isEmpty() ? path : canonical);
    return QDir::cleanPath(rest.join(u'/'));
}

bool within(const QString& inner, const QString& outer) {
    return inner == outer || inner.startsWith(outer.endsWith(u'/') ? outer : outer + u'/');
}

bool writable(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

// A folder that a rename cannot move: a file system, or a bind of a folder,
// is mounted on it (the kernel says so since 5.8; a device change says so
// of a file system everywhere).
bool isMountPoint(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    struct statx self {};
    if (::statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &self) == 0 &&
        (self.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)) {
        return (self.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    }
    struct stat own {};
    struct stat above {};
    return ::stat(path.constData(), &own) != 0 || ::stat((path + "/..").constData(), &above) != 0 ||
           own.st_dev != above.st_dev || own.st_ino == above.st_ino;
}

}  // namespace

SetupTarget::SetupTarget(const QString& into, bool replace, const QStringList& sources) {
    if (into.trimmed().isEmpty()) refuse(QStringLiteral("Indique a pasta da instalação."));
    folder_ = QDir::cleanPath(QDir::current().absoluteFilePath(into));
    real_ = resolved(folder_);
    parent_ = QFileInfo(real_).absolutePath();
    if (real_ == parent_) {
        refuse(QStringLiteral("A instalação não pode ocupar a pasta %1.").arg(native(real_)));
    }
    for (const QString& source : sources) {
        if (source.isEmpty()) continue;
        const QString medium = resolved(QDir::current().absoluteFilePath(source));
        if (within(medium, real_) || within(real_, medium)) {
            refuse(QStringLiteral("A pasta da instalação %1 e a origem %2 não podem estar uma "
                                  "dentro da outra: a instalação nunca grava no CD nem na cópia "
                                  "de que lê.")
                       .arg(native(folder_), native(source)));
        }
    }
    if (!QDir().mkpath(parent_)) {
        refuse(QStringLiteral("Não foi possível criar a pasta %1.").arg(native(parent_)));
    }
    lock_ = std::make_unique<FolderLock>(parent_);
    if (!lock_->opened()) lock_ = std::make_unique<FolderLock>(real_);
    if (!lock_->opened()) {
        refuse(QStringLiteral("Não foi possível abrir a pasta %1.").arg(native(parent_)));
    }
    if (!lock_->held()) {
        refuse(QStringLiteral("Outra instalação em %1 está em andamento; espere que ela termine.")
                   .arg(native(folder_)));
    }
    for (const QString& leftover : editionfolder::Leftovers(real_)) {
        editionfolder::DisposeOf(leftover, real_);
    }
    choosePlacement(replace);
}

SetupTarget::~SetupTarget() = default;

void SetupTarget::choosePlacement(bool replace) {
    const State state = editionfolder::Classify(real_);
    const QString named = native(folder_);
    switch (state) {
        case State::NotAFolder:
            refuse(QStringLiteral("%1 não é uma pasta.").arg(named));
        case State::UserFolder:
            refuse(QStringLiteral("A pasta %1 já guarda arquivos que não são de uma edição "
                                  "instalada. Para não mexer neles, a instalação só usa uma pasta "
                                  "nova, vazia ou com uma edição que ela mesma fez: escolha outra "
                                  "pasta.")
                       .arg(named));
        case State::ForeignEdition:
            refuse(QStringLiteral("A pasta %1 guarda uma edição que não foi feita por esta "
                                  "instalação; ela não será substituída. Escolha outra pasta.")
                       .arg(named));
        case State::SetupEdition:
            if (!replace) {
                refuse(QStringLiteral("Já existe uma edição instalada em %1; para substituí-la, "
                                      "use --force na linha de comando.")
                           .arg(named));
            }
            break;
        default:
            break;
    }
    if (writable(parent_) && (state == State::Absent || !isMountPoint(real_))) {
        placement_ = Placement::Beside;
        return;
    }
    // A folder that cannot be renamed but is empty can receive the files.
    if ((state == State::Empty || state == State::SetupLeftover) && writable(real_)) {
        placement_ = Placement::Inside;
        return;
    }
    if (state == State::SetupEdition) {
        refuse(QStringLiteral("Não é possível substituir com segurança a edição em %1: %2. "
                              "Remova-a antes ou escolha outra pasta.")
                   .arg(named, isMountPoint(real_)
                                   ? QStringLiteral("a pasta é um ponto de montagem")
                                   : QStringLiteral("não há permissão de gravação em %1")
                                         .arg(native(parent_))));
    }
    refuse(QStringLiteral("Não há permissão de gravação em %1.")
               .arg(native(state == State::Absent ? parent_ : real_)));
}

QString SetupTarget::makeStaging() const {
    const QString base = placement_ == Placement::Beside
                             ? QDir(parent_).filePath(editionfolder::StagingPrefixBeside(real_))
                             : QDir(real_).filePath(editionfolder::kStagingInside);
    QTemporaryDir staging(base + QStringLiteral("XXXXXX"));
    if (!staging.isValid()) {
        refuse(QStringLiteral("Não foi possível criar uma pasta de trabalho em %1: %2")
                   .arg(native(QFileInfo(base).absolutePath()), staging.errorString()));
    }
    staging.setAutoRemove(false);
    // A folder of the user's, with the permissions the user's folders get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(staging.path()).constData(), 0777 & ~mask);
    return staging.path();
}

void SetupTarget::place(const QString& staging) const {
    if (placement_ == Placement::Inside) {
        placeInside(staging);
        return;
    }
    const bool replacing = QFileInfo::exists(real_);
    // One step: the old folder and the new one trade places, or the new one
    // takes a place that is still free.
    if (::renameat2(AT_FDCWD, QFile::encodeName(staging).constData(), AT_FDCWD,
                    QFile::encodeName(real_).constData(),
                    replacing ? RENAME_EXCHANGE : RENAME_NOREPLACE) != 0) {
        refuse(QStringLiteral("Não foi possível pôr a edição em %1: %2")
                   .arg(native(folder_), systemError()));
    }
    // What was there is now in staging: the user's files go back beside the
    // new edition, the old edition's own files go.
    if (replacing) editionfolder::DisposeOf(staging, real_);
}

void SetupTarget::placeInside(const QString& staging) const {
    QStringList names =
        QDir(staging).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    // The mark first, so that a stopped placement is known as the set-up's;
    // lex.ini last, so that the folder is an edition only once it is whole.
    names.removeOne(editionfolder::kSetupMark);
    names.prepend(editionfolder::kSetupMark);
    names.removeOne(QStringLiteral("lex.ini"));
    names.append(QStringLiteral("lex.ini"));
    for (const QString& name : names) {
        const QString to = QDir(real_).filePath(name);
        if (QFileInfo(to).isDir() && !QFileInfo(to).isSymLink()) QDir(to).removeRecursively();
        if (::rename(QFile::encodeName(QDir(staging).filePath(name)).constData(),
                     QFile::encodeName(to).constData()) != 0) {
            refuse(QStringLiteral("Não foi possível pôr %1 em %2: %3")
                       .arg(name, native(folder_), systemError()));
        }
    }
    QDir().rmdir(staging);
}

void SetupTarget::discard(const QString& staging) const {
    editionfolder::DisposeOf(staging, real_);
}

}  // namespace lumera
