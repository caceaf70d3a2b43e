#!/usr/bin/env bash
# How often a program's main thread wakes per key press, and what wakes it:
# the program runs under strace on an Xvfb of its own, gets N digits, each
# followed by a backspace, half a second apart, and every return of poll,
# ppoll or select in its main thread during the presses is counted, by the
# descriptor that was ready (or "timeout" for a timer).
#
#   bench/wakeups.sh [--presses N] [--class WM_CLASS] PROGRAM [ARGUMENT]...
#
# e.g. bench/wakeups.sh build-bench/app/qinghe-taxcalc
#      bench/wakeups.sh --class XCalc xcalc
# Needs Xvfb, strace and xdotool. Figures only; the strace log is kept.
set -euo pipefail

presses=20
class=
while [[ $# -gt 0 ]]; do
  case $1 in
    --presses) presses=$2; shift 2 ;;
    --class) class=$2; shift 2 ;;
    *) break ;;
  esac
done
if [[ $# -lt 1 ]]; then
  echo "usage: $0 [--presses N] [--class WM_CLASS] PROGRAM [ARGUMENT]..." >&2
  exit 2
fi
for tool in Xvfb strace xdotool; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d /tmp/wakeups.XXXXXX)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

Xvfb -displayfd 1 -screen 0 1280x768x24 -nolisten tcp -noreset >"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$work/display")
export QT_QPA_PLATFORM=xcb GDK_BACKEND=x11 XDG_CONFIG_HOME=$work
xset -r # no autorepeat

strace -f -tt -T -o "$work/strace.log" -e trace=poll,ppoll,select,pselect6 "$@" >"$work/program.log" 2>&1 &
pids+=($!)
sleep 0.5
program=$(pgrep -P "${pids[1]}" | head -1)

if [[ -n $class ]]; then
  window=$(xdotool search --sync --classname "$class" 2>/dev/null | head -1 || true)
  [[ -n $window ]] || window=$(xdotool search --sync --class "$class" | head -1)
else
  window=$(xdotool search --sync --onlyvisible --pid "$program" | head -1)
fi
xdotool mousemove 1279 767 windowfocus "$window"
sleep 2

start=$(date +%H:%M:%S.%N)
for _ in $(seq "$presses"); do
  xdotool key 5
  sleep 0.5
  xdotool key BackSpace
  sleep 0.5
done
end=$(date +%H:%M:%S.%N)
ls -l "/proc/$program/fd" >"$work/fds" 2>/dev/null || true
ls -l "/proc/$program/task" >/dev/null 2>&1 || true
cleanup
trap - EXIT

# The main thread's returns between the first press and the last second.
python3 - "$work/strace.log" "$program" "$start" "$end" "$presses" "$work/fds" <<'EOF'
import re, sys
log, main, start, end, presses, fds = sys.argv[1], sys.argv[2], sys.argv[3][:15], sys.argv[4][:15], int(sys.argv[5]), sys.argv[6]
links = {}
for line in open(fds):
    m = re.search(r' (\d+) -> (.*)$', line)
    if m:
        links[m.group(1)] = m.group(2)
# A call that took 0.1 ms or more slept until something woke it; one that
# returned sooner (a timeout of 0, a socket ready for writing) did not.
wakes, slept, causes, others = 0, 0, {}, {}
for line in open(log):
    parts = re.match(r'(\d+)\s+(\S+)\s+(.*)$', line)
    if not parts:
        continue
    pid, stamp, rest = parts.groups()
    if 'unfinished' in rest or not (start <= stamp <= end):
        continue
    m = re.search(r'= (\d+)(?: \((.*)\))? <([\d.]+)>\s*$', rest)
    if not m:
        continue
    if pid != main:
        others[pid] = others.get(pid, 0) + (float(m.group(3)) >= 0.0001)
        continue
    wakes += 1
    waited = float(m.group(3)) >= 0.0001
    slept += waited
    kind = 'slept, woken by' if waited else 'at once,'
    if m.group(1) == '0':
        name = f'{kind} timeout'
        causes[name] = causes.get(name, 0) + 1
        continue
    for fd, events in re.findall(r'fd=(\d+), revents=(\w+)', m.group(2) or rest):
        name = f'{kind} fd {fd} ({links.get(fd, "?")}) {events}'
        causes[name] = causes.get(name, 0) + 1
keys = 2 * presses
print(f'{wakes} returns of poll in the main thread for {keys} keys: {wakes / keys:.1f} per key, '
      f'{slept / keys:.1f} of them after sleeping')
for cause, count in sorted(causes.items(), key=lambda c: -c[1]):
    print(f'  {count / keys:5.1f} per key  {cause}')
for pid, count in sorted(others.items()):
    print(f'thread {pid}: {count / keys:.1f} returns after sleeping per key')
EOF
echo "strace log: $work/strace.log"
