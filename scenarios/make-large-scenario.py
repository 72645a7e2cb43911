#!/usr/bin/env python3
"""make-large-scenario.py - a scenario like default.json whose matchmaker offers N queues.

Usage: scenarios/make-large-scenario.py [--queues N] [--base FILE] [-o FILE]

The queues repeat the base scenario's (default.json) under fresh ids: round r of the repetition adds
r * 10000 to each id (and to the id in its cache names), and each copy gets the translation,
twenty-champion rule and premade sizes of the queue it repeats, so that every size holds the same mix
of queues. Every queue is enabled in the platform configuration, so all N are published available. The
other resources are the base scenario's. The timeline completes the configuration, then disables the
last queue and enables it again; each step rebuilds the whole list. The output depends only on N and
the base scenario.

    scenarios/make-large-scenario.py --queues 1000 -o scenarios/queues-1000.json
    hux-host run --scenario scenarios/queues-1000.json
"""

import argparse
import copy
import json
import os
import sys

ID_STRIDE = 10000
# MAX_QUEUES keeps the written file under the 64 MiB that hux-host reads of a scenario.
MAX_QUEUES = 40000
NAMESPACES = "/hux-platform-config/v1/namespaces/"
ENABLED = NAMESPACES + "ClientSystemStates/enabledQueueIdsList"
TWENTY = NAMESPACES + "QueueRestriction/QueuesRequiringTwentyChampions"
RESTRICTION = NAMESPACES + "QueueRestriction"
COMPLETE = "/hux-platform-config/v1/initial-configuration-complete"
PREMADE_PREFIX = "AllowablePremadeSizesForQueueId"


def repeated(ids, rounds):
    """The ids of every round, round r's shifted by r * ID_STRIDE."""
    return [qid + r * ID_STRIDE for r in range(rounds) for qid in ids]


def shifted_queue(queue, shift):
    """A copy of a matchmaker queue with its id, and the ids in its cache names, shifted."""
    copied = copy.deepcopy(queue)
    old_id = queue["id"]
    copied["id"] = old_id + shift
    suffix = "-%d" % old_id
    for holder in (copied, copied.get("matchingThrottleConfig")):
        name = holder.get("cacheName") if isinstance(holder, dict) else None
        if isinstance(name, str) and name.endswith(suffix):
            holder["cacheName"] = name[: -len(suffix)] + "-%d" % (old_id + shift)
    return copied


def make_scenario(base, count):
    base_queues = base["matchmaker"]["queues"]
    if not base_queues:
        raise ValueError("the base scenario's matchmaker offers no queues")
    rounds = (count + len(base_queues) - 1) // len(base_queues)
    if max(q["id"] for q in base_queues) >= ID_STRIDE:
        raise ValueError("the base scenario's queue ids must stay below %d" % ID_STRIDE)

    queues = [
        shifted_queue(base_queues[i % len(base_queues)], (i // len(base_queues)) * ID_STRIDE)
        for i in range(count)
    ]
    ids = [q["id"] for q in queues]
    id_set = set(ids)
    assert len(id_set) == count

    resources = copy.deepcopy(base["resources"])
    resources[ENABLED] = ids
    if TWENTY in resources:
        resources[TWENTY] = [qid for qid in repeated(resources[TWENTY], rounds) if qid in id_set]
    if RESTRICTION in resources:
        restriction = {}
        for name, value in resources[RESTRICTION].items():
            if name == "QueuesRequiringTwentyChampions":
                restriction[name] = [qid for qid in repeated(value, rounds) if qid in id_set]
            elif name.startswith(PREMADE_PREFIX):
                for qid in repeated([int(name[len(PREMADE_PREFIX):])], rounds):
                    if qid in id_set:
                        restriction[PREMADE_PREFIX + str(qid)] = value
            else:
                restriction[name] = value
        resources[RESTRICTION] = restriction

    translations = {}
    for r in range(rounds):
        for name, value in base.get("translations", {}).items():
            qid = int(name) + r * ID_STRIDE
            if qid in id_set:
                translations[str(qid)] = value

    last = ids[-1]
    return {
        "description": "A live platform offering %d queues: default.json's queues repeated under fresh ids, "
        "all of them enabled. The platform completes its first delivery after the start; later it disables "
        "queue %d and enables it again." % (count, last),
        "resources": resources,
        "matchmaker": {"answer": base["matchmaker"].get("answer", "compressed"), "queues": queues},
        "translations": translations,
        "timeline": [
            {"update": COMPLETE, "value": True},
            {"update": ENABLED, "value": ids[:-1]},
            {"update": ENABLED, "value": list(reversed(ids))},
        ],
    }


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Write a scenario like default.json with N queues.")
    parser.add_argument("--queues", type=int, default=1000, help="number of queues (default: 1000)")
    parser.add_argument("--base", default=os.path.join(here, "default.json"),
                        help="the scenario whose queues and resources are repeated (default: default.json)")
    parser.add_argument("--output", "-o", help="file to write (default: standard output)")
    args = parser.parse_args()
    if not 2 <= args.queues <= MAX_QUEUES:
        parser.error("--queues must be between 2 and %d" % MAX_QUEUES)

    with open(args.base, encoding="utf-8") as file:
        base = json.load(file)
    try:
        scenario = make_scenario(base, args.queues)
    except (ValueError, KeyError, TypeError) as error:
        sys.exit("make-large-scenario.py: %s: %s" % (args.base, error))

    text = json.dumps(scenario, indent=2, ensure_ascii=False) + "\n"
    if args.output:
        with open(args.output, "w", encoding="utf-8", newline="\n") as file:
            file.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main()
