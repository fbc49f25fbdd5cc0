#pragma once

#include <QString>

namespace lumera {

// An exclusive lock on a folder (flock on the folder itself), held for the
// object's life and released by the system when the process ends however
// it ends, so a killed set-up never leaves a lock behind.
class FolderLock {
  public:
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False when the folder cannot be opened to be locked.
    bool opened() const { return fd_ >= 0; }
    // False when another process holds it.
    bool held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace lumera
