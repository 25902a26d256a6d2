#!/usr/bin/env bash
# Installs whatever is missing, builds both Windows targets and the native fuzz
# build, runs every test under Wine and Xvfb plus a short fuzz run, and ends with
# one line "N passed, N failed". Exits non-zero on any failure or build warning.
set -u
cd "$(dirname "$0")"
bash scripts/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }
. scripts/env.sh

passed=0
failed=0
logs=build/test-logs
mkdir -p "$logs"

for target in x64 x86 fuzz bench; do
  echo "== build $target"
  if ! bash scripts/build.sh "$target" >"$logs/build-$target.log" 2>&1; then
    cat "$logs/build-$target.log"
    echo "build of $target failed (warnings are errors)"
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
done

glim_display || { echo "0 passed, 1 failed"; exit 1; }
trap glim_stop_display EXIT

# GoogleTest executables under Wine: every test case counts.
for exe in build/x64/tests/test_*.exe; do
  [ -e "$exe" ] || continue
  name=$(basename "$exe" .exe)
  log="$logs/$name.log"
  start=$(date +%s)
  timeout 900 wine "$exe" --gtest_color=no >"$log" 2>&1
  rc=$?
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
  ok=${ok:-0}; bad=${bad:-0}
  if [ "$rc" -ne 0 ] && [ "$bad" -eq 0 ]; then
    bad=1   # crashed, hung or ended without a summary
  fi
  passed=$((passed + ok)); failed=$((failed + bad))
  echo "== $name: $ok passed, $bad failed ($(( $(date +%s) - start )) s)"
  if [ "$bad" -ne 0 ]; then
    grep -E '^\[  FAILED  \]|Failure|error:|Expected|Which is|Value of|Actual' "$log" | head -n 60
    [ "$rc" -ne 0 ] && tail -n 20 "$log"
  fi
done

# Shell checks print "ok NAME" or "FAIL NAME: why" per check; each line counts.
run_checks() {  # run_checks LABEL COMMAND...
  local label=$1 log="$logs/$1.log" ok bad rc
  shift
  "$@" >"$log" 2>&1
  rc=$?
  ok=$(grep -c '^ok ' "$log"); bad=$(grep -c '^FAIL ' "$log")
  if [ "$rc" -ne 0 ] && [ "$bad" -eq 0 ]; then
    bad=1
  fi
  passed=$((passed + ok)); failed=$((failed + bad))
  echo "== $label: $ok passed, $bad failed"
  [ "$bad" -eq 0 ] || grep -v '^ok ' "$log" | tail -n 20
}

# The source folders include one another only downwards.
run_checks layers bash scripts/check_layers.sh

# The help file beside each build's glim.exe, read back by another reader; the
# win64 archive packed from what is built, unpacked and started.
for target in x64 x86; do
  run_checks "help-$target" bash scripts/check_help.sh "build/$target/app/GLIM.CHM"
done
# The help names only menu texts, keys and setting ranges that the program has.
run_checks help-terms python3 scripts/check_help_terms.py
version=$(head -n 1 VERSION)
run_checks release bash -c "bash package.sh --no-build --dist build/test-dist >/dev/null &&
  bash scripts/check_release.sh build/test-dist/glim-$version-win64.zip"

# A short soak of the running program: 200 random user actions from a fixed
# seed; one check, failed by a crash or a hang (see soak.sh for a replay).
soak_check() {
  ./soak.sh 200 20261207 >"$logs/soak-run.log" 2>&1
  local rc=$? summary
  summary=$(grep -a '^soak: ' "$logs/soak-run.log" | tail -n 1)
  if [ "$rc" -eq 0 ]; then echo "ok $summary"; else echo "FAIL ${summary:-soak: no summary (exit $rc)}"; fi
}
run_checks soak soak_check

# Native fuzz targets: a short run each; any finding fails. A target may come
# with a seed_<name> program that writes its starting corpus.
for fuzzer in build/fuzz/fuzzers/fuzz_*; do
  case "$fuzzer" in *.seconds) continue ;; esac
  [ -x "$fuzzer" ] || continue
  name=${fuzzer##*/fuzz_}
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeder=build/fuzz/fuzzers/seed_$name
  [ -x "$seeder" ] && "$seeder" "$corpus" >/dev/null 2>&1
  seconds=$(cat "$fuzzer.seconds" 2>/dev/null || echo 20)
  log="$logs/fuzz_$name.log"
  if "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$logs/fuzz_$name-" "$corpus" >"$log" 2>&1; then
    passed=$((passed + 1)); echo "== fuzz $name: clean for $seconds s"
  else
    failed=$((failed + 1)); echo "== fuzz $name: FINDING"; tail -n 40 "$log"
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
