#!/usr/bin/env bash
# check_help.sh GLIM.CHM: reads the compiled help file with an independent
# reader (extract_chmLib) and checks what F1 and the contents rely on. Prints
# one line per check, "ok NAME" or "FAIL NAME: why"; exits non-zero on a failure.
set -u
chm=$1
# The help contexts the program asks for: 2000 menus, 2001 main window,
# 2002 to 2006 the pages of the settings dialog, 2007 the find box.
context_ids=(2000 2001 2002 2003 2004 2005 2006 2007)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
report() {  # report NAME PROBLEMS-FILE
  if [ -s "$2" ]; then
    echo "FAIL $1: $(head -n 5 "$2" | paste -sd ';' -)"
    failures=$((failures + 1))
  else
    echo "ok $1"
  fi
}

if [ ! -s "$chm" ] || ! extract_chmLib "$chm" "$tmp/x" >/dev/null 2>&1; then
  echo "FAIL help-file: $chm cannot be read"
  exit 1
fi
cd "$tmp/x"

# A target "file#anchor" resolves when the file is in the help file and, given
# an anchor, declares it as an id or a name.
resolves() {
  local file=${1%%#*} anchor=
  case $1 in *'#'*) anchor=${1#*#} ;; esac
  [ -n "$file" ] || file=$2
  [ -f "$file" ] || return 1
  [ -z "$anchor" ] || grep -Eq "(id|name)=\"$anchor\"" "$file"
}

# Context ids: #IVB holds (id, offset) pairs after its byte count; each offset
# names the topic in #STRINGS.
: >"$tmp/ids"
read -r -a ivb <<<"$(od -An -v -t u4 '#IVB' 2>/dev/null | tr -s ' \n' ' ')"
for id in "${context_ids[@]}"; do
  topic=
  for ((i = 1; i + 1 < ${#ivb[@]}; i += 2)); do
    if [ "${ivb[i]}" = "$id" ]; then
      topic=$(tail -c +"$((ivb[i + 1] + 1))" '#STRINGS' | tr '\0' '\n' | head -n 1)
      break
    fi
  done
  if [ -z "$topic" ]; then
    echo "context $id is not mapped" >>"$tmp/ids"
  elif ! resolves "${topic#/}" . || [ "${topic##*.}" != htm ]; then
    echo "context $id names $topic, which is not a topic of the file" >>"$tmp/ids"
  fi
done
report context-ids "$tmp/ids"

# Every entry of the contents and of the index opens a topic that is there.
: >"$tmp/toc"
for sitemap in hhc hhk; do
  file=$(ls ./*."$sitemap" 2>/dev/null | head -n 1)
  if [ -z "$file" ]; then
    echo "no .$sitemap file" >>"$tmp/toc"
    continue
  fi
  grep -o 'name="Local" value="[^"]*"' "$file" | sed 's/.*value="//; s/"$//' >"$tmp/locals"
  [ -s "$tmp/locals" ] || echo "${file#./} lists no topic" >>"$tmp/toc"
  while read -r local; do
    resolves "$local" . || echo "${file#./} entry $local is missing" >>"$tmp/toc"
  done <"$tmp/locals"
done
report contents "$tmp/toc"

# Every link and picture inside the topics resolves within the file.
: >"$tmp/links"
for page in ./*.htm; do
  grep -Eo '(href|src)="[^"]*"' "$page" | sed 's/^[a-z]*="//; s/"$//' | while read -r target; do
    case $target in http:* | https:* | mailto:*) continue ;; esac
    resolves "$target" "$page" || echo "${page#./} links to $target, which does not resolve"
  done
done >>"$tmp/links"
report links "$tmp/links"

# Every text file declares its charset once, and its bytes are valid in it.
: >"$tmp/charset"
for text in ./*.htm ./*.hhc ./*.hhk; do
  declared=$(grep -Eio '<meta[^>]*charset=[A-Za-z0-9_-]+' "$text" | sed 's/.*=//' | sort -u)
  case $(echo "$declared" | tr '[:lower:]' '[:upper:]') in
    SHIFT_JIS | SHIFT-JIS | X-SJIS) codeset=CP932 ;;
    UTF-8) codeset=UTF-8 ;;
    *) echo "${text#./} declares charset '${declared//$'\n'/,}'" >>"$tmp/charset"; continue ;;
  esac
  iconv -f "$codeset" -t UTF-8 "$text" >/dev/null 2>&1 ||
    echo "${text#./} is not valid $declared" >>"$tmp/charset"
done
report charset "$tmp/charset"

[ "$failures" -eq 0 ]
