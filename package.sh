#!/usr/bin/env bash
# ./package.sh [--no-build] [--dist FOLDER]
# Builds both Windows targets in release and writes FOLDER/glim-VERSION-win64.zip
# and FOLDER/glim-VERSION-win32.zip (FOLDER is dist/ unless given). Each holds
# glim.exe, GLIM.CHM, README.txt and the licence texts of what glim.exe links
# statically. --no-build packs what build/x64 and build/x86 already hold.
set -eu
cd "$(dirname "$0")"
build=1
dist=dist
while [ $# -gt 0 ]; do
  case $1 in
    --no-build) build=0 ;;
    --dist) [ $# -ge 2 ] || { echo "package.sh: --dist needs a folder" >&2; exit 2; }; dist=$2; shift ;;
    *) echo "usage: ./package.sh [--no-build] [--dist FOLDER]" >&2; exit 2 ;;
  esac
  shift
done
bash scripts/setup.sh
. scripts/env.sh
version=$(head -n 1 VERSION)
if [ "$build" -eq 1 ]; then
  bash scripts/build.sh x64 x86
fi

# Notepad on a Japanese Windows reads Shift-JIS with CRLF line ends.
to_windows_text() {  # to_windows_text CODESET SOURCE TARGET
  iconv -f UTF-8 -t "$1" "$2" | sed 's/\r$//; s/$/\r/' >"$3"
}

mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for pair in x64:win64 x86:win32; do
  target=${pair%%:*} name=glim-$version-${pair#*:}
  app=build/$target/app
  for f in glim.exe GLIM.CHM; do
    [ -s "$app/$f" ] || { echo "package.sh: $app/$f is missing; build $target first" >&2; exit 1; }
  done
  mingw=mingw-w64-x86-64-dev triplet=x86_64-w64-mingw32
  [ "$target" = x86 ] && mingw=mingw-w64-i686-dev triplet=i686-w64-mingw32
  dir=$stage/$name
  mkdir -p "$dir"
  cp "$app/glim.exe" "$app/GLIM.CHM" "$dir/"
  # The build keeps its debug information for debugging here; the
  # download does without it (a third of the size).
  "$triplet-strip" "$dir/glim.exe"
  sed "s/@VERSION@/$version/" help/README.txt >"$stage/README.txt"
  to_windows_text CP932 "$stage/README.txt" "$dir/README.txt"
  to_windows_text UTF-8 /usr/share/doc/libz-mingw-w64-dev/copyright "$dir/LICENSE-zlib.txt"
  to_windows_text UTF-8 "/usr/share/doc/$mingw/copyright" "$dir/LICENSE-mingw-w64.txt"
  to_windows_text UTF-8 /usr/share/doc/gcc-mingw-w64-base/copyright "$dir/LICENSE-gcc.txt"
  rm -f "$dist/$name.zip"
  (cd "$dir" && zip -q -X "$dist/$name.zip" glim.exe GLIM.CHM README.txt LICENSE-*.txt)
  echo "package: $dist/$name.zip"
done
