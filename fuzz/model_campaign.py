#!/usr/bin/python3
"""Mutation campaign against the tool's model import.

Makes mutated model files of every kind the tool reads (byte flips, byte changes, inserts, deletions, chunk
splices, truncations and, in text, changed numbers) from the seed models kept in the repository, renders
each with `chromasift render FILE --size 16x16 -o OUT.png` on a few parallel workers, and counts per kind:

  rendered  exit status 0 and a picture written
  refused   exit status 1 with one line on standard error (the reader's crashes, time-outs and memory
            overruns are counted apart: each of those would have ended the tool itself when the model
            library ran inside it)
  crashed   the tool ended by a signal, or with another status, or with more than one line (a failure)
  hung      the tool still running at the import time limit plus slack (a failure)

Failing inputs, and a few inputs of each reader fault, are kept with a note of what happened. File number
N of a campaign is made from (seed, N) alone, so `--only N` makes and runs that one file again. The exit
status is 1 when any file failed. Ctrl-C stops the campaign, prints the counts of the files done so far,
and ends with status 130 when none of them failed.

Example:
  fuzz/model_campaign.py --tool build/linux/bin/chromasift --count 3000 --seed 1 --workers 2
"""

import argparse
import collections
import concurrent.futures
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SEED_FOLDERS = [os.path.join(ROOT, "tests", "data", "meshes"), os.path.join(ROOT, "fuzz", "model_seeds")]
KINDS = ["obj", "ply", "stl", "3ds", "gltf", "glb", "fbx", "dae"]
# Files that a seed names beside itself (an OBJ's material library), copied next to every mutant.
COMPANIONS = [".mtl"]
# Seeds larger than this make each render slow and add little: the mutations are local.
MAX_SEED_BYTES = 64 * 1024

NUMBER = re.compile(rb"-?\d+(?:\.\d+)?(?:[eE][-+]?\d+)?")
INTERESTING_NUMBERS = [b"0", b"-1", b"1", b"2", b"3", b"255", b"256", b"65535", b"65536", b"2147483647",
                       b"2147483648", b"-2147483648", b"4294967295", b"4294967296", b"1e38", b"1e39", b"-1e39",
                       b"nan", b"inf", b"1" * 40, b"0.000001", b"100000000"]
INTERESTING_BYTES = [0x00, 0x01, 0x7f, 0x80, 0xff, 0x20, 0x0a]


def load_seeds(max_bytes):
    """Seed files by kind: {kind: [(name, bytes)]}, and the companion files to copy beside mutants."""
    seeds = collections.defaultdict(list)
    companions = []
    for folder in SEED_FOLDERS:
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            extension = os.path.splitext(name)[1].lower()
            if extension in COMPANIONS:
                companions.append(path)
            elif extension[1:] in KINDS and os.path.getsize(path) <= max_bytes:
                with open(path, "rb") as f:
                    seeds[extension[1:]].append((name, f.read()))
    return seeds, companions


def is_text(data):
    sample = data[:4096]
    return sum(32 <= b < 127 or b in (9, 10, 13) for b in sample) > 0.95 * max(1, len(sample))


def mutate_once(rng, data, donors, text):
    """One mutation of `data`; returns the new bytes and its name."""
    size = len(data)
    choices = ["flip", "set", "insert", "delete", "splice", "truncate"]
    if text and NUMBER.search(data):
        choices += ["number", "number", "number"]  # text files mostly break at their numbers
    how = rng.choice(choices)
    if size == 0:
        how = "insert"
    if how == "flip":
        out = bytearray(data)
        for _ in range(rng.randint(1, 8)):
            out[rng.randrange(size)] ^= 1 << rng.randrange(8)
        return bytes(out), how
    if how == "set":
        out = bytearray(data)
        for _ in range(rng.randint(1, 8)):
            out[rng.randrange(size)] = rng.choice(INTERESTING_BYTES + [rng.randrange(256)])
        return bytes(out), how
    if how == "insert":
        at = rng.randint(0, size)
        if size and rng.random() < 0.5:
            start = rng.randrange(size)
            chunk = data[start:start + rng.randint(1, 256)]
        else:
            chunk = bytes(rng.randrange(256) for _ in range(rng.randint(1, 64)))
        return data[:at] + chunk + data[at:], how
    if how == "delete":
        start = rng.randrange(size)
        return data[:start] + data[start + rng.randint(1, 256):], how
    if how == "splice":
        donor = rng.choice(donors)
        start = rng.randrange(max(1, len(donor)))
        chunk = donor[start:start + rng.randint(1, 512)]
        at = rng.randint(0, size)
        if rng.random() < 0.5:
            return data[:at] + chunk + data[at + len(chunk):], how  # overwrite
        return data[:at] + chunk + data[at:], how
    if how == "truncate":
        return data[:rng.randrange(size)], how
    numbers = list(NUMBER.finditer(data))
    match = rng.choice(numbers)
    if rng.random() < 0.7:
        value = rng.choice(INTERESTING_NUMBERS)
    else:
        value = str(int(float(match.group())) + rng.randint(-3, 3)).encode() if b"n" not in match.group() else b"7"
    return data[:match.start()] + value + data[match.end():], how


def make_mutant(seeds, campaign_seed, number):
    """File number `number` of the campaign: (kind, seed name, mutations, bytes)."""
    rng = random.Random(campaign_seed * 1000003 + number)
    kind = KINDS[number % len(KINDS)]
    name, data = rng.choice(seeds[kind])
    donors = [d for _, d in seeds[kind]]
    text = is_text(data)
    done = []
    for _ in range(rng.choice([1, 1, 1, 2, 2, 3])):
        data, how = mutate_once(rng, data, donors, text)
        done.append(how)
    return kind, name, done, data


def classify(status, stderr, picture_written, timed_out):
    """The outcome and, for refusals, the kind of reader fault the one line names (or None)."""
    if timed_out:
        return "hung", None
    lines = stderr.decode("utf-8", "replace").splitlines()
    if status == 0 and picture_written:
        return "rendered", None
    if status == 1 and len(lines) == 1:
        line = lines[0]
        if "the model reader crashed" in line:
            return "refused", "reader crashed"
        if "the model reader took longer" in line:
            return "refused", "reader stopped at the time limit"
        if "the model reader ran out of memory" in line:
            return "refused", "reader stopped at the memory limit"
        return "refused", None
    return "crashed", None


def run_one(args, seeds, work, number):
    kind, seed_name, mutations, data = make_mutant(seeds, args.seed, number)
    path = os.path.join(work, "%07d.%s" % (number, kind))
    picture = os.path.join(work, "%07d.png" % number)
    with open(path, "wb") as f:
        f.write(data)
    command = [args.tool, "--quiet", "render", path, "--size", "16x16", "-o", picture]
    if args.import_time_limit > 0:
        command += ["--import-time-limit", str(args.import_time_limit)]
    timed_out = False
    # A session of its own, so that a hung tool is killed with every process it started.
    try:
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE, start_new_session=True)
    except OSError as error:  # the tool was rebuilt or removed under the campaign
        return {"number": number, "kind": kind, "outcome": "not run", "error": str(error), "path": path}
    try:
        _, stderr = process.communicate(timeout=args.import_time_limit + args.slack
                                        if args.import_time_limit > 0 else 60 + args.slack)
    except subprocess.TimeoutExpired:
        timed_out = True
        os.killpg(process.pid, signal.SIGKILL)
        _, stderr = process.communicate()
    picture_written = os.path.exists(picture)
    outcome, fault = classify(process.returncode, stderr, picture_written, timed_out)
    record = {"number": number, "campaign": args.seed, "kind": kind, "seed": seed_name, "mutations": mutations, "status": process.returncode,
              "stderr": stderr.decode("utf-8", "replace"), "outcome": outcome, "fault": fault, "path": path,
              "command": command}
    return record


def keep(record, folder):
    os.makedirs(folder, exist_ok=True)
    name = os.path.basename(record["path"])
    shutil.copy(record["path"], os.path.join(folder, name))
    with open(os.path.join(folder, name + ".txt"), "w") as f:
        f.write("outcome: %s%s\nexit status: %s\nseed file: %s\nmutations: %s\nremake: fuzz/model_campaign.py --seed %d --only %d\ncommand: %s\nstandard error:\n%s" % (
            record["outcome"], " (" + record["fault"] + ")" if record["fault"] else "", record["status"],
            record["seed"], ", ".join(record["mutations"]), record["campaign"], record["number"],
            " ".join(record["command"]), record["stderr"]))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tool", default=os.path.join(ROOT, "build", "linux", "bin", "chromasift"))
    parser.add_argument("--count", type=int, default=1000, help="files to make and render (default 1000)")
    parser.add_argument("--seed", type=int, default=1, help="the campaign's random seed (default 1)")
    parser.add_argument("--workers", type=int, default=os.cpu_count() or 2,
                        help="renders at once (default: one per core)")
    parser.add_argument("--import-time-limit", type=float, default=5.0,
                        help="the tool's --import-time-limit in seconds (default 5; 0 leaves the option out)")
    parser.add_argument("--slack", type=float, default=20.0,
                        help="seconds past the import limit before a run counts as hung (default 20)")
    parser.add_argument("--keep", default=os.path.join(ROOT, "build", "model-campaign"),
                        help="folder for failing inputs (failures/) and reader faults (reader-faults/)")
    parser.add_argument("--keep-faults", type=int, default=10, help="inputs kept of each reader fault (default 10)")
    parser.add_argument("--only", type=int, help="make and run file number N only")
    parser.add_argument("--max-seed-bytes", type=int, default=MAX_SEED_BYTES)
    args = parser.parse_args()

    if not os.access(args.tool, os.X_OK):
        sys.exit("model_campaign: %s is not a program; build it first (cmake --build build/linux)" % args.tool)
    seeds, companions = load_seeds(args.max_seed_bytes)
    missing = [kind for kind in KINDS if not seeds[kind]]
    if missing:
        sys.exit("model_campaign: no seed files of kind %s" % ", ".join(missing))
    work = tempfile.mkdtemp(prefix="model-campaign-")
    for companion in companions:
        shutil.copy(companion, work)
    numbers = [args.only] if args.only is not None else range(args.count)

    counts = collections.defaultdict(collections.Counter)
    faults = collections.Counter()
    failures = []
    lock = threading.Lock()
    start = time.monotonic()
    cpu_before = resource.getrusage(resource.RUSAGE_CHILDREN)
    done = 0
    print("model_campaign: %d files, seed %d, %d workers, import time limit %g s, tool %s" % (
        len(numbers), args.seed, args.workers, args.import_time_limit, args.tool), flush=True)
    interrupted = False
    try:
        with concurrent.futures.ThreadPoolExecutor(max_workers=args.workers) as pool:
            try:
                for record in pool.map(lambda n: run_one(args, seeds, work, n), numbers):
                    if record["outcome"] == "not run":
                        pool.shutdown(wait=True, cancel_futures=True)
                        sys.exit("model_campaign: cannot run the tool: %s" % record["error"])
                    with lock:
                        done += 1
                        counts[record["kind"]][record["outcome"]] += 1
                        if record["outcome"] in ("crashed", "hung"):
                            failures.append(record)
                            keep(record, os.path.join(args.keep, "failures"))
                        elif record["fault"]:
                            faults[record["fault"]] += 1
                            if faults[record["fault"]] <= args.keep_faults:
                                keep(record, os.path.join(args.keep, "reader-faults"))
                        os.remove(record["path"])
                        picture = record["path"].rsplit(".", 1)[0] + ".png"
                        if os.path.exists(picture):
                            os.remove(picture)
                        if done % 500 == 0:
                            elapsed = time.monotonic() - start
                            print("  %d files, %.1f files/s" % (done, done / elapsed), flush=True)
            except KeyboardInterrupt:
                # Ctrl-C: the files under way are dropped, the rest are never made, and the counts so far
                # are printed as for a whole campaign.
                interrupted = True
                pool.shutdown(wait=True, cancel_futures=True)
    finally:
        shutil.rmtree(work, ignore_errors=True)

    elapsed = time.monotonic() - start
    cpu_after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (cpu_after.ru_utime - cpu_before.ru_utime) + (cpu_after.ru_stime - cpu_before.ru_stime)
    outcomes = ["rendered", "refused", "crashed", "hung"]
    print("\n%-6s %9s %9s %9s %9s" % ("kind", *outcomes))
    total = collections.Counter()
    for kind in KINDS:
        if counts[kind]:
            print("%-6s %9d %9d %9d %9d" % (kind, *(counts[kind][o] for o in outcomes)))
            total.update(counts[kind])
    print("%-6s %9d %9d %9d %9d" % ("all", *(total[o] for o in outcomes)))
    print("\nrefusals that were reader faults (each would have ended the tool with the library inside it):")
    for fault in ["reader crashed", "reader stopped at the time limit", "reader stopped at the memory limit"]:
        print("  %-36s %d" % (fault, faults[fault]))
    if interrupted:
        print("\ninterrupted after %d of %d files" % (done, len(numbers)))
    print("\n%d files in %.1f s: %.1f files/s, %.1f ms of processor time a file (tool and reader)" % (
        done, elapsed, done / elapsed, 1000 * cpu / max(1, done)))
    if failures or faults:
        print("inputs kept in %s" % args.keep)
    for record in failures[:20]:
        print("FAILED %s: %s (exit %s) %s" % (os.path.basename(record["path"]), record["outcome"], record["status"],
                                              record["stderr"].strip()[:200]))
    return 1 if failures else 130 if interrupted else 0


if __name__ == "__main__":
    sys.exit(main())
