#!/usr/bin/env bash
# scripts/layering on a made-up tree: it must pass the includes the layering allows and
# name every one it forbids.
set -euo pipefail
script=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{shell,engine,catalogue,job,playlist,report,app,cli}
printf '#include "app/w.h"\n#include <QtCore/QObject>\n#include <vector>\n#include "report/j.h"\n' >"$root/shell/c.cpp"
printf '#include "shell/y.h"\n#include "engine/z.h"\n  #  include "catalogue/x.h"\n' >"$root/engine/a.cpp"
printf '#include "catalogue/selection.h"\n#include <QString>\n#include "playlist/p.h"\n' >"$root/job/b.h"
printf '#include "engine/pass.h"\n#include "job/x.h"\n#include "gtest/gtest.h"\n' >"$root/playlist/d.cpp"
printf '#include "playlist/p.h"\n#include "cli/v.h"\n#include "report/r.h"\n#include <QString>\n' >"$root/report/r.cpp"
expected='shell/c.cpp:1: app/w.h: app/ is not part of the core
shell/c.cpp:2: QtCore/QObject: a Qt header
shell/c.cpp:4: report/j.h: report/ is not below shell/
engine/a.cpp:3: catalogue/x.h: catalogue/ is not below engine/
job/b.h:2: QString: a Qt header
job/b.h:3: playlist/p.h: playlist/ is not below job/
playlist/d.cpp:2: job/x.h: job/ is not below playlist/
report/r.cpp:2: cli/v.h: cli/ is not below report/
report/r.cpp:4: QString: a Qt header'
if got=$("$script" "$root"); then
  echo "the check passed a tree with forbidden includes"; exit 1
fi
[ "$got" = "$expected" ] || { printf 'expected:\n%s\ngot:\n%s\n' "$expected" "$got"; exit 1; }
rm "$root"/*/*
printf '#include "shell/session.h"\n' >"$root/playlist/ok.cpp"
printf '#include "job/demux_job.h"\n#include "report/r.h"\n' >"$root/report/ok.cpp"
"$script" "$root"
