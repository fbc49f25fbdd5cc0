#pragma once

#include <QString>
#include <QStringList>

namespace lumera {

// Options shared by the reader and its tools:
//   -C DIR            change into DIR first (lex.ini is read from there)
//   --drive X:=DIR    map a drive letter to a directory (repeatable)
//   --help, --version
struct CommandLine {
    QString changeDirectory;
    QStringList driveMappings;
    bool help = false;
    bool version = false;
    QStringList positional;  // everything else, in order
    QString error;           // empty when the line was understood

    static CommandLine parse(const QStringList& arguments);  // without the program name
    // Changes into changeDirectory when given; returns false with error set.
    bool applyDirectory();
};

}  // namespace lumera
