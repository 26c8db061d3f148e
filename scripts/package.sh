#!/usr/bin/env bash
# Makes the Debian package from a built tree (no rebuild: CPack runs the
# tree's install rules), checks it with lintian, installs it with apt-get,
# tries the installed programs and removes the package again.
#   bash scripts/package.sh [BUILD_DIR]      (as root; after scripts/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

rm -f "$build"/ampero_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
deb=$(ls "$build"/ampero_"$version"_*.deb)
echo "Made $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends

# Errors fail the check; warnings are listed (README.md says why each is left).
lintian --fail-on error --tag-display-limit 0 "$deb"

work=$(mktemp -d)
installed=
cleanup() {
  [ -n "$installed" ] && DEBIAN_FRONTEND=noninteractive apt-get remove -y -q ampero >/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log" >&2; exit 1; }
installed=1

# The installed programs, from the command search path.
[ "$(command -v ampero)" = /usr/bin/ampero ] || { echo "ampero is not /usr/bin/ampero" >&2; exit 1; }
ampero --version
amperotool --version
amperotool --help >/dev/null
amperotool decode tests/data/decode/reference-frame.bin >"$work/decoded.csv" 2>/dev/null
grep -q '^0,"12.35",12.35,A,AC,' "$work/decoded.csv" || { cat "$work/decoded.csv" >&2; exit 1; }
amperotool info tests/data/recording-3.KRD | grep -qx 'samples: 2'
# The Help window of the installed program finds the installed manual.
mkdir -m 700 "$work/runtime"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/runtime "$build/tests/help/help_installed_manual" /usr/bin /usr/share/ampero/Readme.txt
# The window opens a recording named on the command line (a virtual X screen).
bash tests/mainwindow/command_line_test.sh /usr/bin/ampero tests/data/recording-3.KRD "$version"
# The file manager's view, after the triggers of the desktop and mime databases.
grep -q '^application/x-ampero-recording=.*io.github.ampero.Ampero.desktop' /usr/share/applications/mimeinfo.cache \
  || { echo "the desktop database does not offer Ampero for recordings" >&2; exit 1; }
grep -q ':application/x-ampero-recording:\*\.krd$' /usr/share/mime/globs2 \
  || { echo "the installed mime database has no *.krd" >&2; exit 1; }
echo "package $(basename "$deb") installs and runs"
