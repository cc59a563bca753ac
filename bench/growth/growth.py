#!/usr/bin/python3
"""How the tool's cost grows with its work: wall time and peak memory of each step against the size of
its input, with the growth exponent (the slope on log-log axes) between consecutive sizes and overall.
A slope near 1 is linear growth; slopes above 1.15 are flagged with "!".

    bench/growth/growth.py [--quick] [--only TEXT] [--build-dir DIR] [--work-dir DIR] [--timeout S]

Curves: the palette against picture size; renders against faces; the pre-render numbering against faces
and against element count; the object modes against node count; scene load and save against scene size.
Every measurement is one process: its wall time ("wall s"), its processor time ("cpu s": user and system, all
threads; on a shared machine the steadier figure), the time of the step alone where the process reports it
("step s": the render's wall time as chromasift prints it; the processor time of the numbering, the load or
the save) and its peak resident memory (max RSS; no measured step starts a process of its own, the scene files
holding their geometry, so that peak is the whole process tree's). Slopes are given for all but the wall time.
Inputs (pictures, scene files) are generated into the work folder and kept there for the next run. A size
whose process outlives --timeout ends its curve. The figures are printed as Markdown tables; the exit status
is 0 unless a command fails (timings never fail the run).

Needs the linux build's chromasift, its plug-in, growth_probe and make_big_jpeg (all in the default
build). --quick runs every curve at two tiny sizes, as a check that the measurements still work.
"""
import argparse
import math
import os
import re
import subprocess
import sys
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
FLAG_SLOPE = 1.15
# Below these the clock's and the allocator's noise swamp any slope: no flag.
MIN_FLAG_SECONDS = 0.25
MIN_FLAG_MIB = 64.0


class Failure(Exception):
    pass


def run(command, timeout):
    """Runs command; returns (wall s, processor s, peak RSS MiB, stdout), or None when it outlived timeout."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    timer = threading.Timer(timeout, process.kill)
    timer.start()
    # Read the pipes on threads so that a talkative process never blocks on a full pipe.
    output = {}

    def drain(name, stream):
        output[name] = stream.read()

    readers = [threading.Thread(target=drain, args=(name, stream))
               for name, stream in (("out", process.stdout), ("err", process.stderr))]
    for reader in readers:
        reader.start()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    timer.cancel()
    for reader in readers:
        reader.join()
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode == -9 and wall >= timeout:
        return None
    if process.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(map(str, command)), process.returncode,
                                              output.get("err", "").strip()))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0, output.get("out", "")


def slope(a_size, a_value, b_size, b_value):
    if a_value <= 0 or b_value <= 0 or a_size == b_size:
        return None
    return math.log(b_value / a_value) / math.log(b_size / a_size)


def slope_text(value, later, minimum):
    if value is None:
        return "-"
    flag = " !" if value > FLAG_SLOPE and later >= minimum else ""
    return "%.2f%s" % (value, flag)


def size_text(size):
    if size >= 1e6 and size % 1e5 == 0:
        return "%gM" % (size / 1e6)
    if size >= 1e3 and size % 100 == 0:
        return "%gk" % (size / 1e3)
    return "%g" % size


class Curve:
    def __init__(self, title, unit, sizes, measure):
        self.title, self.unit, self.sizes, self.measure = title, unit, sizes, measure


# The columns of a table: heading, the value's place in a row, its format, whether it gets a slope column
# and the least value whose slope is flagged.
COLUMNS = [("wall s", 1, "%.3f", False, None), ("cpu s", 2, "%.3f", True, MIN_FLAG_SECONDS),
           ("step s", 3, "%.3f", True, MIN_FLAG_SECONDS), ("peak MiB", 4, "%.1f", True, MIN_FLAG_MIB)]


def print_table(curve, rows, stopped):
    """rows: (size, wall s, processor s, step s or None, peak MiB)."""
    columns = [c for c in COLUMNS if c[1] != 3 or any(row[3] is not None for row in rows)]
    print("\n### %s\n" % curve.title)
    header = [curve.unit]
    for name, _, _, sloped, _ in columns:
        header += [name] + (["slope"] if sloped else [])
    print("| " + " | ".join(header) + " |")
    print("|" + "---:|" * len(header))

    def slope_cell(a, b, place, minimum):
        if a[place] is None or b[place] is None:
            return "-"
        return slope_text(slope(a[0], a[place], b[0], b[place]), b[place], minimum)

    for i, row in enumerate(rows):
        cells = [size_text(row[0])]
        for _, place, form, sloped, minimum in columns:
            cells.append(form % row[place] if row[place] is not None else "-")
            if sloped:
                cells.append(slope_cell(rows[i - 1], row, place, minimum) if i > 0 else "-")
        print("| " + " | ".join(cells) + " |")
    if len(rows) > 1:
        cells = ["overall"]
        for _, place, _, sloped, minimum in columns:
            cells += [""] + ([slope_cell(rows[0], rows[-1], place, minimum)] if sloped else [])
        print("| " + " | ".join(cells) + " |")
    if stopped is not None:
        print("\n%s %s: more than %g s; the curve stops there." % (size_text(stopped), curve.unit,
                                                                  args.timeout))
    sys.stdout.flush()


def step_seconds(output):
    """The step's own time: "seconds S" from growth_probe, ", S s" from chromasift render."""
    found = re.search(r"^seconds ([0-9.]+)$", output, re.M) or re.search(r", ([0-9.]+) s$", output, re.M)
    return float(found.group(1)) if found else None


class Bench:
    def __init__(self, build, work, timeout):
        self.bin = build / "bin"
        self.work = work
        self.timeout = timeout
        for tool in ("chromasift", "growth_probe", "make_big_jpeg", "plugins/kr_tintworks.dlt"):
            if not (self.bin / tool).exists():
                raise Failure("%s is missing: build the linux preset first (cmake --build %s)"
                              % (self.bin / tool, build))
        work.mkdir(parents=True, exist_ok=True)

    def picture(self, megapixels):
        width = int(round(math.sqrt(megapixels * 1e6 * 1.5)))
        height = int(round(megapixels * 1e6 / width))
        path = self.work / ("picture_%dx%d.jpg" % (width, height))
        if not path.exists():
            partial = path.with_suffix(".part.jpg")
            subprocess.run([self.bin / "make_big_jpeg", ROOT / "tests/data/images/Aqua.jpg", partial,
                            str(width), str(height)], check=True)
            partial.rename(path)
        return path, width * height

    def scene(self, nodes, elements, faces_per_element):
        path = self.work / ("scene_%d_%d_%d.json" % (nodes, elements, faces_per_element))
        if not path.exists():
            partial = path.with_suffix(".part")
            subprocess.run([self.bin / "growth_probe", "scene", partial, str(nodes), str(elements),
                            str(faces_per_element)], check=True)
            partial.rename(path)
        return path

    def measure(self, command):
        result = run([str(part) for part in command], self.timeout)
        if result is None:
            return None
        wall, cpu, mib, output = result
        return wall, cpu, step_seconds(output), mib

    def palette(self, megapixels):
        path, pixels = self.picture(megapixels)
        return self.measure([self.bin / "chromasift", "palette", path, "--colors", "12"])

    def render(self, scene, mode, renderer="scanline"):
        return self.measure([self.bin / "chromasift", "render", scene, "--mode", mode, "--renderer", renderer,
                             "--size", "640x480", "--threads", "2", "-o", self.work / "render.png"])

    def number(self, kind, elements, faces_per_element):
        return self.measure([self.bin / "growth_probe", "number", kind, elements, faces_per_element])

    def load(self, scene):
        return self.measure([self.bin / "growth_probe", "load", scene])

    def save(self, scene):
        return self.measure([self.bin / "growth_probe", "save", scene, self.work / "saved.json"])


def curves(bench, quick):
    megapixels = [0.1, 0.4] if quick else [1, 3, 10, 30, 100]
    faces = [2000, 8000] if quick else [10000, 40000, 160000, 640000, 2000000, 4000000]
    save_faces = faces if quick else faces[:-1]
    elements = [200, 800] if quick else [1000, 4000, 16000, 64000, 256000, 500000]
    nodes = [100, 400] if quick else [1000, 3000, 10000, 30000, 100000]

    def one_mesh(count):
        return bench.scene(1, 1, count)

    def many_nodes(count):
        return bench.scene(count, 1, 2)

    def pictures(mp):
        return bench.palette(mp)

    yield Curve("palette: `chromasift palette PICTURE --colors 12` vs picture size", "megapixels",
                megapixels, pictures)
    for mode, renderer in (("Random", "scanline"), ("Per Face", "scanline"), ("Per Element", "scanline"),
                           ("Per Face", "mentalray"), ("Per Element", "mentalray")):
        yield Curve("render: %s, %s renderer, 640x480, vs faces (one node)" % (mode, renderer), "faces",
                    faces, lambda n, m=mode, r=renderer: bench.render(one_mesh(n), m, r))
    kinds = {
        "mesh-elements": "mental ray Per Element, triangle mesh",
        "mesh-polygons": "mental ray Per Face, triangle mesh",
        "poly-elements": "mental ray Per Element, polygon mesh",
        "poly-polygons": "mental ray Per Face, polygon mesh",
        "mesh-shading": "Per Face shading copy (every F/40300-th seed)",
    }
    for kind, title in kinds.items():
        yield Curve("numbering: %s, vs faces (one element)" % title, "faces", faces,
                    lambda n, k=kind: bench.number(k, 1, n))
    for kind, title in kinds.items():
        yield Curve("numbering: %s, vs elements (8 faces each)" % title, "elements", elements,
                    lambda n, k=kind: bench.number(k, n, 8))
    for mode, renderer in (("Object (linear)", "scanline"), ("Object (random)", "scanline"),
                           ("Object ID", "scanline"), ("Material ID", "scanline"),
                           ("Per Element", "scanline"), ("Per Face", "scanline"),
                           ("VRay Instance (rnd)", "vray"), ("Object (random)", "mentalray"),
                           ("Per Element", "mentalray"), ("Per Face", "mentalray")):
        yield Curve("object modes: %s, %s renderer, vs nodes (one object each, 2 faces)" % (mode, renderer),
                    "nodes", nodes, lambda n, m=mode, r=renderer: bench.render(many_nodes(n), m, r))
    yield Curve("scene load vs nodes (one object each, 2 faces)", "nodes", nodes,
                lambda n: bench.load(many_nodes(n)))
    yield Curve("scene save vs nodes (one object each, 2 faces)", "nodes", nodes,
                lambda n: bench.save(many_nodes(n)))
    yield Curve("scene load vs faces (one node)", "faces", faces, lambda n: bench.load(one_mesh(n)))
    yield Curve("scene save vs faces (one node)", "faces", save_faces, lambda n: bench.save(one_mesh(n)))


def main():
    global args
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--quick", action="store_true", help="two tiny sizes a curve: a check, not figures")
    parser.add_argument("--only", default="", help="run only the curves whose title contains this text")
    parser.add_argument("--build-dir", type=Path, default=ROOT / "build/linux")
    parser.add_argument("--work-dir", type=Path, help="where inputs go (default: BUILD_DIR/growth)")
    parser.add_argument("--timeout", type=float, default=120.0, help="seconds a measurement may take")
    args = parser.parse_args()
    work = args.work_dir or args.build_dir / ("growth-quick" if args.quick else "growth")
    try:
        bench = Bench(args.build_dir.resolve(), work.resolve(), args.timeout)
        started = time.perf_counter()
        print("Cost growth: %s; %d cores; timeout %g s a measurement" % (
            time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()), os.cpu_count(), args.timeout))
        for curve in curves(bench, args.quick):
            if args.only not in curve.title:
                continue
            rows, stopped = [], None
            for size in curve.sizes:
                result = curve.measure(size)
                if result is None:
                    stopped = size
                    break
                rows.append((size,) + result)
            print_table(curve, rows, stopped)
        print("\nWhole run: %.0f s" % (time.perf_counter() - started))
    except (Failure, subprocess.CalledProcessError) as error:
        print("growth.py: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
