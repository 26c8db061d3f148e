#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed
# program finds its private libraries and its manual (through the Help
# window), and that the desktop entry, icon, metainfo, file type, manual
# pages, documentation and shell completion are where the system looks.
# Usage: install_test.sh BUILD_DIR BUILT_PROGRAM HELP_CHECK BINDIR PRIVATE_LIBDIR MANUAL_DIR APP_ID SOURCE_README
set -euo pipefail
build_dir=$1 built_program=$2 help_check=$3 bindir=$4 private_libdir=$5 manual_dir=$6 app_id=$7 source_readme=$8

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

for program in ampero amperotool; do
  check_file "$prefix/$bindir/$program"
  [ -x "$prefix/$bindir/$program" ] || fail "$bindir/$program is not executable"
  [ -L "$prefix/$bindir/$program" ] && fail "$bindir/$program is a link, not the program"
done
for library in libLED.so libSweepgraph.so; do
  check_file "$prefix/$private_libdir/$library"
  [ -e "$prefix/$(dirname "$private_libdir")/$library" ] && fail "$library is in the public library folder"
done
runpath=$(readelf -d "$prefix/$bindir/ampero" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
case "$runpath" in
  '$ORIGIN/'*) ;;
  *) fail "the run path of ampero is '$runpath', not relative to \$ORIGIN" ;;
esac
cmp -s "$source_readme" "$prefix/$manual_dir/Readme.txt" || fail "Readme.txt is not installed in $manual_dir"
check_file "$prefix/$bindir/amperotool"
unit=$prefix/lib/systemd/system/amperotool-record@.service
check_file "$unit"
grep -q '^ExecStart=/.*/amperotool record --config /etc/ampero/%i.conf$' "$unit" \
  || fail "the recording service does not run amperotool record with its options file"
check_file "$prefix/share/doc/ampero/examples/site.conf"
[ -x "$prefix/share/doc/ampero/examples/ampero-alarm" ] || fail "the example alarm script is not installed as a program"

share=$prefix/share
doc=$share/doc/ampero
gzip -dc "$doc/Readme.txt.gz" 2>/dev/null | cmp -s "$source_readme" - || fail "the manual is not in $doc as Readme.txt.gz"
check_file "$doc/copyright"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright" \
  || fail "$doc/copyright is not in the machine-readable format"
gzip -dc "$doc/changelog.gz" 2>/dev/null | head -n 1 | grep -q '^ampero (' || fail "no Debian changelog in $doc/changelog.gz"
grep -q 'SYMLINK+="ampero-meter"' "$doc/examples/60-ampero-meter.rules" 2>/dev/null \
  || fail "no example udev rule naming /dev/ampero-meter in $doc/examples"
for page in ampero amperotool; do
  gzip -dc "$share/man/man1/$page.1.gz" 2>/dev/null | grep -q '^\.TH' || fail "no manual page $page(1)"
  warnings=$(gzip -dc "$share/man/man1/$page.1.gz" | groff -man -ww -z 2>&1) || fail "groff fails on $page(1)"
  [ -z "$warnings" ] || fail "groff warns about $page(1): $warnings"
done
check_file "$share/bash-completion/completions/amperotool"

desktop=$share/applications/$app_id.desktop
check_file "$desktop"
grep -qx 'Exec=ampero %f' "$desktop" || fail "the desktop entry does not start ampero with the file"
grep -qx 'Icon=ampero' "$desktop" || fail "the desktop entry does not name the icon ampero"
grep -qx 'MimeType=application/x-ampero-recording;' "$desktop" || fail "the desktop entry does not open recordings"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
icon=$share/icons/hicolor/scalable/apps/ampero.svg
check_file "$icon"
grep -q '<svg' "$icon" || fail "$icon is not an SVG drawing"
metainfo=$share/metainfo/$app_id.metainfo.xml
check_file "$metainfo"
appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.txt" 2>&1 \
  || { cat "$work/appstream.txt" >&2; fail "appstreamcli rejects $metainfo"; }

# The file type: both spellings of the extension lead to a recording.
check_file "$share/mime/packages/ampero.xml"
mkdir -p "$work/mime/packages"
cp "$share/mime/packages/ampero.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 || { cat "$work/mime.log" >&2; fail "update-mime-database failed"; }
grep -q '^application/x-ampero-recording$' "$work/mime/types" 2>/dev/null || fail "no type application/x-ampero-recording"
grep -q ':application/x-ampero-recording:\*\.krd$' "$work/mime/globs2" 2>/dev/null \
  || fail "*.krd does not lead to application/x-ampero-recording"

# The Help window of the installed program shows the installed manual.
"$help_check" "$prefix/$bindir" "$prefix/$manual_dir/Readme.txt" || fail "Help does not find the installed manual"

# Both libraries resolve from the install tree, also after the tree has been
# moved: the run path is relative to the program.
moved=$work/moved
mv "$prefix" "$moved"
ldd "$moved/$bindir/ampero" >"$work/ldd.txt" 2>&1 || fail "ldd ampero failed"
if grep -q 'not found' "$work/ldd.txt"; then
  fail "unresolved libraries:"; cat "$work/ldd.txt" >&2
fi
for library in libLED.so libSweepgraph.so; do
  resolved=$(awk -v lib="$library" 'index($1, lib) == 1 { print $3 }' "$work/ldd.txt")
  [ "$(readlink -f "${resolved:-/nonexistent}")" = "$(readlink -f "$moved/$private_libdir/$library")" ] \
    || fail "$library resolves to '${resolved}', not to the install tree"
done
if readelf -d "$moved/$bindir/ampero" | grep -F -q "$build_dir"; then
  fail "the installed program still points into the build tree"
fi

# The installed program starts (and keeps running until stopped) with
# settings in a folder of its own.
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
set +e
XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen \
  timeout -s TERM 3 "$moved/$bindir/ampero" >"$work/run.log" 2>&1
status=$?
set -e
[ "$status" -eq 124 ] || { cat "$work/run.log" >&2; fail "the installed program ended with status $status at start"; }

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install tree complete: $(cd "$moved" && find . -type f -o -type l | sort | tr '\n' ' ')"
