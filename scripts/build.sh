#!/usr/bin/env bash
# build.sh TARGET...: configures (once) and builds the named targets; with
# GLIM_MAKE_TARGETS set, only those make targets of each (e.g. "glim glimctl").
#   x64    build/x64    the Windows program and its tests, run here under Wine
#   x86    build/x86    the 32-bit Windows program and tests, built only
#   fuzz   build/fuzz   native clang build with libFuzzer, ASan and UBSan
#   bench  build/bench  native optimised build of the benchmarks
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$GLIM_ROOT"
mkdir -p build
jobs=$(nproc)
for target in "$@"; do
  dir="build/$target"
  case "$target" in
    x64)   args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x64.cmake -DCMAKE_BUILD_TYPE=Release) ;;
    x86)   args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86.cmake -DCMAKE_BUILD_TYPE=Release) ;;
    fuzz)  args=(-DCMAKE_TOOLCHAIN_FILE=cmake/native-clang.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIM_FUZZ=ON) ;;
    bench) args=(-DCMAKE_TOOLCHAIN_FILE=cmake/native-clang.cmake -DCMAKE_BUILD_TYPE=Release) ;;
    *) echo "build.sh: unknown target $target" >&2; exit 2 ;;
  esac
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G "Unix Makefiles" "${args[@]}" >"$dir.configure.log" 2>&1 || {
      cat "$dir.configure.log" >&2; exit 1; }
  fi
  # shellcheck disable=SC2086  # a list of make targets
  make -C "$dir" -j"$jobs" --no-print-directory -s ${GLIM_MAKE_TARGETS:-}
done
