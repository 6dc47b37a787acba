#!/bin/sh
# Per-date times of this almanac and of two peers, in one run:
#   PyEphem (python3-ephem): rise, set and transit of the sun and the moon;
#   astronomy-engine 2.1.19 (npm, installed under BUILD/peers): rise and set;
#   this engine: a month of the full --csv content (every column) / 31.
# Usage: bench/peers.sh BUILD
set -e
BUILD=${1:-build}
TOP=$(cd "$(dirname "$0")/.." && pwd)
PEERS=$BUILD/peers
command -v node >/dev/null && command -v npm >/dev/null ||
    { echo "bench-peers needs Node.js and npm (Debian: apt-get install npm)"; exit 1; }
if [ ! -f "$PEERS/node_modules/astronomy-engine/package.json" ]; then
    mkdir -p "$PEERS"
    npm install --silent --no-audit --no-fund --prefix "$PEERS" astronomy-engine@2.1.19 >/dev/null
fi
ours=$("$BUILD/lunvelde_bench" --benchmark_filter='^almanac_month$' --benchmark_repetitions=5 \
       --benchmark_report_aggregates_only=true --benchmark_format=json |
       /usr/bin/python3 -c 'import json,sys; b=[x for x in json.load(sys.stdin)["benchmarks"] if x.get("aggregate_name")=="median"][0]; print(b["cpu_time"]*{"ms":1e3,"us":1,"ns":1e-3}[b["time_unit"]]/31)')
pyephem=$(/usr/bin/python3 "$TOP/bench/peer_pyephem.py")
astro=$(NODE_PATH="$PEERS/node_modules" node "$TOP/bench/peer_astronomy.js")
/usr/bin/python3 - "$ours" "$pyephem" "$astro" <<'PY'
import sys
ours, pe, ae = map(float, sys.argv[1:])
print("per date, Tokyo, 1000 dates from 2000-01-01")
print("  this almanac (every column)              %8.1f us" % ours)
print("  PyEphem (sun, moon: rise, set, transit)  %8.1f us  %5.1fx this" % (pe, pe / ours))
print("  astronomy-engine (sun, moon: rise, set)  %8.1f us  %5.1fx this" % (ae, ae / ours))
PY
