#!/usr/bin/env bash
# compile.sh SOURCE-DIR WORK-DIR OUTPUT: GLIM.CHM from the help sources.
# The sources are UTF-8 like the rest of the tree; the help file is Shift-JIS
# (what the help viewer of a Japanese Windows reads in contents, index and
# search titles), so every text file is converted on the way in. A character
# that has no Shift-JIS form stops the build instead of turning into "?".
set -eu
src=$1 work=$2 out=$3

rm -rf "$work"
mkdir -p "$work"
for f in "$src"/*.htm "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp "$src"/*.css "$src"/*.h; do
  [ -e "$f" ] || continue
  if ! iconv -f UTF-8 -t CP932 "$f" >"$work/${f##*/}"; then
    echo "compile.sh: ${f##*/} holds text that Shift-JIS cannot express" >&2
    exit 1
  fi
done

# chmcmd stores each context id's topic as the project folder's absolute path
# joined with the file name, which no help viewer finds inside the file. Run
# from a private root whose top is the work folder, that path is "/topic.htm",
# the topic's own name in the file. Where namespaces are not allowed, compile
# in place: the context map is then wrong, and the help check says so.
chmcmd=$(readlink -f "$(command -v chmcmd)")
log="$work.log"
if unshare -r -m true 2>/dev/null; then
  mkdir -p "$work/usr"
  ln -sfn usr/lib "$work/lib"
  ln -sfn usr/lib64 "$work/lib64"
  unshare -r -m sh -c 'mount --rbind /usr "$0/usr" && exec chroot "$0" "$1" /GLIM.hhp' \
    "$work" "$chmcmd" >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
else
  echo "compile.sh: warning: no user namespaces here; the context ids of GLIM.CHM will not resolve" >&2
  (cd "$work" && "$chmcmd" GLIM.hhp) >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
fi
# chmcmd reports broken anchors and missing files but still exits 0.
if grep -E '^(Error|Warning)' "$log" >&2; then
  exit 1
fi
[ -s "$work/GLIM.CHM" ] || { cat "$log" >&2; echo "compile.sh: no GLIM.CHM written" >&2; exit 1; }
cp "$work/GLIM.CHM" "$out"
