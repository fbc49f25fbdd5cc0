#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace lumera {

class FolderLock;

// The folder a set-up installs into, checked before anything is made, and
// locked for the set-up's life so that a second set-up into it waits its
// turn. It also makes the staging folder and puts the finished edition in
// place in one step.
class SetupTarget {
  public:
    // Throws SetupError, with the folder named and why, for a target that is
    // no folder, holds the user's files or an edition no set-up made, holds
    // an edition and replace is false, lies inside a source or holds one, or
    // is being set up by another process. Stopped set-ups' leftovers are
    // cleared first.
    SetupTarget(const QString& into, bool replace, const QStringList& sources);
    ~SetupTarget();
    SetupTarget(const SetupTarget&) = delete;
    SetupTarget& operator=(const SetupTarget&) = delete;

    // As the user named it, absolute: what lex.ini names.
    QString folder() const { return folder_; }
    // A new, empty folder of a name nothing else uses, on the target's file
    // system. Throws SetupError.
    QString makeStaging() const;
    // Puts the edition made in staging in place of the target in one step,
    // then removes what the set-up had there before; the user's files stay.
    // Throws SetupError, and then nothing was changed.
    void place(const QString& staging) const;
    // Removes a staging folder of a set-up that failed.
    void discard(const QString& staging) const;

  private:
    enum class Placement { Beside, Inside };

    void choosePlacement(bool replace);
    void placeInside(const QString& staging) const;

    QString folder_;
    QString real_;  // links resolved: where the files go
    QString parent_;
    Placement placement_ = Placement::Beside;
    std::unique_ptr<FolderLock> lock_;
};

}  // namespace lumera
