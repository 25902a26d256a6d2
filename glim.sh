#!/usr/bin/env bash
# ./glim.sh [folder-or-file]                    installs what is missing, builds
#                                                the release and runs Glim on the path
# ./glim.sh --screenshot FILE [folder-or-file]  the same, then saves a PNG of the
#                                                main window and closes it the orderly
#                                                way (so GLIM.INI is written)
set -eu
cd "$(dirname "$0")"
shot=
if [ "${1:-}" = "--screenshot" ]; then
  [ $# -ge 2 ] || { echo "usage: ./glim.sh --screenshot FILE [folder-or-file]" >&2; exit 2; }
  shot=$(realpath -m "$2")
  shift 2
fi
bash scripts/setup.sh
. scripts/env.sh
# Only what runs here: the program and the remote control, not the tests.
GLIM_MAKE_TARGETS="glim glimctl" bash scripts/build.sh x64
glim_display
trap glim_stop_display EXIT

exe=build/x64/app/glim.exe
args=()
if [ $# -ge 1 ]; then
  args=("$(winepath -w "$(realpath -m "$1")")")
fi

if [ -z "$shot" ]; then
  wine "$exe" "${args[@]}"
  exit 0
fi

wine "$exe" "${args[@]}" &
glim_pid=$!
geometry=$(wine build/x64/scripts/glimctl.exe wait 60)
read -r x y w h <<<"$geometry"
sleep 1  # let the first paint of every pane settle
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
wine build/x64/scripts/glimctl.exe close
wait "$glim_pid"
echo "glim: screenshot in $shot; settings in $(dirname "$exe")/GLIM.INI"
