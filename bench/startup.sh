#!/usr/bin/env bash
# Start-up cost of the real program under Xvfb, over several fresh starts:
#   map_ms   process start (just before exec) to the main window first mapped
#   rss_mb   resident memory 10 s after start
#   idle_ms  CPU time (user + system) in the 30 idle seconds after that
# Goals: map < 150 ms, rss < 80 MB, idle < 30 ms. Prints each run and the medians.
#
#   bench/startup.sh [program]            default: build/src/orvane
#   STARTS=7 IDLE_RUNS=3 bench/startup.sh
#
# STARTS fresh starts measure the map time (each ended once mapped);
# IDLE_RUNS of them run the full 40 s for memory and idle CPU. Each run gets a
# run directory of its own, so a settings file left by one run never reaches
# the next. No window manager runs: the window maps as soon as Qt shows it.
set -euo pipefail
cd "$(dirname "$0")/.."

program=$(realpath "${1:-build/src/orvane}")
starts=${STARTS:-7}
idle_runs=${IDLE_RUNS:-3}
[[ -x "$program" ]] || { echo "startup: no program at $program (build the orvane target)" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# A watcher that starts the program and reports the moment its window maps.
# The window's title is read when it maps, so hidden helper windows (the
# lyrics overlay is created hidden) do not count.
cat >"$work/watch.c" <<'EOF'
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int titled(Display* d, Window w, const char* title) {
  XTextProperty p;
  if (!XGetWMName(d, w, &p) || !p.value) return 0;
  int ok = strstr((const char*)p.value, title) != NULL;
  XFree(p.value);
  return ok;
}

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  Display* d = XOpenDisplay(NULL);
  if (!d) return 3;
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);
  double start = now_ms();
  pid_t pid = fork();
  if (pid == 0) {
    execv(argv[2], argv + 2);
    _exit(127);
  }
  printf("pid %d\n", pid);
  fflush(stdout);
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == MapNotify && titled(d, e.xmap.window, argv[1])) {
      printf("mapped %.1f\n", now_ms() - start);
      fflush(stdout);
      break;
    }
  }
  XCloseDisplay(d);
  return 0;
}
EOF
cc -O2 -o "$work/watch" "$work/watch.c" -lX11

display=:$((150 + RANDOM % 100))
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display
unset QT_QPA_PLATFORM

median() { sort -n | awk '{v[NR]=$1} END {if (NR == 0) print "-"; else if (NR % 2) print v[(NR+1)/2]; else printf "%.1f\n", (v[NR/2]+v[NR/2+1])/2}'; }
# CPU time from the scheduler's own accounting (nanoseconds, every thread),
# not the sampled tick counts of /proc/PID/stat, which cannot see a wake-up of
# a tenth of a millisecond.
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.1f\n", ns / 1e6}'; }

maps=()
rss=()
idle=()
for run in $(seq "$starts"); do
  # The program keeps its settings beside itself: give each run a copy.
  dir="$work/run$run"
  mkdir -p "$dir"
  cp "$program" "$dir/"
  exe="$dir/$(basename "$program")"
  : >"$work/watch$run.out"
  "$work/watch" OrvaneV1.3 "$exe" >"$work/watch$run.out" 2>/dev/null &
  watcher=$!
  pid=""
  for _ in $(seq 100); do
    pid=$(awk '/^pid/ {print $2}' "$work/watch$run.out" 2>/dev/null || true)
    [[ -n "$pid" ]] && break
    sleep 0.01
  done
  wait "$watcher" || true
  [[ -n "$pid" ]] || pid=$(awk '/^pid/ {print $2}' "$work/watch$run.out" 2>/dev/null || true)
  map=$(awk '/^mapped/ {print $2}' "$work/watch$run.out" 2>/dev/null || true)
  if [[ -z "$pid" || -z "$map" || ! -d /proc/$pid ]]; then
    echo "run $run: the window did not map (watcher: $(tr '\n' ' ' <"$work/watch$run.out"))"
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
    continue
  fi
  maps+=("${map:-nan}")
  line="run $run: map ${map:-?} ms"
  if (( run <= idle_runs )); then
    sleep 10
    kb=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    rss+=("$(awk -v k="$kb" 'BEGIN {printf "%.1f", k / 1024}')")
    c0=$(cpu_ms "$pid")
    sleep 30
    c1=$(cpu_ms "$pid")
    idle+=("$(awk -v a="$c0" -v b="$c1" 'BEGIN {printf "%.1f", b - a}')")
    line+=", rss ${rss[-1]} MB, idle cpu ${idle[-1]} ms"
  fi
  echo "$line"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
done

echo "median map_ms  $(printf '%s\n' "${maps[@]}" | median)  (goal < 150)"
echo "median rss_mb  $(printf '%s\n' "${rss[@]}" | median)  (goal < 80)"
echo "median idle_ms $(printf '%s\n' "${idle[@]}" | median)  (goal < 30, over 30 s)"
