#!/usr/bin/env bash
# warmtegloed-cli's 1000 x 1000 grid against its computation alone: builds the program and
# its benchmark, times the computation alone and the computation with the CSV, then the whole
# program writing the CSV to /dev/null, and prints the ratios. The machine being shared, the
# figures are processor time over all threads (the wall clock mostly measures the neighbours),
# the fastest of the repetitions. The goal is a CSV at most 1.3 x the computation alone.
#   bench/bench_cli_grid.sh [repetitions]      (default 5; build folder: $BUILD_DIR or build/)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
repetitions=${1:-5}
build=${BUILD_DIR:-$root/build}
grid=x=1:1000:1,y=0:999:1

# shellcheck source=../tools/packages.sh
source "$root/tools/packages.sh"
install_missing_packages "${BUILD_PACKAGES[@]}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target warmtegloed-cli warmtegloed-bench-cli-grid >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bin/warmtegloed-bench-cli-grid" --benchmark_repetitions="$repetitions" \
    --benchmark_out="$work/grid.json" --benchmark_out_format=json >/dev/null 2>&1

/usr/bin/python3 - "$work/grid.json" "$build/bin/warmtegloed-cli" "$grid" "$repetitions" <<'PY'
import json, resource, subprocess, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
fastest = {r["run_name"].split("/")[0]: r["cpu_time"] for r in runs if r.get("aggregate_name") == "min"}
alone, csv = fastest["BM_GridComputation"], fastest["BM_GridCsv"]
process = None
for _ in range(int(sys.argv[4])):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run([sys.argv[2], "--grid", sys.argv[3]], stdout=subprocess.DEVNULL, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    used = (after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime) * 1000
    process = used if process is None else min(process, used)
print(f"1000 x 1000 grid, processor time, fastest of the repetitions:")
print(f"  computation alone               {alone:8.0f} ms")
print(f"  computation and CSV             {csv:8.0f} ms   {csv / alone:.2f} x")
print(f"  warmtegloed-cli --grid, whole   {process:8.0f} ms   {process / alone:.2f} x")
print("goal: computation and CSV at most 1.3 x the computation alone:",
      "met" if csv / alone <= 1.3 else "NOT met")
PY
