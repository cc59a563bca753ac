#!/usr/bin/env python3
"""Sequences rendered on the local Slurm cluster (scripts/local-slurm.sh) through `chromasift submit`.

Groups:
  same_frames       a keyed sequence submitted in chunks is byte for byte the sequence rendered here
  resume            a cancelled chunk fails --wait, named with its log; submitting again renders only the
                    frames that are missing
  unreadable_scene  a task that cannot read the scene fails with the tool's own message, in its log and in
                    the summary
  odd_names         a folder named with a space, '%' and quotes is carried into the job script as it is, a
                    line break refused; the script run by hand from another folder renders its chunk
  controller_down   a cluster whose controller does not answer gets one line

Usage: farm_tests.py GROUP --tool CHROMASIFT --conf SLURM_CONF --data TESTS_DATA --work DIR
"""
import argparse
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import time
from pathlib import Path

FRAMES = 12


class Farm:
    def __init__(self, args):
        self.tool = args.tool
        self.data = Path(args.data)
        self.work = Path(args.work)
        self.env = dict(os.environ, SLURM_CONF=args.conf)
        self.node = socket.gethostname().split(".")[0]
        shutil.rmtree(self.work, ignore_errors=True)
        self.work.mkdir(parents=True)

    def run(self, *args, check=None):
        result = subprocess.run([self.tool, *args], env=self.env, capture_output=True, text=True, timeout=240)
        if check is not None and result.returncode != check:
            fail(f"chromasift {' '.join(args)} exited with {result.returncode}, not {check}:\n"
                 f"{result.stdout}{result.stderr}")
        return result

    def slurm(self, *args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=60, check=True).stdout

    def folder(self, name):
        path = self.work / name
        path.mkdir()
        return path


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def job_id(output):
    found = re.search(r"^Submitted job (\d+):", output, re.MULTILINE)
    if not found:
        fail(f"submit printed no job ID:\n{output}")
    return found.group(1)


def frame_files(folder):
    return sorted(p.name for p in folder.glob("f_*.png"))


def keyed_scene(farm):
    """Three models under three maps in the modes keyed on the scene, "Per Face", "Object (random)" and
    "2D Mapping", each with "Gamma" and "# colors" keyed over the twelve frames and the slider at frame 5."""
    objects, nodes = [], []
    modes = [(12, 1, 15, 5, "cube_usemtl.obj"), (10, 1, 15, 1, "box.obj"), (3, 2, 17, 1, "cube_uv.ply")]
    for i, (combined, category, sub_param, sub_mode, mesh) in enumerate(modes):
        base = 10 * i + 1
        objects.append({
            "id": base, "superClass": "0xc10", "class": ["0x61c17ce2", "0x2fa47e5b"],
            "paramBlocks": [{"ref": 0, "block": 0, "params": [
                {"id": 19, "type": "int", "value": 2},
                {"id": 2, "type": "int", "value": combined},
                {"id": 14, "type": "int", "value": category},
                {"id": sub_param, "type": "int", "value": sub_mode},
                {"id": 1, "type": "int", "keys": [[0, 12], [160 * (FRAMES - 1), 3]]},
                {"id": 7, "type": "float", "keys": [[0, 1.0], [160 * (FRAMES - 1), 3.0]]},
            ]}]})
        objects.append({"id": base + 1, "superClass": "0xc00", "class": ["0x2", "0x0"],
                        "references": [{"ref": 1, "object": base}]})  # the diffuse slot
        objects.append({"id": base + 2, "superClass": "0x10", "class": ["0x9", "0x0"],
                        "settings": {"meshFile": str(farm.data / "meshes" / mesh)}})
        objects.append({"id": base + 3, "superClass": "0x1", "class": ["0x0", "0x0"],
                        "settings": {"gbufferId": i + 1, "position": [1.6 * i, 0.0, 0.0]},
                        "references": [{"ref": 0, "object": base + 2}, {"ref": 1, "object": base + 1}]})
        nodes.append(base + 3)
    scene = farm.work / "keyed.json"
    scene.write_text(json.dumps({"format": "chromasift-scene", "version": 1, "objects": objects, "maps": [],
                                 "nodes": nodes, "sliderTime": 800}))
    return scene


def same_frames(farm):
    scene = keyed_scene(farm)
    for renderer in ("scanline", "mentalray"):
        options = [str(scene), "--renderer", renderer, "--size", "48x36", "--frames", f"0-{FRAMES - 1}"]
        here, there = farm.folder(f"here_{renderer}"), farm.folder(f"farm_{renderer}")
        farm.run("render", *options, "-o", str(here / "f_####.png"), check=0)
        submitted = farm.run("submit", *options, "--chunk", "5", "--wait", "-o", str(there / "f_####.png"),
                             check=0)
        if "carry a counter" in submitted.stderr:
            fail(f"the keyed modes do not depend on the chunks, yet submit warned:\n{submitted.stderr}")
        if ("reads at the time slider" in submitted.stderr) != (renderer == "scanline"):
            fail(f"keys read at the slider: a warning under scanline alone, not:\n{submitted.stderr}")
        if f"in 3 of 3 chunks" not in submitted.stdout:
            fail(f"twelve frames in chunks of 5 are three tasks:\n{submitted.stdout}")
        names = frame_files(here)
        if len(names) != FRAMES or frame_files(there) != names:
            fail(f"{renderer}: frames here {names}, on the farm {frame_files(there)}")
        differing = [n for n in names if (here / n).read_bytes() != (there / n).read_bytes()]
        if differing:
            fail(f"{renderer}: the farm's frames differ from those rendered here: {differing}")
        distinct = {(here / n).read_bytes() for n in names}
        print(f"{renderer}: {FRAMES} frames identical, {len(distinct)} different pictures among them")
        if renderer == "mentalray" and len(distinct) < 3:
            fail("under mental ray the keyed \"# colors\" should change the frames, or the test proves little")


def resume(farm):
    # The node takes no job while the chunk is cancelled, so that it is cancelled before it starts whatever
    # the machine's speed; the other chunks then run.
    out = farm.folder("resumed")
    options = ["--mode", "Per Face", "--size", "32x24", "--frames", f"0-{FRAMES - 1}", "--chunk", "5",
               "--wait", "-o", str(out / "f_##.png")]
    farm.slurm("scontrol", "update", f"NodeName={farm.node}", "State=DRAIN", "Reason=farm test")
    try:
        waiting = subprocess.Popen([farm.tool, "submit", *options], env=farm.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, text=True)
        job = job_id(waiting.stdout.readline())
        farm.slurm("scancel", f"{job}_1")
    finally:
        farm.slurm("scontrol", "update", f"NodeName={farm.node}", "State=RESUME")
    rest, said = waiting.communicate(timeout=240)
    if waiting.returncode != 1:
        fail(f"--wait exited with {waiting.returncode} though a chunk was cancelled:\n{rest}{said}")
    log = out / f"f.{job}_1.log"
    if f"task 1 (frames 5-9) failed, 5-9 missing" not in said or f"log: {log}" not in said:
        fail(f"the summary does not name the cancelled chunk and its log:\n{said}")
    before = {p.name: (p.stat().st_ino, p.stat().st_mtime_ns) for p in out.glob("f_*.png")}
    if sorted(before) != [f"f_{n:02d}.png" for n in (0, 1, 2, 3, 4, 10, 11)]:
        fail(f"frames after the cancelled job: {sorted(before)}")

    again = farm.run("submit", *options, check=0)
    if "in 1 of 3 chunks" not in again.stdout:
        fail(f"the second submission should send the cancelled chunk alone:\n{again.stdout}")
    after = {p.name: (p.stat().st_ino, p.stat().st_mtime_ns) for p in out.glob("f_*.png")}
    if len(after) != FRAMES:
        fail(f"frames after the second job: {sorted(after)}")
    rendered_again = [name for name, stamp in before.items() if after[name] != stamp]
    if rendered_again:
        fail(f"frames rendered twice: {rendered_again}")


def unreadable_scene(farm):
    out = farm.folder("unreadable")
    scene = out / "scene.json"
    # The submitter reads the scene file; the model it names is read by the tasks.
    scene.write_text(json.dumps({
        "format": "chromasift-scene", "version": 1, "maps": [], "nodes": [2],
        "objects": [{"id": 1, "superClass": "0x10", "class": ["0x9", "0x0"],
                     "settings": {"meshFile": "no-such-model.obj"}},
                    {"id": 2, "superClass": "0x1", "class": ["0x0", "0x0"],
                     "references": [{"ref": 0, "object": 1}]}]}))
    result = farm.run("submit", str(scene), "--frames", "0-3", "--chunk", "2", "--size", "16x12", "--wait",
                      "-o", str(out / "f_##.png"), check=1)
    job = job_id(result.stdout)
    message = "no-such-model.obj: cannot open the model file: file not found"
    for task, frames in ((0, "0-1"), (1, "2-3")):
        log = out / f"f.{job}_{task}.log"
        if message not in log.read_text():
            fail(f"{log} does not hold the tool's message:\n{log.read_text()}")
        if f"task {task} (frames {frames}) failed, {frames} missing: chromasift: {scene}:" not in result.stderr:
            fail(f"the summary does not name task {task} with the tool's message:\n{result.stderr}")
    if "4 of 4 frames missing" not in result.stderr:
        fail(f"the summary does not count the missing frames:\n{result.stderr}")


def odd_names(farm):
    """A folder named with a space, a '%' and quotes goes into the job script as it is (Slurm writes each
    task's log into it), a name with a line break is refused, and the script run by hand from another
    folder renders its chunk."""
    out = farm.folder("odd 100% \"q\" 'x'")
    options = ["--mode", "Per Face", "--size", "16x12", "--frames", "0-3", "--chunk", "2"]
    job = job_id(farm.run("submit", *options, "--wait", "-o", str(out / "f_#.png"), check=0).stdout)
    every = [f"f_{n}.png" for n in range(4)]
    logs = [out / f"f.{job}_{task}.log" for task in (0, 1)]
    if frame_files(out) != every or not all(log.is_file() for log in logs):
        fail(f"frames and logs in {out}: {sorted(p.name for p in out.iterdir())}")
    refused = farm.run("submit", *options, "-o", str(out / "a\nb_#.png"), check=1)
    if "control character" not in refused.stderr:
        fail(f"a line break in the name should be refused:\n{refused.stderr}")
    for name in every[:2]:
        (out / name).unlink()
    subprocess.run(["sh", str(out / "f.sbatch")], cwd="/", env=dict(farm.env, SLURM_ARRAY_TASK_ID="0"),
                   check=True, timeout=120)
    if frame_files(out) != every:
        fail(f"the script run by hand did not render chunk 0: {frame_files(out)}")


def controller_down(farm):
    conf = Path(farm.env["SLURM_CONF"]).read_text()
    # A port no controller listens on.
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    down = farm.work / "slurm.conf"
    down.write_text(re.sub(r"^SlurmctldPort=\d+", f"SlurmctldPort={port}", conf, flags=re.MULTILINE))
    farm.env["SLURM_CONF"] = str(down)
    result = farm.run("submit", "--frames", "0-1", "--mode", "Per Face", "-o", str(farm.work / "f_#.png"),
                      check=1)
    lines = result.stderr.strip().splitlines()
    if len(lines) != 1 or not lines[0].startswith("chromasift: Slurm's controller does not answer (sbatch: "):
        fail(f"expected one line saying the controller does not answer:\n{result.stderr}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("group", choices=["same_frames", "resume", "unreadable_scene", "odd_names",
                                          "controller_down"])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--conf", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    if not Path(args.conf).is_file():
        fail(f"no cluster: {args.conf} is missing (the farm_cluster_start test makes it)")
    start = time.monotonic()
    globals()[args.group](Farm(args))
    print(f"{args.group}: passed in {time.monotonic() - start:.1f} s")


if __name__ == "__main__":
    main()
