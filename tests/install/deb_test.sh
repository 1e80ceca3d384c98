#!/usr/bin/env bash
# deb_test.sh BUILD VERSION SAMPLE_DISC_WRITER "PACKAGE...": cpack -G DEB makes a package
# whose dependencies name the packages given (the shared libraries' and libudfread's);
# unpacked, its tessaly-cli answers --version and scans the sample disc's feature, finding
# every stream the disc holds.
set -euo pipefail
build=$1 version=$2 writer=$3 packages=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "deb_test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(echo "$work"/package/tessaly_"${version}"_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for package in $packages; do
  [[ $depends == *"$package "* ]] || fail "Depends lacks $package: $depends"
done

dpkg-deb -x "$deb" "$work/root"
cli=$work/root/usr/bin/tessaly-cli
answer=$("$cli" --version)
[ "$answer" = "tessaly-cli $version" ] || fail "tessaly-cli --version said '$answer'"

"$writer" "$work/disc" --expected "$work/expected" >/dev/null
"$cli" scan "$work/disc/HVDVD_TS/FEATURE_1.EVO" >"$work/scan" 2>/dev/null
grep -qx 'Done.' "$work/scan" || fail "the scan did not end: $(cat "$work/scan")"
for stream in "$work"/expected/FEATURE_1.*; do  # FEATURE_1.<box caption>.<extension>
  caption=${stream##*/FEATURE_1.}
  grep -q $'\t'"${caption%.*}\$" "$work/scan" || fail "the scan lacks ${caption%.*}"
done
