#!/usr/bin/python3
"""Areas of the closed outlines of sample drawings, computed by an independent reader (ezdxf).

Writes one line per closed outline of model space: file, handle, entity type, area. With
--check TABLE it compares its own result with a stored table instead and fails on any difference
beyond 1e-9 relative, so the stored table always matches what ezdxf computes.
"""
import math
import sys

import ezdxf
from ezdxf.math import area as polygon_area
from ezdxf.math import bulge_to_arc

SAMPLES = ["forms.dxf", "issue39.dxf", "squircle2.dxf"]


def bulged_area(points):
    """Shoelace area of the vertices plus the circular segments the bulges add or remove."""
    vertices = [(p[0], p[1]) for p in points]
    bulges = [p[2] for p in points]
    signed = 0.0
    n = len(vertices)
    for i in range(n):
        x0, y0 = vertices[i]
        x1, y1 = vertices[(i + 1) % n]
        signed += x0 * y1 - x1 * y0
    signed /= 2.0
    # Each bulge adds its circular segment to the signed area: a counter-clockwise arc bulges to
    # the right of its chord, a clockwise one to the left.
    for i in range(n):
        b = bulges[i]
        if b == 0.0:
            continue
        start, end = vertices[i], vertices[(i + 1) % n]
        _, _, _, radius = bulge_to_arc(start, end, b)
        theta = 4.0 * math.atan(abs(b))
        segment = 0.5 * radius * radius * (theta - math.sin(theta))
        signed += segment if b > 0 else -segment
    return abs(signed)


def outline_area(entity):
    kind = entity.dxftype()
    if kind == "LWPOLYLINE" and entity.closed:
        return bulged_area(list(entity.get_points("xyb")))
    if kind == "CIRCLE":
        return math.pi * entity.dxf.radius ** 2
    if kind == "ELLIPSE":
        start, end = entity.dxf.start_param, entity.dxf.end_param
        if abs((end - start) - 2 * math.pi) < 1e-12 or abs(end - start) < 1e-12:
            major = entity.dxf.major_axis
            a = math.hypot(major[0], major[1])
            return math.pi * a * a * entity.dxf.ratio
        return None
    if kind == "SPLINE" and entity.closed:
        return abs(polygon_area(list(entity.flattening(1e-9, segments=64))))
    return None


def table(folder):
    rows = []
    for name in SAMPLES:
        doc = ezdxf.readfile(f"{folder}/{name}")
        for entity in doc.modelspace():
            a = outline_area(entity)
            if a is not None:
                rows.append((name, entity.dxf.handle.upper(), entity.dxftype(), a))
    return rows


def main():
    folder = sys.argv[1]
    rows = table(folder)
    if len(sys.argv) == 4 and sys.argv[2] == "--check":
        stored = {}
        with open(sys.argv[3], encoding="utf-8") as f:
            for line in f:
                if line.startswith("#") or not line.strip():
                    continue
                name, handle, kind, value = line.split()
                stored[(name, handle)] = (kind, float(value))
        ok = len(stored) == len(rows)
        for name, handle, kind, a in rows:
            entry = stored.get((name, handle))
            if entry is None or entry[0] != kind or abs(entry[1] - a) > 1e-9 * max(1.0, abs(a)):
                print(f"{name} {handle}: ezdxf gives {kind} {a!r}, the table {entry}")
                ok = False
        print(f"{len(rows)} outlines, table {'matches' if ok else 'differs'}")
        return 0 if ok else 1
    print("# file handle type area (closed outlines of model space, areas by ezdxf)")
    for name, handle, kind, a in rows:
        print(f"{name} {handle} {kind} {a!r}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
