#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed
# program finds its libraries and its manual, and that the desktop entry and
# icon are where desktops look for them.
# Usage: install_test.sh BUILD_DIR BUILT_PROGRAM BINDIR LIBDIR SOURCE_README
set -euo pipefail
build_dir=$1 built_program=$2 bindir=$3 libdir=$4 source_readme=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check_file() { [ -f "$1" ] || fail "missing $1"; }

# The manual beside the program in the build tree, so Help works there too.
cmp -s "$source_readme" "$(dirname "$built_program")/Readme.txt" \
  || fail "Readme.txt beside the built program differs from $source_readme or is missing"

prefix=$work/prefix
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; fail "cmake --install failed"; exit 1; }

program=$prefix/$libdir/ampero/ampero
check_file "$program"
[ -x "$program" ] || fail "$program is not executable"
[ -L "$prefix/$bindir/ampero" ] || fail "$prefix/$bindir/ampero is not a symbolic link"
[ "$(readlink -f "$prefix/$bindir/ampero")" = "$(readlink -f "$program")" ] \
  || fail "$bindir/ampero does not lead to $libdir/ampero/ampero"
case "$(readlink "$prefix/$bindir/ampero")" in
  /*) fail "$bindir/ampero is an absolute link; the tree could not be moved" ;;
esac
cmp -s "$source_readme" "$prefix/$libdir/ampero/Readme.txt" || fail "Readme.txt is not installed beside the program"
for library in libLED.so libSweepgraph.so; do
  [ -e "$prefix/$libdir/$library" ] || fail "missing $prefix/$libdir/$library"
done
check_file "$prefix/$bindir/amperotool"
unit=$prefix/lib/systemd/system/amperotool-record@.service
check_file "$unit"
grep -q '^ExecStart=/.*/amperotool record --config /etc/ampero/%i.conf$' "$unit" \
  || fail "the recording service does not run amperotool record with its options file"
check_file "$prefix/share/doc/Ampero/examples/site.conf"
[ -x "$prefix/share/doc/Ampero/examples/ampero-alarm" ] || fail "the example alarm script is not installed as a program"

desktop=$prefix/share/applications/ampero.desktop
check_file "$desktop"
grep -qx 'Exec=ampero' "$desktop" || fail "the desktop entry does not start ampero"
grep -qx 'Icon=ampero' "$desktop" || fail "the desktop entry does not name the icon ampero"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
fi
icon=$prefix/share/icons/hicolor/scalable/apps/ampero.svg
check_file "$icon"
grep -q '<svg' "$icon" || fail "$icon is not an SVG drawing"

# Both libraries resolve from the install tree, also after the tree has been
# moved: the run path is relative to the program.
moved=$work/moved
mv "$prefix" "$moved"
for start in "$moved/$bindir/ampero" "$moved/$libdir/ampero/ampero"; do
  ldd "$start" >"$work/ldd.txt" 2>&1 || fail "ldd $start failed"
  if grep -q 'not found' "$work/ldd.txt"; then
    fail "unresolved libraries for $start:"; cat "$work/ldd.txt" >&2
  fi
  for library in libLED.so libSweepgraph.so; do
    resolved=$(awk -v lib="$library" 'index($1, lib) == 1 { print $3 }' "$work/ldd.txt")
    [ "$(readlink -f "${resolved:-/nonexistent}")" = "$(readlink -f "$moved/$libdir/$library")" ] \
      || fail "$library of $start resolves to '${resolved}', not to the install tree"
  done
done
if readelf -d "$moved/$libdir/ampero/ampero" | grep -F -q "$build_dir"; then
  fail "the installed program still points into the build tree"
fi

# The installed program starts (and keeps running until stopped) from the
# command in bin, with settings in a folder of its own.
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
set +e
XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen \
  timeout -s TERM 3 "$moved/$bindir/ampero" >"$work/run.log" 2>&1
status=$?
set -e
[ "$status" -eq 124 ] || { cat "$work/run.log" >&2; fail "the installed program ended with status $status at start"; }

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install tree complete: $(cd "$moved" && find . -type f -o -type l | sort | tr '\n' ' ')"
