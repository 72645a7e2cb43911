#!/usr/bin/env python3
"""bench_table.py - the comparison table of a benchmark run: the plugin's code against its peers.

Usage: bench/bench_table.py RESULTS.json [--context TEXT]...

RESULTS.json is Google Benchmark's JSON output (--benchmark_out_format=json). With repetitions, the
median of each benchmark's CPU time is used (run with --benchmark_report_aggregates_only=true or
without); a run of one repetition uses its only result. Rows whose benchmarks are not in the file
(a filtered run) are left out. Each --context line is printed above the table."""

import argparse
import json
import sys

# The cases: (case, benchmark family, our side, peer side, inputs, goal as the highest ratio ours/peer
# that meets it, or None for a peer shown for reference only).
ALL_INPUTS = ("queues:41", "queues:1000", "mixed:1MB")
QUEUE_INPUTS = ("queues:41", "queues:1000")
CASES = (
    ("JSON text to a tree", "JsonRead", "Brix", "RapidJsonDom", ALL_INPUTS, 1.5),
    ("JSON text to a tree", "JsonRead", "Brix", "RapidJsonDomChecked", ALL_INPUTS, None),
    ("JSON text to a tree", "JsonRead", "Brix", "Nlohmann", ALL_INPUTS, None),
    ("JSON text to a tree", "JsonRead", "Brix", "SimdjsonDom", ALL_INPUTS, None),
    ("tree to compact JSON", "JsonWrite", "Brix", "RapidJsonWriter", ALL_INPUTS, 1.3),
    ("MessagePack to a tree", "MsgPackRead", "Brix", "MsgpackUnpack", ALL_INPUTS, 1.2),
    ("YAML to a tree", "YamlRead", "Brix", "LibyamlEvents", ALL_INPUTS, 1.25),
    ("YAML to a tree", "YamlRead", "Brix", "YamlCpp", ALL_INPUTS, None),
    ("compressed answer to a tree", "CompressedAnswerRead", "Brix", "ZlibBase64RapidJson", QUEUE_INPUTS, 1.3),
    ("tree to records", "TreeToRecords", "Brix", "NlohmannFromJson", QUEUE_INPUTS, 0.8),
    ("records to tree", "RecordsToTree", "Brix", "NlohmannToJson", QUEUE_INPUTS, 0.8),
)
PEER_NAMES = {
    "RapidJsonDom": "RapidJSON Document::Parse",
    "RapidJsonDomChecked": "RapidJSON, encoding checked, exact numbers",
    "Nlohmann": "nlohmann::json::parse",
    "SimdjsonDom": "simdjson DOM (reference)",
    "RapidJsonWriter": "RapidJSON Writer",
    "MsgpackUnpack": "msgpack::unpack",
    "LibyamlEvents": "bare libyaml event loop",
    "YamlCpp": "YAML::Load",
    "ZlibBase64RapidJson": "zlib + Base64 + RapidJSON",
    "NlohmannFromJson": "nlohmann from_json",
    "NlohmannToJson": "nlohmann to_json",
}
# The queue list build is compared with itself: the cost at 10,000 queues against 1,000 may grow at
# most 11-fold (flat per queue, with room for the larger list's cache misses).
BUILD_SIZES = (100, 1000, 10000)
BUILD_GOAL = 11.0

UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def load(path):
    """The results by run name: CPU seconds and counters of the median (or only) run."""
    with open(path, encoding="utf-8") as results_file:
        results = json.load(results_file)
    medians, singles = {}, {}
    for bench in results.get("benchmarks", []):
        if bench.get("error_occurred"):
            continue
        name = bench.get("run_name", bench["name"])
        entry = dict(bench)
        entry["cpu_seconds"] = bench["cpu_time"] * UNIT_SECONDS[bench["time_unit"]]
        if bench.get("run_type") == "aggregate":
            if bench.get("aggregate_name") == "median":
                medians[name] = entry
        else:
            singles.setdefault(name, entry)
    return {**singles, **medians}, results.get("context", {})


def show_time(seconds):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= scale:
            return f"{seconds / scale:.3g} {unit}"
    return f"{seconds / 1e-9:.3g} ns"


def show_count(entry):
    """Allocations per operation: every C heap block when counted, else the operator new count (*)."""
    if "blocks/op" in entry:
        return f"{entry['blocks/op']:,.0f}"
    if "allocs/op" in entry:
        return f"{entry['allocs/op']:,.0f}*"
    return "?"


def rows(results):
    table = []
    for case, family, ours, peer, inputs, goal in CASES:
        for input_name in inputs:
            ours_entry = results.get(f"{family}/{ours}/{input_name}")
            peer_entry = results.get(f"{family}/{peer}/{input_name}")
            if ours_entry is None or peer_entry is None:
                continue
            ratio = ours_entry["cpu_seconds"] / peer_entry["cpu_seconds"]
            table.append((case, input_name, show_time(ours_entry["cpu_seconds"]), PEER_NAMES[peer],
                          show_time(peer_entry["cpu_seconds"]), f"{ratio:.2f}x",
                          f"{show_count(ours_entry)} / {show_count(peer_entry)}",
                          f"<= {goal:g}x" if goal is not None else "-",
                          ("met" if ratio <= goal else "NOT met") if goal is not None else "-"))
    large = results.get(f"BuildQueueList/queues:{BUILD_SIZES[-1]}")
    middle = results.get(f"BuildQueueList/queues:{BUILD_SIZES[-2]}")
    if large is not None and middle is not None:
        ratio = large["cpu_seconds"] / middle["cpu_seconds"]
        table.append(("queue list build", "10,000 vs 1,000 queues", show_time(large["cpu_seconds"]),
                      "same build at 1,000", show_time(middle["cpu_seconds"]), f"{ratio:.2f}x",
                      f"{show_count(large)} / {show_count(middle)}", f"<= {BUILD_GOAL:g}x",
                      "met" if ratio <= BUILD_GOAL else "NOT met"))
    return table


def build_line(results):
    per_queue = []
    for size in BUILD_SIZES:
        entry = results.get(f"BuildQueueList/queues:{size}")
        if entry is not None:
            per_queue.append(f"{entry['cpu_seconds'] / size * 1e6:.2f} us per queue at {size:,}")
    return "queue list build: " + ", ".join(per_queue) if per_queue else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("results")
    parser.add_argument("--context", action="append", default=[])
    arguments = parser.parse_args()
    results, context = load(arguments.results)

    header = ("case", "input", "ours (CPU)", "peer", "peer (CPU)", "ours/peer", "allocs/op ours / peer",
              "goal", "status")
    table = rows(results)
    if not table:
        print("no case of the comparison table is in " + arguments.results, file=sys.stderr)
        return 1
    widths = [max(len(row[i]) for row in (header, *table)) for i in range(len(header))]

    for line in arguments.context:
        print(line)
    if context:
        print(f"run {context.get('date', '?')} on {context.get('num_cpus', '?')} CPUs at "
              f"{context.get('mhz_per_cpu', '?')} MHz, load {', '.join(f'{x:.2f}' for x in context.get('load_avg', []))}")
    print()
    for row in (header, tuple("-" * width for width in widths), *table):
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())
    print()
    line = build_line(results)
    if line:
        print(line)
    if any("blocks/op" in entry for entry in results.values()):
        print("allocs/op: every block taken from the C heap per operation (malloc, calloc, realloc, aligned),\n"
              "  whoever takes it: C++ operator new, RapidJSON's allocators, libyaml, zlib, the MessagePack zone.\n"
              "  The value model's pool pages are not heap blocks (JsonRead/Brix reports them as poolB).")
    else:
        print("allocs/op marked *: the plugin's counters only (operator new and RapidJSON's counted allocator);\n"
              "  blocks that C libraries take from malloc (libyaml, zlib, the MessagePack zone) are missing.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
