// lex.ini as start-up reads it: any bytes, any line ends.

#include "FuzzCheck.h"
#include "app/LexIni.h"

using namespace lumera;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const ContentPaths paths = ParseLexIni(fuzz::bytesOf(data, size));
    // The drive is cut to at most two characters, whatever the line holds.
    fuzz::check(paths.CdRomPath.size() <= 2, "CdRomPath longer than two characters",
                paths.CdRomPath);
    // The path comes from one line: no line end survives in it.
    fuzz::check(!paths.InstallPath.contains(u'\r') && !paths.InstallPath.contains(u'\n'),
                "InstallPath holds a line end", paths.InstallPath);
    fuzz::check(paths.InstallPath.size() <= static_cast<qsizetype>(size),
                "InstallPath longer than the file", QString::number(paths.InstallPath.size()));
    // The fix-up is idempotent: the same file read twice gives the same path.
    fuzz::check(ShortNameFixup(paths.InstallPath) == paths.InstallPath,
                "ShortNameFixup changes a fixed-up path", paths.InstallPath);
    return 0;
}
