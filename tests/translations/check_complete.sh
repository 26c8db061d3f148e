#!/usr/bin/env bash
# Every text of the program has a finished German translation: lupdate, run
# over the sources into a copy of the .ts file, must find nothing new and
# leave nothing unfinished.
# Usage: check_complete.sh LUPDATE SOURCE_DIR
set -euo pipefail
lupdate=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/translations/ampero_de.ts" "$work/ampero_de.ts"
mapfile -t sources < <(find "$source_dir/app" -name '*.cpp' -o -name '*.h' | sort)
"$lupdate" -silent -locations none -no-obsolete "${sources[@]}" -ts "$work/ampero_de.ts"
if grep -n 'type="unfinished"\|type="vanished"\|type="obsolete"' "$work/ampero_de.ts"; then
  echo "translations/ampero_de.ts is not complete: run the update_translations target and translate the texts above" >&2
  exit 1
fi
messages=$(grep -c '<message>' "$work/ampero_de.ts")
if [ "$messages" -lt 100 ]; then
  echo "lupdate found only $messages texts: the sources were not read" >&2
  exit 1
fi
echo "all $messages texts are translated"
