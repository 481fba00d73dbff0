#!/usr/bin/env bash
# Long-run reliability campaigns, separate from the test command. Each campaign prints one
# summary line with its counts (and a few detail lines before it).
# Usage: scripts/stress.sh [campaign...]   campaigns: kill kill-protected soak badinput
#        clipboard fuzz (default: all six). SIZE=small runs each at a size for a quick check; the sizes
#        can also be set one by one:
#   KILL_TRIALS (100)  SOAK_CAPTURES (10000)  SOAK_MENUS (1000)  SOAK_EVERY (1000)
#   BAD_RANDOM (20 random cases of each kind)  BAD_STRIDE (1: every case)
#   HOLD_ROUNDS (10)  HOLD_MS (2000)  FUZZ_RUNS (10000000 per target)  SEED (1)
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${SIZE:-full}" = small ]; then
  : "${KILL_TRIALS:=10}" "${SOAK_CAPTURES:=500}" "${SOAK_MENUS:=50}" "${SOAK_EVERY:=100}"
  : "${BAD_RANDOM:=3}" "${BAD_STRIDE:=7}" "${HOLD_ROUNDS:=3}" "${FUZZ_RUNS:=100000}"
fi
KILL_TRIALS="${KILL_TRIALS:-100}"
SOAK_CAPTURES="${SOAK_CAPTURES:-10000}"
SOAK_MENUS="${SOAK_MENUS:-1000}"
SOAK_EVERY="${SOAK_EVERY:-1000}"
BAD_RANDOM="${BAD_RANDOM:-20}"
BAD_STRIDE="${BAD_STRIDE:-1}"
HOLD_ROUNDS="${HOLD_ROUNDS:-10}"
HOLD_MS="${HOLD_MS:-2000}"
FUZZ_RUNS="${FUZZ_RUNS:-10000000}"
SEED="${SEED:-1}"
campaigns=("$@")
[ ${#campaigns[@]} -gt 0 ] || campaigns=(kill kill-protected soak badinput clipboard fuzz)
failed=0

run_fuzz() {
  bash "$ROOT/scripts/build.sh" fuzz >/dev/null || { echo "fuzz: build failed"; return 1; }
  local fuzzer name work log corpus
  for fuzzer in "$ROOT"/build/fuzz/*_fuzz; do
    [ -x "$fuzzer" ] || continue
    name="$(basename "$fuzzer" _fuzz)"
    corpus="$ROOT/fuzz/corpus/$name"
    work="$ROOT/build/fuzz/stress-corpus-$name"
    log="$ROOT/build/fuzz/stress-$name.log"
    mkdir -p "$corpus" && rm -rf "$work" && mkdir -p "$work" && cp -r "$corpus/." "$work/"
    local start=$SECONDS
    if "$fuzzer" -runs="$FUZZ_RUNS" -rss_limit_mb=2048 -print_final_stats=1 "$work" \
        >"$log" 2>&1; then
      # Only the inputs that raise coverage over the kept corpus join it.
      "$fuzzer" -merge=1 "$corpus" "$work" >>"$log" 2>&1
      local execs
      execs="$(grep -E '^stat::number_of_executed_units' "$log" | tail -n1 | awk '{print $2}')"
      echo "fuzz $name: ${execs:-?} executions in $((SECONDS - start)) s, 0 findings," \
           "corpus now $(ls "$corpus" | wc -l) inputs"
    else
      echo "fuzz $name: FINDING after $((SECONDS - start)) s (see $log)"
      grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -n 5
      failed=1
    fi
  done
}

# Answers the drivers' requests that only Linux can: SIGKILL to the program and the count
# of its open file descriptors and its private resident memory. A request names the program by its folder (unique to the
# run); only a process of this Wine prefix is ever touched, found by its id.
find_program_pid() {
  local token="$1" file pid
  for file in $(grep -las -- "$token" /proc/[0-9]*/cmdline 2>/dev/null); do
    pid="${file#/proc/}"; pid="${pid%/cmdline}"
    tr '\0' '\n' <"$file" 2>/dev/null | grep -qi 'varnoke\.exe' || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "$pid"
    return 0
  done
}
watch_requests() {
  local verb token pid
  while :; do
    if [ -f "$LINK_DIR/request" ]; then
      read -r verb token <"$LINK_DIR/request"
      rm -f "$LINK_DIR/request"
      pid="$(find_program_pid "$token")"
      case "$verb" in
        kill) [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; echo "${pid:-none}" >"$LINK_DIR/answer.tmp" ;;
        mem) if [ -n "$pid" ]; then awk '/^RssAnon/ {print $2}' "/proc/$pid/status"; else echo -1; fi >"$LINK_DIR/answer.tmp" ;;
        fds) if [ -n "$pid" ]; then ls "/proc/$pid/fd" 2>/dev/null | wc -l; else echo -1; fi >"$LINK_DIR/answer.tmp" ;;
        *) echo "?" >"$LINK_DIR/answer.tmp" ;;
      esac
      mv "$LINK_DIR/answer.tmp" "$LINK_DIR/answer"
    else
      sleep 0.005
    fi
  done
}

needs_wine=0
for c in "${campaigns[@]}"; do [ "$c" != fuzz ] && needs_wine=1; done
WATCHER=""
if [ $needs_wine = 1 ]; then
  source "$ROOT/scripts/wine_env.sh"
  echo "stress: the $WIN_ARCH_NOTE"
  bash "$ROOT/scripts/build.sh" "$WIN_BUILD" >/dev/null || { echo "stress: build failed"; exit 1; }
  # A prefix of its own, so a long campaign and the test command can run side by side.
  export WINEPREFIX="$ROOT/build/wineprefix-stress$PREFIX_SUFFIX"
  LINK_DIR="$(mktemp -d /tmp/varnoke-stress.XXXXXX)"
  export VARNOKE_STRESS_LINK="Z:${LINK_DIR//\//\\}"
  cleanup() {
    [ -n "$WATCHER" ] && kill "$WATCHER" 2>/dev/null
    stop_wineserver; stop_private_xvfb; rm -rf "$LINK_DIR"
  }
  trap cleanup EXIT
  start_private_xvfb
  start_wineserver
  watch_requests &
  WATCHER=$!
fi
drive() { wine "$BUILD_WIN/$1.exe" "${@:2}" </dev/null || failed=1; }

for c in "${campaigns[@]}"; do
  case "$c" in
    kill) drive stress_kill "$KILL_TRIALS" "$SEED" ;;
    # The same kills on saves of files protected for the user (HistoryDataProtect).
    kill-protected) drive stress_kill "$KILL_TRIALS" "$SEED" protect ;;
    soak) drive stress_soak "$SOAK_CAPTURES" "$SOAK_MENUS" "$SOAK_EVERY" ;;
    badinput) drive stress_badinput "$BAD_RANDOM" "$BAD_STRIDE" "$SEED" ;;
    clipboard) drive stress_clipboard "$HOLD_ROUNDS" "$HOLD_MS"; drive stress_clipboard "$HOLD_ROUNDS" 300 ;;
    fuzz) run_fuzz ;;
    *) echo "stress: unknown campaign $c" >&2; failed=1 ;;
  esac
done
exit $failed
