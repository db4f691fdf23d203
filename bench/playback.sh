#!/usr/bin/env bash
# Measures the real program through the driver against the local station:
#   - the time from a next-song click to the player's "playing" state (median of N songs)
#   - CPU use over 60 s of playback with the overlay shown and lyrics changing
#   - peak resident memory over that minute
#   bench/playback.sh [BUILD_DIR] [SECONDS] [SONGS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
seconds=${2:-60}
songs=${3:-15}
drive=$build/tools/drive/orvane-drive
run=$(mktemp -d)
# The station runs in a process of its own, so only the program is measured.
port=$((20000 + RANDOM % 20000))
"$build/tests/station/orvane-station" --port "$port" >/dev/null 2>&1 &
station=$!
trap 'kill $station 2>/dev/null; rm -rf "$run"' EXIT
for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/j/v2/channel_info?id=-10" && break; sleep 0.1; done
service=http://127.0.0.1:$port

# 1. Click to playing, one song after another.
script=""
for _ in $(seq "$songs"); do script+=$'click 下一曲\nwaitstate 3 5000\n'; done
script+=$'close\n'
printf '%s' "$script" | "$drive" --service "$service" --run-dir "$run" 2>/dev/null |
  python3 -c '
import json, sys, statistics
ms = []
for line in sys.stdin:
    o = json.loads(line)
    if "waitstate" in o and o["reached"]:
        ms.append(o["ms"])
print(f"click to playing: median {statistics.median(ms):.0f} ms over {len(ms)} songs (min {min(ms)}, max {max(ms)})")
'

# 2. A minute of playback with the overlay shown.
printf 'click 下一曲\nclick 歌词显示\nwait 2000\nstats\nwait %d\nstats\nclose\n' "$((seconds * 1000))" |
  "$drive" --service "$service" --run-dir "$run" 2>/dev/null |
  python3 -c '
import json, sys
stats = [json.loads(l) for l in sys.stdin if l.startswith("{\"cpuMs\"")]
a, b = stats[0], stats[1]
secs = '"$seconds"'
cpu = (b["cpuMs"] - a["cpuMs"]) / (secs * 1000) * 100
print(f"playback CPU: {cpu:.2f} % of one core over {secs} s; peak RSS {b['"'"'peakRssKb'"'"'] / 1024:.1f} MB; RSS now {b['"'"'rssKb'"'"'] / 1024:.1f} MB")
'
