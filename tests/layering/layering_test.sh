#!/usr/bin/env bash
# scripts/layering on a made-up tree: it must pass the includes its table allows and name
# every one it forbids, also one that a chain of allowed includes leads to, and a table
# that is not closed.
set -euo pipefail
script=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root"/{platform,engine,job,session,app}
cat >"$root/layering.table" <<'TABLE'
# folder, then what it may include
platform
engine   platform
job      engine platform
session  job engine platform
app      session job engine platform Qt
TABLE
printf '#include "app/w.h"\n#include <QtCore/QObject>\n#include <vector>\n' >"$root/platform/c.cpp"
printf '#include "platform/y.h"\n  #  include "job/x.h"\n#include "engine/leak.h"\n' >"$root/engine/a.cpp"
printf '#include "platform/ok.h"\n#include "b.h"\n' >"$root/engine/leak.h"
printf '#include "platform/mid.h"\n' >"$root/engine/b.h"
printf '#include "session/window.h"\n#include <QString>\n' >"$root/platform/mid.h"
printf '#include "engine/a.h"\n#include <QWidget>\n' >"$root/session/s.cpp"
expected='platform/c.cpp:1: app/w.h: app/ is not allowed in platform/
platform/c.cpp:2: QtCore/QObject: a Qt header
platform/mid.h:1: session/window.h: session/ is not allowed in platform/
platform/mid.h:2: QString: a Qt header
engine/a.cpp:2: job/x.h: job/ is not allowed in engine/
engine/a.cpp:3: engine/leak.h -> engine/b.h -> platform/mid.h -> session/window.h: session/ is not allowed in engine/
engine/a.cpp:3: engine/leak.h: a Qt header (QString, through engine/leak.h -> engine/b.h -> platform/mid.h)
engine/b.h:1: platform/mid.h -> session/window.h: session/ is not allowed in engine/
engine/b.h:1: platform/mid.h: a Qt header (QString, through platform/mid.h)
engine/leak.h:2: b.h -> platform/mid.h -> session/window.h: session/ is not allowed in engine/
engine/leak.h:2: b.h: a Qt header (QString, through engine/b.h -> platform/mid.h)
session/s.cpp:2: QWidget: a Qt header'
if got=$("$script" "$root" | sort); then
  echo "the check passed a tree with forbidden includes"; exit 1
fi
expected=$(sort <<<"$expected")
[ "$got" = "$expected" ] || { printf 'expected:\n%s\ngot:\n%s\n' "$expected" "$got"; exit 1; }
rm "$root"/*/*
printf '#include "engine/a.h"\n#include "job/b.h"\n' >"$root/session/ok.cpp"
printf '#include "session/ok.h"\n#include <QWidget>\n' >"$root/app/ok.cpp"
"$script" "$root"
# A table that lets job reach platform through engine without saying so, and leaves out
# two folders of sources.
printf 'platform\nengine platform\njob engine\n' >"$root/layering.table"
expected='layering.table: app/ holds sources but has no line
layering.table: job uses engine, which uses platform, but job does not
layering.table: session/ holds sources but has no line'
got=$("$script" "$root" | sort || true)
[ "$got" = "$expected" ] || { printf 'expected:\n%s\ngot:\n%s\n' "$expected" "$got"; exit 1; }
