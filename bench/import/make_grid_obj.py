#!/usr/bin/python3
"""Writes a large OBJ model of quads for the import benchmark.

    make_grid_obj.py OUT.obj QUADS_ACROSS QUADS_DEEP [OBJECTS]

Each object is a rippled sheet of QUADS_ACROSS x QUADS_DEEP quads (positions shared between neighbouring
quads, as a modelling program writes them); OBJECTS of them (default 1) stand side by side in a square
grid, each as an "o" group of its own.
"""
import math
import sys


def write_sheet(out, name, first_vertex, across, deep, x_offset, z_offset, size):
    lines = [f"o {name}\n"]
    for j in range(deep + 1):
        z = z_offset + size * j / deep
        for i in range(across + 1):
            x = x_offset + size * i / across
            y = 0.05 * size * math.sin(7.0 * x / size) * math.cos(5.0 * z / size)
            lines.append(f"v {x:.6f} {y:.6f} {z:.6f}\n")
    row = across + 1
    for j in range(deep):
        for i in range(across):
            a = first_vertex + j * row + i
            lines.append(f"f {a} {a + 1} {a + row + 1} {a + row}\n")
    out.write("".join(lines))
    return first_vertex + (deep + 1) * row


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    path, across, deep = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    objects = int(sys.argv[4]) if len(sys.argv) == 5 else 1
    side = math.ceil(math.sqrt(objects))
    with open(path, "w") as out:
        out.write(f"# {objects} sheet(s) of {across} x {deep} quads\n")
        vertex = 1
        for k in range(objects):
            vertex = write_sheet(out, f"sheet_{k + 1}", vertex, across, deep, 1.1 * (k % side),
                                 1.1 * (k // side), 1.0)


if __name__ == "__main__":
    main()
