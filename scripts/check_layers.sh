#!/usr/bin/env bash
# check_layers.sh [ROOT]: the source folders include one another only
# downwards, in the order of the root CMakeLists.txt, bottom to top:
#   base; resources (identifiers only); image and document; window; settings;
#   view and navigation; app.
# Folders on one level do not include each other. Prints one line per check,
# "ok NAME" or "FAIL NAME: why"; exits non-zero on a failure.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || { echo "FAIL layers: no source tree at $root"; exit 1; }

declare -A level=([base]=0 [resources]=1 [image]=2 [document]=2 [window]=3 [settings]=4
                  [view]=5 [navigation]=5 [app]=6)
failures=0

fail() {
  echo "FAIL $1: $2"
  failures=$((failures + 1))
}

# "from to file" for every include of another source folder's file.
edges() {
  local from
  for from in "${!level[@]}"; do
    [ -d "$from" ] || continue
    grep -rHoE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]+/' "$from" \
        --include='*.cpp' --include='*.h' --include='*.rc' |
      sed -E 's|^([^:]*):.*"([a-z]+)/$|\2 \1|' |
      while read -r to file; do
        [ "$to" != "$from" ] && [ -n "${level[$to]+x}" ] && echo "$from $to $file"
      done
  done | sort -u
}

mapfile -t found < <(edges)

# Each include goes to a lower level: this alone rules out every loop.
bad=""
for edge in "${found[@]}"; do
  read -r from to file <<<"$edge"
  if [ "${level[$to]}" -ge "${level[$from]}" ]; then
    bad+=" $file includes $to/"
  fi
done
if [ -n "$bad" ]; then fail layer-order "${bad# }"; else echo "ok layer-order"; fi

# No loop of folders, also when the order above is changed by mistake: the
# folders reachable from each must not include itself.
declare -A reach=()
for edge in "${found[@]}"; do
  read -r from to _ <<<"$edge"
  reach[$from]+=" $to"
done
loop=""
for start in "${!level[@]}"; do
  seen=" "
  todo=${reach[$start]-}
  while [ -n "${todo// /}" ]; do
    read -r next rest <<<"$todo"
    todo=$rest
    case "$seen" in *" $next "*) continue ;; esac
    seen+="$next "
    todo+=" ${reach[$next]-}"
  done
  case "$seen" in *" $start "*) loop+=" $start" ;; esac
done
if [ -n "$loop" ]; then fail folder-loops "folders on a loop:$loop"; else echo "ok folder-loops"; fi

# The document knows nothing of pictures, panes or windows.
bad=""
for edge in "${found[@]}"; do
  read -r from to file <<<"$edge"
  case "$from:$to" in
    document:image | document:view | document:navigation | document:app | document:window) bad+=" $file includes $to/" ;;
  esac
done
if [ -n "$bad" ]; then fail document-alone "${bad# }"; else echo "ok document-alone"; fi

hits=$(grep -nwE 'HWND|HDC' document/*.h 2>/dev/null | grep -vE '^[^:]*:[0-9]+:[[:space:]]*//' || true)
if [ -n "$hits" ]; then
  fail document-windowless "$(echo "$hits" | head -n 3 | tr '\n' ' ')"
else
  echo "ok document-windowless"
fi

[ "$failures" -eq 0 ]
