#!/usr/bin/env bash
# The benchmark's peers on its file: ffmpeg copying every video and audio stream into a
# raw file of its own, and mkvmerge writing all of them into a Matroska file, each timed
# by the wall clock, best of RUNS runs.
#   bench/peers.sh EVO OUT_DIR RUNS
# Prints "NAME SECONDS BYTES" per peer installed, BYTES being what it wrote. A peer still
# running after BENCH_PEER_TIMEOUT seconds (default 900) is stopped: the benchmark fails.
set -euo pipefail
evo=$1 out=$2 runs=$3
limit=${BENCH_PEER_TIMEOUT:-900}

# Runs the command under the time limit; prints its wall-clock seconds.
seconds() {
  local start end
  start=$(date +%s.%N)
  timeout "$limit" "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

# "NAME SECONDS BYTES": the best of the runs of the command; the outputs are removed
# after each.
best() {
  local name=$1 best=1e9 bytes=0 s
  shift
  for ((n = 0; n < runs; n++)); do
    s=$(seconds "$@")
    best=$(awk -v a="$best" -v b="$s" 'BEGIN { print (b < a ? b : a) }')
    bytes=$(du -cb "$out"/* | tail -1 | cut -f1)
    rm -f "$out"/*; sync
  done
  echo "$name $best $bytes"
}

if command -v ffmpeg >/dev/null; then
  maps=()
  for index in $(ffprobe -v error -select_streams V -show_entries stream=index -of csv=p=0 "$evo") \
    $(ffprobe -v error -select_streams a -show_entries stream=index -of csv=p=0 "$evo"); do
    maps+=(-map "0:$index" -c copy -f data "$out/stream$index")
  done
  best ffmpeg ffmpeg -v error -y -i "$evo" "${maps[@]}"
fi
if command -v mkvmerge >/dev/null; then
  # Exit status 1 is mkvmerge's "done, with warnings".
  best mkvmerge sh -c 'mkvmerge -q -o "$1" "$2" || [ $? -eq 1 ]' - "$out/out.mkv" "$evo"
fi
