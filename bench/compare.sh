#!/usr/bin/env bash
# The engine against its NumPy peer, in one run: installs what the comparison needs,
# builds the benchmark program, runs the outdoor calculation, the vectorised kernel
# floor and the plan grid, then the NumPy version of the same calculation, and prints
# both times (minimum and median of the repetitions) and their ratios.
#   bench/compare.sh [repetitions]      (default 10; build folder: $BUILD_DIR or build/)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
repetitions=${1:-10}
build=${BUILD_DIR:-$root/build}
python=/usr/bin/python3

# shellcheck source=../tools/packages.sh
source "$root/tools/packages.sh"
install_missing_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target warmtegloed-bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# OpenBLAS tuning variables of the environment would steer NumPy's start-up; neither
# program gets them.
env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "$build/bin/warmtegloed-bench" \
    --benchmark_filter='BM_OutdoorCalculation|BM_KernelBaseline|Grid' \
    --benchmark_repetitions="$repetitions" \
    --benchmark_out="$work/engine.json" --benchmark_out_format=json >/dev/null
env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "$python" "$root/bench/numpy_peer.py" "$repetitions" \
    >"$work/numpy.json"

"$python" - "$work/engine.json" "$work/numpy.json" <<'PY'
import json
import sys

engine = json.load(open(sys.argv[1]))
peer = json.load(open(sys.argv[2]))
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
times = {}
for run in engine["benchmarks"]:
    if run.get("run_type") != "aggregate" or run["aggregate_name"] not in ("min", "median"):
        continue
    name = run["run_name"].split("/repeats")[0]
    entry = times.setdefault(name, {"label": run.get("label", "")})
    entry[run["aggregate_name"]] = run["real_time"] * scale[run["time_unit"]]
    entry[run["aggregate_name"] + "_cpu"] = run["cpu_time"] * scale[run["time_unit"]]

context = engine["context"]
print(f"kernel target: {context.get('kernel_target')}, arctangent: {context.get('atan_library')}, "
      f"NumPy {peer['numpy']}, {context.get('num_cpus')} cpus")
print(f"{'':40} {'min (us)':>12} {'median (us)':>12} {'min cpu (us)':>13}")
for name, entry in times.items():
    print(f"{name:40} {entry['min']:12.1f} {entry['median']:12.1f} {entry['min_cpu']:13.1f}",
          entry["label"])
print("  (the grid's cpu time counts the calling thread only)")
print(f"{'numpy_peer.py (outdoor calculation)':40} {peer['min_us']:12.1f} {peer['median_us']:12.1f} "
      f"{peer['min_cpu_us']:13.1f}")

outdoor = times["BM_OutdoorCalculation"]
kernel = times["BM_KernelBaseline"]
print(f"NumPy / engine, outdoor calculation: {peer['min_us'] / outdoor['min']:.2f}x (min), "
      f"{peer['median_us'] / outdoor['median']:.2f}x (median), "
      f"{peer['min_cpu_us'] / outdoor['min_cpu']:.2f}x (cpu)")
print(f"outdoor calculation / kernel floor: {outdoor['min'] / kernel['min']:.2f}x (min), "
      f"{outdoor['median'] / kernel['median']:.2f}x (median), "
      f"{outdoor['min_cpu'] / kernel['min_cpu']:.2f}x (cpu)")
for name, entry in times.items():
    if "Grid" in name:
        print(f"{name}: {entry['min'] / 1e3:.1f} ms (min), {entry['median'] / 1e3:.1f} ms (median)")
print("NumPy levels (W/m2): " + " ".join(f"{v:.6f}" for v in peer["levels"]))
PY
