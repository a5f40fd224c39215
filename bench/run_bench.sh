#!/usr/bin/env bash
# Runs the bench on a built release tree and leaves results.csv, samples.csv and results.png in bench/.
# Usage: run_bench.sh BUILD_DIR [RUNS [IDLE_RUNS [IDLE_SECONDS [DESKTOP_RUNS]]]]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run_bench.sh BUILD_DIR}" && pwd)
runs=${2:-40}
idle_runs=${3:-3}
idle_seconds=${4:-20}
desktop_runs=${5:-20}

echo "bench on $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) before the runs"
"$build/bench/tarvelo_bench" "$build/app/tarvelo" "$build/bench/tarvelo_reference" "$here" \
    "$runs" "$idle_runs" "$idle_seconds" "$desktop_runs"
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) after the runs"
XDG_RUNTIME_DIR=$(mktemp -d) QT_QPA_PLATFORM=offscreen "$build/bench/tarvelo_bench_chart" "$here/results.csv" "$here/results.png"
echo "wrote $here/results.csv, $here/samples.csv and $here/results.png"
