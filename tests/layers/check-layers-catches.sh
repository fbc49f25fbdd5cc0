#!/usr/bin/env bash
# A copy of the layer check, on a tree of one or two headers: it fails for an
# include from a layer above, and for two units of a folder that include each other.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/scripts" "$tmp/src/search" "$tmp/src/host" "$tmp/src/browser" "$tmp/src/edition"
cp "$1" "$tmp/scripts/check-layers"
expect() {  # STATUS FILE INCLUDE-LINE [FILE INCLUDE-LINE]
    rm -f "$tmp"/src/*/*.h && echo "$3" >"$tmp/src/$2"
    [[ $# -lt 5 ]] || echo "$5" >"$tmp/src/$4"
    local got=0
    bash "$tmp/scripts/check-layers" >/dev/null || got=$?
    [[ $got -eq $1 ]] || { echo "check-layers exits $got, not $1, for $2: $3 ${4:-} ${5:-}"; exit 1; }
}
expect 0 search/a.h '#include "host/Browser.h"'
expect 1 search/a.h '#include "database/ArticleTables.h"'
expect 1 search/a.h '  #  include "ui/Form1.h"'
expect 1 host/a.h '#include "search/SearchDriver.h"'
expect 0 host/a.h '#include "host/Browser.h"'
expect 0 browser/a.h '#include "media/DriveMap.h"'
expect 1 browser/a.h '#include "ui/FindBar.h"'
expect 1 edition/a.h '#include "ui/SetupWindow.h"'
expect 0 edition/a.h '#include "edition/b.h"' edition/b.h '#include "host/Browser.h"'
expect 1 edition/a.h '#include "edition/b.h"' edition/b.h '#include "edition/a.h"'
