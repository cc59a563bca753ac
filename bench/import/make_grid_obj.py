#!/usr/bin/python3
"""Writes a large OBJ model of quads for the import benchmark.

    make_grid_obj.py OUT.obj QUADS_ACROSS QUADS_DEEP [OBJECTS]
    make_grid_obj.py OUT.obj QUADS_ACROSS QUADS_DEEP --face-on
    make_grid_obj.py OUT.obj QUADS_ACROSS QUADS_DEEP --zigzag

Each object is a rippled sheet of QUADS_ACROSS x QUADS_DEEP quads (positions shared between neighbouring
quads, as a modelling program writes them); OBJECTS of them (default 1) stand side by side in a square
grid, each as an "o" group of its own.

With --face-on the one sheet faces the camera that `chromasift render` sets up for a model: it lies in
the picture plane, its corners stepping alternately a little towards and away from the camera, so that
no two neighbouring quads are coplanar and every quad is seen whole.

With --zigzag the sheet faces the camera the same way, but its quads are flat and its rows of quads
alternate in depth, a step towards the camera and a step away: each row is a strip of its own (it shares
no corner with the next), and every quad is seen whole.
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


def normalised(v):
    length = math.sqrt(sum(c * c for c in v))
    return tuple(c / length for c in v)


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def face_on_axes():
    # The tool looks at a model's centre from (0.6, -1, 0.6) in its z-up scene, which is (0.6, 0.6, 1) in
    # an OBJ file's own y-up axes; the sheet is spanned by the two directions across that view.
    towards = normalised((0.6, 0.6, 1.0))
    right = normalised(cross((0.0, 1.0, 0.0), towards))
    return right, cross(towards, right), towards


def write_zigzag_sheet(out, across, deep):
    right, up, towards = face_on_axes()
    step = 1.0 / max(across, deep)
    lines = ["o zigzag_sheet\n"]
    for j in range(deep):
        depth = 0.1 * step * (1 if j % 2 else -1)
        for b in (step * j, step * (j + 1)):
            for i in range(across + 1):
                p = [step * i * r + b * u + depth * t for r, u, t in zip(right, up, towards)]
                lines.append(f"v {p[0]:.7f} {p[1]:.7f} {p[2]:.7f}\n")
    row = across + 1
    for j in range(deep):
        for i in range(across):
            a = 1 + 2 * j * row + i
            lines.append(f"f {a} {a + 1} {a + row + 1} {a + row}\n")
    out.write("".join(lines))


def write_face_on_sheet(out, across, deep):
    right, up, towards = face_on_axes()
    step = 1.0 / max(across, deep)
    lines = [f"o face_on_sheet\n"]
    for j in range(deep + 1):
        for i in range(across + 1):
            a, b = step * i, step * j
            zigzag = 0.1 * step * (1 if (i + j) % 2 else -1)
            p = [a * r + b * u + zigzag * t for r, u, t in zip(right, up, towards)]
            lines.append(f"v {p[0]:.7f} {p[1]:.7f} {p[2]:.7f}\n")
    row = across + 1
    for j in range(deep):
        for i in range(across):
            a = 1 + j * row + i
            lines.append(f"f {a} {a + 1} {a + row + 1} {a + row}\n")
    out.write("".join(lines))


def main():
    if len(sys.argv) == 5 and sys.argv[4] in ("--face-on", "--zigzag"):
        zigzag = sys.argv[4] == "--zigzag"
        with open(sys.argv[1], "w") as out:
            out.write(f"# a face-on {'zigzag ' if zigzag else ''}sheet of {sys.argv[2]} x {sys.argv[3]} quads\n")
            (write_zigzag_sheet if zigzag else write_face_on_sheet)(out, int(sys.argv[2]), int(sys.argv[3]))
        return
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
