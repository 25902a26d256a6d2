#!/usr/bin/env bash
# ./soak.sh [ACTIONS] [SEED]   uses a running Glim the way a user does (keys and
# clicks in each pane, menu commands, find, zoom, resizing, the splitters, the
# settings sheet and the About box, files deleted, locked and appended to under
# it) for ACTIONS random actions (200) drawn from SEED (the time), on a corpus
# of every kind of file written into a temporary folder. Ends with
#   soak: N actions, C crashes, H hangs, handles +X, GDI +Y, USER +Z
# (growth from the sample after warm-up to the last) and exits non-zero on a
# crash or a hang (the window silent for 5 s); after a crash, or a freeze of a
# minute, a new Glim goes on with the run. build/soak/last-run.log has the
# stacks of each, build/soak/last-run.txt the seed and the last 50 actions for a
# replay; after a failure the corpus is kept too.
set -eu
cd "$(dirname "$0")"
actions=${1:-200}
seed=${2:-$(date +%s)}
bash scripts/setup.sh >/dev/null
. scripts/env.sh
GLIM_MAKE_TARGETS="glim glimsoak" bash scripts/build.sh x64

# Glim runs from a copy so that the run's settings stay with the run.
work=$(mktemp -d /tmp/glim-soak.XXXXXX)
mkdir "$work/bin" "$work/corpus"
cp build/x64/app/glim.exe build/x64/app/GLIM.CHM "$work/bin/"
mkdir -p build/soak
replay=$(realpath build/soak)/last-run.txt
log=$(realpath build/soak)/last-run.log

glim_display
trap glim_stop_display EXIT
rc=0
# The output goes to a file: a Wine server started by the run would hold a pipe open.
timeout $((actions * 2 + 600)) wine build/x64/scripts/glimsoak.exe "$(winepath -w "$work/bin/glim.exe")" \
  "$(winepath -w "$work/corpus")" "$actions" "$seed" "$(winepath -w "$replay")" >"$log" 2>&1 || rc=$?
grep -a '^soak: ' "$log" | head -n -1 || true
summary=$(grep -a '^soak: ' "$log" | tail -n 1 || true)
if grep -aq 'glim\.exe+0x' "$log"; then  # the stacks of a fault or a freeze, with names
  python3 scripts/soakstack.py "$work/bin/glim.exe" <"$log" >"$log.named" && mv "$log.named" "$log"
fi
if [ "$rc" -eq 0 ] && [ -n "$summary" ]; then
  rm -rf "$work"
else
  echo "soak: failed (exit $rc); replay: ./soak.sh $actions $seed; corpus kept in $work; see $replay and $log" >&2
  [ -n "$summary" ] || summary="soak: the driver ended without a summary (exit $rc)"
  [ "$rc" -ne 0 ] || rc=1
fi
echo "$summary"
exit "$rc"
