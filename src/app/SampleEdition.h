#pragma once

#include <QString>

namespace lumera {

// The sample edition as a package installs it: under <prefix>/share/lumera/
// sample, its CD tree (cd/) and its installation folder (lex/), both
// read-only. The reader writes its page files into the installation folder,
// so it runs from the user's own copy of that small folder, with the
// installed CD tree as the CD.
class SampleEdition {
  public:
    // installed: the sample's folder; userCopy: where the copy of lex/ lives.
    SampleEdition(const QString& installed, const QString& userCopy);

    // The installed sample beside a program in <prefix>/bin, so that a
    // relocated prefix finds its own.
    static QString installedBeside(const QString& programFolder);
    // $XDG_DATA_HOME/lumera/sample.
    static QString defaultUserCopy();

    // Makes the copy when it is missing or was made from another installed
    // sample (an upgrade); a copy in use is kept. Returns an error message in
    // Portuguese, empty on success.
    QString prepare() const;
    bool isInstalled() const;
    QString folder() const { return userCopy_; }
    // The --drive mapping that makes the lex.ini's CD letter the installed CD tree.
    QString driveMapping() const;

  private:
    QString stamp() const;

    QString installed_;
    QString userCopy_;
};

}  // namespace lumera
