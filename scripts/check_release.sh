#!/usr/bin/env bash
# check_release.sh ARCHIVE: unpacks a win64 release archive into an empty folder,
# starts its glim.exe under Wine, waits for the main window, closes it the
# orderly way and checks that GLIM.INI was written beside it. Starts Xvfb when
# there is no display; needs build/x64/scripts/glimctl.exe. Prints one line per
# check, "ok NAME" or "FAIL NAME: why"; exits non-zero on a failure.
set -u
cd "$(dirname "$0")/.."
. scripts/env.sh
archive=$(realpath -m "$1")
glimctl=build/x64/scripts/glimctl.exe

folder=$(mktemp -d)
trap 'rm -rf "$folder"; glim_stop_display' EXIT
if ! unzip -q "$archive" -d "$folder" 2>/dev/null; then
  echo "FAIL release-contents: $archive cannot be unpacked"
  exit 1
fi
missing=
for f in glim.exe GLIM.CHM README.txt LICENSE-zlib.txt LICENSE-mingw-w64.txt LICENSE-gcc.txt; do
  [ -s "$folder/$f" ] || missing="$missing $f"
done
if ! iconv -f CP932 -t UTF-8 "$folder/README.txt" >/dev/null 2>&1 || grep -q $'[^\r]$' "$folder/README.txt"; then
  missing="$missing README.txt(Shift-JIS,CRLF)"
fi
if [ -n "$missing" ]; then
  echo "FAIL release-contents: missing or malformed:$missing"
  exit 1
fi
echo "ok release-contents"

if ! glim_display; then
  echo "FAIL release-starts: no X display"
  exit 1
fi
wine "$folder/glim.exe" >/dev/null 2>&1 &
glim=$!
if ! wine "$glimctl" wait 60 >/dev/null; then
  kill "$glim" 2>/dev/null
  echo "FAIL release-starts: no main window from the unpacked glim.exe"
  exit 1
fi
wine "$glimctl" close >/dev/null
wait "$glim"
if ! head -n 1 "$folder/GLIM.INI" 2>/dev/null | grep -q '^\[Window\]'; then
  echo "FAIL release-starts: the unpacked glim.exe wrote no GLIM.INI beside itself"
  exit 1
fi
echo "ok release-starts"
