#pragma once

#include <QStringList>
#include <QTextStream>

namespace lumera {

// lumera-index [-C PASTA] [--drive X:=PASTA]...: reads lex.ini as the reader
// does, indexes every article of InstallPath + "lex.mdb" and installs the
// index and its "search.lst" under InstallPath. Returns the exit status;
// messages are Portuguese. A progress bar goes to err when it is a terminal.
int RunIndexer(const QStringList& arguments, QTextStream& out, QTextStream& err,
               bool errIsTerminal);

}  // namespace lumera
