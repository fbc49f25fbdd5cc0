#pragma once

#include <QString>

namespace lumera {

// Turns a path as the program builds it (Windows style "D:\lex2000\x.htm",
// "D:/lex2000/x.htm", or POSIX) into a file of this machine.
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // The local file for an existing path; empty when it does not exist or
    // lies outside every directory the program may read.
    virtual QString existingFile(const QString& path) const = 0;
    // True when the path names an existing file, not a directory, that the
    // program may read.
    virtual bool isFile(const QString& path) const = 0;
    // The local file to write for a path whose directory exists; empty when the
    // path cannot be placed inside a directory the program may write.
    virtual QString writableFile(const QString& path) const = 0;
    // Where the path lies on this machine, as an absolute path whether or not
    // it exists, to name it to the user ("./" tells nothing); the path as
    // given where no mapping places it.
    virtual QString absolutePath(const QString& path) const { return path; }
};

}  // namespace lumera
