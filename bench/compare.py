#!/usr/bin/env python3
"""Prints ours/peer ratios of the peer benchmarks.

Usage:
  compare.py PEER_BENCH_BINARY [benchmark options...]   runs it, then compares
  compare.py RESULTS.json                               compares a saved run
Options of this script (before the others): --cpu compares CPU time instead
of wall time.

Benchmarks are named GROUP/PEER; GROUP/ours is ours. With repetitions the
medians are compared, otherwise the single runs. Each line shows the limit
the ratio should stay within; the script judges nothing by its exit code.
"""
import json
import subprocess
import sys
import tempfile

# Limits other than 1.0 for ours/peer, by group and peer ("fastest" stands for
# the fastest peer that is not a floor).
LIMITS = {
    ("Cls", "floor:std::fill"): 1.2,
    ("Bload", "floor:read+write"): 2.5,
    ("Bload", "fastest"): 0.7,
    ("PutTrans_32x32", "fastest"): 0.7,
    ("PutTrans_640x480", "fastest"): 0.7,
    ("PutPset_640x480", "floor:memcpy"): 1.3,
    ("PutPset_32x32", "floor:memcpy"): None,  # shown, no target
    ("Frame", "floor:clear+picture"): 3.0,
}


def load(argv):
    if argv[0].endswith(".json"):
        with open(argv[0]) as f:
            return json.load(f)
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([argv[0], *argv[1:], "--benchmark_out=" + out.name, "--benchmark_out_format=json"],
                       check=True, stdout=sys.stderr)
        return json.load(open(out.name))


def medians(results, key):
    """{run name: median time in ns}; runs that reported an error are left out."""
    samples, failed = {}, set()
    aggregated = {}
    for b in results["benchmarks"]:
        name = b.get("run_name", b["name"]).removesuffix("/real_time")
        if b.get("error_occurred"):
            failed.add(name)
            continue
        scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                aggregated[name] = b[key] * scale
        else:
            samples.setdefault(name, []).append(b[key] * scale)
    out = {}
    for name, values in samples.items():
        values.sort()
        out[name] = aggregated.get(name, values[len(values) // 2])
    return {n: t for n, t in out.items() if n not in failed}, failed


def pretty(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def main(argv):
    key = "real_time"
    if argv and argv[0] == "--cpu":
        key, argv = "cpu_time", argv[1:]
    if not argv:
        print(__doc__)
        return 2
    times, failed = medians(load(argv), key)
    groups = {}
    for name in times:
        group, _, peer = name.partition("/")
        groups.setdefault(group, {})[peer] = times[name]
    print(f"ours/peer by {'CPU' if key == 'cpu_time' else 'wall'} time (medians)")
    print(f"{'group':<18} {'peer':<40} {'ours':>10} {'peer':>10} {'ratio':>7} {'limit':>6}")
    for group in sorted(groups):
        runs = groups[group]
        if "ours" not in runs:
            continue
        ours = runs["ours"]
        peers = {p: t for p, t in runs.items() if p != "ours"}
        real_peers = {p: t for p, t in peers.items() if not p.startswith("floor:")}
        if (group, "fastest") in LIMITS and real_peers:
            fastest = min(real_peers, key=real_peers.get)
            peers["fastest"] = real_peers[fastest]
        for peer in sorted(peers, key=lambda p: (p == "fastest", p.startswith("floor:"), p)):
            ratio = ours / peers[peer]
            limit = LIMITS.get((group, peer), 1.0)
            verdict = "" if limit is None else ("ok" if ratio <= limit else "MISSED")
            label = f"fastest ({fastest})" if peer == "fastest" else peer
            limit_text = "" if limit is None else f"{limit:.2f}"
            print(f"{group:<18} {label:<40} {pretty(ours):>10} {pretty(peers[peer]):>10} "
                  f"{ratio:7.2f} {limit_text:>6} {verdict}")
    for name in sorted(failed):
        print(f"{name}: reported an error (see the benchmark output)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
