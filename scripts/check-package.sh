#!/usr/bin/env bash
# Builds the Debian package from a configured and built folder (default: build), checks that it
# holds the programs, the desktop entry, the icons and the manual pages, validates the desktop
# entry, and runs tessan-batch --version from a staged install.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
fail() { echo "check-package: $*" >&2; exit 1; }

rm -f "$build"/tessan_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; fail "cpack failed"; }
debs=("$build"/tessan_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package, found: ${debs[*]}"
deb=${debs[0]}
listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
expected=(./usr/bin/tessan ./usr/bin/tessan-batch ./usr/bin/tessan-samples
          ./usr/share/applications/tessan.desktop
          ./usr/share/metainfo/io.github.tessan.Tessan.metainfo.xml
          ./usr/share/icons/hicolor/scalable/apps/tessan.svg
          ./usr/share/man/man1/tessan.1 ./usr/share/man/man1/tessan-batch.1)
for size in 16 32 48 64 128 256; do expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/tessan.png"); done
for f in "${expected[@]}"; do grep -qx -- "$f" <<<"$listing" || fail "$f missing from $deb"; done
if grep -q 'tessan-shots' <<<"$listing"; then fail "developer tool tessan-shots is in $deb"; fi
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6printsupport6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

desktop-file-validate dist/tessan.desktop || fail "desktop entry not valid"
if command -v groff >/dev/null; then
  for page in dist/tessan.1 dist/tessan-batch.1; do
    warnings=$(groff -man -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
  done
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
out=$("$stage/usr/bin/tessan-batch" --version)
[ "$out" = "tessan-batch $version" ] || fail "staged tessan-batch --version printed '$out', not 'tessan-batch $version'"
[ ! -e "$stage/usr/bin/tessan-shots" ] || fail "tessan-shots installed"
echo "check-package: $(basename "$deb") holds ${#expected[@]} checked files; Depends: $depends"
