#!/usr/bin/env bash
# The benchmark's peers, when installed: ffmpeg copying the streams of the benchmark's
# .EVO into raw files, one output per stream, and mkvmerge reading it into a Matroska
# file, each timed (wall clock, page cache warm) against our demux of the same file.
# Ratios are our demux time divided by the peer's: below 1, ours is faster.
#   bench/peers.sh EVO OUR_DEMUX_SECONDS WORK_DIR   (as bench/run calls it)
#   bench/peers.sh                                  (writes the file, times our demux)
# A peer still running after BENCH_PEER_TIMEOUT seconds (default 900) is stopped; its
# time is then a lower bound.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${BENCH_PEER_TIMEOUT:-900}

if (($# == 3)); then
  evo=$1 ours=$2 work=$3
else
  build=build-bench
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_WITH_APP=OFF >/dev/null
  cmake --build "$build" --target tessaly-bench >/dev/null
  bin=$build/bench/tessaly-bench
  work=$(mktemp -d "$PWD/$build/peers.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  evo=$work/FEATURE_1.EVO
  mkdir "$work/out"
  "$bin" write "$evo" "${BENCH_BYTES:-1073741824}"
  cat "$evo" >/dev/null
  ours=$("$bin" demux "$evo" "$work/out" | sed -n 's/^seconds=\([0-9.]*\).*/\1/p')
  echo "our demux wrote $(cat "$work"/out/* | wc -c) bytes in $(ls "$work/out" | wc -l) streams"
  rm -f "$work"/out/*
fi
peers=$work/peers
mkdir -p "$peers"

# Runs a command under the time limit; prints "seconds" or ">seconds" when cut short.
timed() {
  local start end status=0
  start=$(date +%s.%N)
  timeout "$limit" "$@" >/dev/null 2>&1 || status=$?
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" -v cut=$((status == 124)) \
    'BEGIN { printf "%s%.3f\n", cut ? ">" : "", b - a }'
}

# "peer=SECONDS ours_over_peer=RATIO" (a cut-short peer gives an upper bound "<RATIO").
report() {
  awk -v name="$1" -v t="$2" -v o="$ours" 'BEGIN {
    bound = substr(t, 1, 1) == ">"; s = bound ? substr(t, 2) : t
    printf "%s=%s%.3fs ours_over_%s=%s%.3f\n", name, bound ? ">" : "", s, name, bound ? "<" : "", o / s
  }'
}

echo "peers: our demux ${ours}s; ratio = our demux time / the peer's (below 1: ours is faster)"
if command -v ffmpeg >/dev/null; then
  # ffmpeg refuses a whole run when one stream's codec parameters are unknown (the
  # writer's video payload has no sequence header), so each stream is tried alone first.
  maps=() refused=()
  # ffprobe stops at the navigation stream, whose codec it cannot open: ffmpeg lists them.
  streams=$(ffmpeg -hide_banner -i "$evo" 2>&1 | grep -o 'Stream #0:[0-9]*' | cut -d: -f2 || true)
  for index in $streams; do
    if ffmpeg -v error -y -i "$evo" -map "0:$index" -c copy -f data -frames 1 "$peers/try" \
      >/dev/null 2>&1; then
      maps+=(-map "0:$index" -c copy -f data "$peers/stream$index.raw")
    else
      refused+=("$index")
    fi
  done
  if ((${#maps[@]})); then
    report ffmpeg "$(timed ffmpeg -v error -y -i "$evo" "${maps[@]}")"
    echo "  ffmpeg copied $(ls "$peers"/stream*.raw | wc -l) streams" \
      "($(du -cb "$peers"/stream*.raw | tail -1 | cut -f1) bytes); refused stream(s): ${refused[*]:-none}"
    rm -f "$peers"/stream*.raw "$peers/try"
  fi
fi
if command -v mkvmerge >/dev/null; then
  report mkvmerge "$(timed mkvmerge -q -o "$peers/out.mkv" "$evo")"
  echo "  mkvmerge wrote $(stat -c %s "$peers/out.mkv" 2>/dev/null || echo 0) bytes;" \
    "tracks it recognised: $(mkvmerge -J "$evo" 2>/dev/null | grep -c '"codec"' || true)"
  rm -f "$peers/out.mkv"
fi
