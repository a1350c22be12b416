#!/usr/bin/env python3
"""Prints ours/peer ratios of the peer benchmarks and judges the targets.

Usage:
  compare.py [--cpu] [--game GAME.txt] PEER_BENCH_BINARY [benchmark options...]
                                                     runs it, then compares
  compare.py [--cpu] [--game GAME.txt] RESULTS.json  compares a saved run
Options of this script (before the others): --cpu compares CPU time instead
of wall time; --game reads what bench/measure_game.sh printed.

Benchmarks are named GROUP/PEER; GROUP/ours is ours, GROUP/floor:... a floor.
With repetitions the medians are compared, otherwise the single runs.
Benchmarks that time themselves (the Present ones: CPU of the whole process
per frame) are compared by that time in either mode.

Exit status: 0 when every benchmark ran and was right, whether or not the
targets are met (the table says which); 1 when a benchmark reported an error
or a target's benchmark is missing; 2 when the results cannot be read or hold
no pair to compare.
"""
import json
import re
import subprocess
import sys
import tempfile

# The targets, as ours in GROUP over REFERENCE: a peer or floor of the group,
# "fastest" (the fastest peer that is not a floor) or a benchmark of another
# group. Medians, ratios measured in one run.
BENCH_TARGETS = [
    ("Cls", "floor:memset", 1.1),
    ("PutPset_640x480", "floor:memcpy", 1.1),
    ("Bload", "floor:read+memset", 1.6),
    ("Frame", "floor:memcpy_picture+runs", 1.3),
    ("PutTrans_32x32", "fastest", 0.8),
    ("PutTrans_640x480", "fastest", 0.8),
    ("Cls", "fastest", 0.8),
    ("Bload", "fastest", 0.8),
    ("PutPset_32x32", "fastest", 0.8),
    ("DrawString_80", "fastest", 0.8),
    ("Bsave", "fastest", 0.8),
    ("Present_sprite_moved", "Present_full/SDL_UpdateTexture+RenderCopy+RenderPresent", 0.25),
]

# The X server's CPU share while playing with an arrow held, before the
# present path is reworked (bench/measure_game.sh, see bench/README.md); the
# target is half of it.
X_SERVER_PLAYING_PERCENT_BEFORE = 5.5

# The running game, from bench/measure_game.sh: (what, name, limit, unit).
GAME_TARGETS = [
    ("playing, arrow held: whole process", "playing_cpu_percent", 6.0, "% of a core"),
    ("playing, arrow held: X server (half of before)", "playing_x_server_cpu_percent",
     X_SERVER_PLAYING_PERCENT_BEFORE / 2, "% of a core"),
    ("menu idle: whole process", "menu_idle_cpu_percent", 1.5, "% of a core"),
    ("key to screen, median", "key_to_screen_median_ms", 9.0, "ms"),
    ("peak resident memory", "peak_rss_mb", 24.0, "MB"),
]


class Unreadable(Exception):
    pass


def load(argv):
    if argv[0].endswith(".json"):
        try:
            with open(argv[0]) as f:
                return json.load(f)
        except (OSError, ValueError) as e:
            raise Unreadable(f"{argv[0]}: {e}")
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        try:
            subprocess.run([argv[0], *argv[1:], "--benchmark_out=" + out.name, "--benchmark_out_format=json"],
                           check=True, stdout=sys.stderr)
            return json.load(open(out.name))
        except (OSError, ValueError, subprocess.CalledProcessError) as e:
            raise Unreadable(f"{argv[0]}: {e}")


# What Google Benchmark appends to a name for its options.
OPTION = re.compile(r"(iterations|repeats|threads|min_time|min_warmup_time):[^/]*|process_time|real_time|manual_time")


def base_name(b):
    """The benchmark's name without the options appended, and whether it timed itself."""
    name = b.get("run_name") or b.get("name")
    if not isinstance(name, str):
        raise Unreadable(f"a benchmark without a name: {b}")
    parts = name.split("/")
    manual = "manual_time" in parts
    while len(parts) > 2 and OPTION.fullmatch(parts[-1]):
        parts.pop()
    return "/".join(parts), manual


def medians(results, cpu):
    """({name: median ns}, {name: error message}) of a Google Benchmark JSON."""
    if not isinstance(results, dict) or not isinstance(results.get("benchmarks"), list):
        raise Unreadable("no \"benchmarks\" list: not a Google Benchmark JSON file")
    samples, aggregated, failed = {}, {}, {}
    for b in results["benchmarks"]:
        name, manual = base_name(b)
        if b.get("error_occurred"):
            failed[name] = b.get("error_message", "error")
            continue
        key = "real_time" if manual or not cpu else "cpu_time"
        try:
            value = b[key] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        except (KeyError, TypeError) as e:
            raise Unreadable(f"{name}: no usable {key} ({e})")
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                aggregated[name] = value
            else:
                aggregated.setdefault(name, None)  # known, but only as a mean or spread so far
        else:
            samples.setdefault(name, []).append(value)
    times = {}
    for name in set(samples) | set(aggregated):
        if aggregated.get(name) is not None:
            times[name] = aggregated[name]
        elif name in samples:
            values = sorted(samples[name])
            times[name] = values[len(values) // 2]
        else:
            raise Unreadable(f"{name}: aggregates without a median and no single runs; "
                             "save with repetitions and the median, or without aggregates only")
    if not times and not failed:
        raise Unreadable("the file holds no benchmark results")
    return {n: t for n, t in times.items() if n not in failed}, failed


def pretty(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def by_group(times):
    groups = {}
    for name, t in times.items():
        group, _, peer = name.partition("/")
        groups.setdefault(group, {})[peer] = t
    return groups


def fastest_peer(runs):
    peers = {p: t for p, t in runs.items() if p != "ours" and not p.startswith("floor:")}
    return min(peers, key=peers.get) if peers else None


def print_pairs(groups):
    print(f"{'group':<22} {'peer or floor':<58} {'ours':>10} {'peer':>10} {'ratio':>7}")
    pairs = 0
    for group in sorted(groups):
        runs = groups[group]
        if "ours" not in runs:
            continue
        for peer in sorted((p for p in runs if p != "ours"), key=lambda p: (p.startswith("floor:"), p)):
            pairs += 1
            print(f"{group:<22} {peer:<58} {pretty(runs['ours']):>10} {pretty(runs[peer]):>10} "
                  f"{runs['ours'] / runs[peer]:7.2f}")
    return pairs


def verdict(value, limit):
    if value <= limit:
        return "met"
    return f"MISSED by {100 * (value / limit - 1):.0f} %"


def print_bench_targets(times, groups):
    """Prints each benchmark target; answers how many could not be judged."""
    unjudged = 0
    print(f"{'target':<90} {'ratio':>7} {'limit':>6}  verdict")
    for group, reference, limit in BENCH_TARGETS:
        runs = groups.get(group, {})
        if reference == "fastest":
            peer = fastest_peer(runs)
            label = f"{group}/ours vs the fastest peer ({peer or 'none ran'})"
            reference = f"{group}/{peer}" if peer else f"{group}/(any peer)"
        else:
            if "/" not in reference:
                reference = f"{group}/{reference}"
            label = f"{group}/ours vs {reference}"
        reference_time = times.get(reference)
        if "ours" not in runs or reference_time is None:
            unjudged += 1
            missing = [n for n in (f"{group}/ours", reference) if n not in times]
            print(f"{label:<90} {'':>7} {limit:6.2f}  NOT JUDGED: no result for {', '.join(missing)}")
            continue
        ratio = runs["ours"] / reference_time
        print(f"{label:<90} {ratio:7.2f} {limit:6.2f}  {verdict(ratio, limit)}")
    return unjudged


def read_game(path):
    values = {}
    try:
        with open(path) as f:
            for line in f:
                m = re.fullmatch(r"([a-z_]+) (-?[0-9.]+)", line.strip())
                if m:
                    values[m.group(1)] = float(m.group(2))
    except OSError as e:
        raise Unreadable(f"{path}: {e}")
    if not values:
        raise Unreadable(f"{path}: no results of bench/measure_game.sh in it")
    return values


def print_game_targets(game):
    print(f"{'target (bench/measure_game.sh)':<50} {'result':>18} {'limit':>18}  verdict")
    for what, name, limit, unit in GAME_TARGETS:
        limit_text = f"{limit:.2f} {unit}"
        if game is None or name not in game:
            print(f"{what:<50} {'':>18} {limit_text:>18}  not measured")
            continue
        print(f"{what:<50} {f'{game[name]:.2f} {unit}':>18} {limit_text:>18}  {verdict(game[name], limit)}")
    if game is None:
        print("(bench/measure_game.sh > game.txt, then compare.py --game game.txt ... judges these)")


def main(argv):
    cpu, game_file = False, None
    while argv and argv[0] in ("--cpu", "--game"):
        if argv[0] == "--cpu":
            cpu, argv = True, argv[1:]
        elif len(argv) > 1:
            game_file, argv = argv[1], argv[2:]
        else:
            argv = []
    if not argv:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        times, failed = medians(load(argv), cpu)
        game = read_game(game_file) if game_file else None
    except Unreadable as e:
        print(f"compare.py: cannot read the results: {e}", file=sys.stderr)
        return 2
    groups = by_group(times)

    print(f"ours/peer by {'CPU' if cpu else 'wall'} time (medians); Present: CPU of the whole process per frame")
    if print_pairs(groups) == 0:
        print("compare.py: no pair to compare: no group has both GROUP/ours and a peer or floor "
              "that ran without an error", file=sys.stderr)
        for name in sorted(failed):
            print(f"{name}: ERROR: {failed[name]}", file=sys.stderr)
        return 2
    print()
    print("Targets (each ours over its reference, medians of one run)")
    unjudged = print_bench_targets(times, groups)
    print()
    print_game_targets(game)
    if failed:
        print()
        for name in sorted(failed):
            print(f"{name}: ERROR: {failed[name]}")
    if failed or unjudged:
        print(f"\ncompare.py: {len(failed)} benchmark(s) reported an error, {unjudged} target(s) not judged",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
