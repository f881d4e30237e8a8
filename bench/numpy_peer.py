#!/usr/bin/env python3
"""The default outdoor calculation of "Bereken" written the array way with NumPy: all 401
strip edges of the five points as one array, the corner view factor on whole arrays,
numpy.arctan for the arctangents. The peer that the C++ engine is timed against.

Prints the five levels (W/m2) and the time of one calculation (minimum and median of
many repetitions, and the minimum of the processor time) as JSON."""

import json
import statistics
import sys
import time

import numpy as np

N = 400


def corner_view_factor(d, h, w):
    a = 1e-9 + h / (w + 1e-7)
    bq = 1e-9 + d / (w + 1e-7)
    s1 = 1 / np.sqrt(a * a + bq * bq)
    s2 = a / np.sqrt(1 + bq * bq)
    return (1 / 6.283184) * ((a * s1) * np.arctan(s1) + (s2 / a) * np.arctan(s2))


def outdoor_levels(B=10.0, D=10.0, H=8.0, x=5.0, y=5.0, heights=(2.5, 5, 7.5, 10, 12.5), compact=False):
    # The state as the calculation prepares it (no screen, face not limited here).
    B, D, H, x, y_entered = B + 1e-6, D + 1e-6, H + 1e-5, x + 1e-8, y
    y = y_entered + 1e-6
    if y > 0.5 * B:
        y = B - y
    f = y / (B - 1e-6)
    diameter = ((B * D) * 4 / 3.141592) ** 0.5
    if diameter < 10:
        lf = 0.24 * ((diameter * H) * 2000) ** 0.4 - diameter
    else:
        lf = (1.5 if compact else 3) * H
    t0, t1 = (950.0 if compact else 1085.0), 793.0

    i = np.arange(1, N + 1)
    edges = (np.arange(0, N + 1) * lf) / N
    temperature = np.where(edges[1:] < H, t0, ((i / N - 1) * ((t1 - t0) / (1 - H / lf))) + t1)
    fourth = temperature ** 4
    h = np.asarray(heights, dtype=float)[:, None] - edges[None, :]  # 5 x 401
    kernels = corner_view_factor(x, h, f * B) + corner_view_factor(x, h, (1 - f) * B)
    view = kernels[:, :-1] - kernels[:, 1:]
    flux = (5.67e-8 * view) * fourth
    transmission = min(1.0, 1.08 * x ** -0.09)
    return flux.sum(axis=1) * transmission


def main():
    repetitions = int(sys.argv[1]) if len(sys.argv) > 1 else 20
    levels = outdoor_levels()
    batch = 200
    times = []
    cpu_times = []
    for _ in range(repetitions):
        start = time.perf_counter()
        cpu_start = time.process_time()
        for _ in range(batch):
            outdoor_levels()
        cpu_times.append((time.process_time() - cpu_start) / batch * 1e6)
        times.append((time.perf_counter() - start) / batch * 1e6)
    print(json.dumps({"levels": [float(v) for v in levels], "min_us": min(times),
                      "median_us": statistics.median(times), "min_cpu_us": min(cpu_times),
                      "numpy": np.__version__}))


if __name__ == "__main__":
    main()
