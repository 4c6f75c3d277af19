#!/usr/bin/python3
"""Checks the layouts that bench_nest --layouts DIR wrote, with shapely.

Each file holds the sheet on its first line and one placed outline a line after it, each as
x y pairs in the instance's units. A layout fails when a piece lies outside the sheet or two
pieces overlap by more than a relative area tolerance (1e-9 of the strip height squared, as the
benchmark's own check). Prints one line per file and exits with 1 when any layout fails.

GEOS (under shapely 1.8) can answer a whole piece as the intersection of two pieces that only
touch, when a coordinate sits a rounding error away from a round value (1e-15 for 0): the
coordinates are snapped to a grid of 1e-12 of the strip height first (far below the tolerance),
and an overlap counts when the intersection in both orders reports it.

Usage: check_layouts.py DIR
"""
import itertools
import pathlib
import sys
import warnings

from shapely.geometry import Polygon
from shapely.strtree import STRtree


def polygon(line, grid=0.0):
    values = [float(v) for v in line.split()]
    if grid > 0.0:
        values = [round(v / grid) * grid for v in values]
    return Polygon(list(zip(values[0::2], values[1::2]))).buffer(0)


def check(path):
    lines = [l for l in path.read_text().splitlines() if l.strip()]
    sheet = polygon(lines[0])
    minx, miny, maxx, maxy = sheet.bounds
    tolerance = 1e-9 * (maxy - miny) ** 2
    grid = 1e-12 * (maxy - miny)
    sheet = polygon(lines[0], grid)
    pieces = [polygon(l, grid) for l in lines[1:]]
    faults = []
    for i, piece in enumerate(pieces):
        outside = piece.difference(sheet).area
        if outside > tolerance:
            faults.append(f"piece {i} lies {outside:g} outside the sheet")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        tree = STRtree(pieces)
    index = {id(p): i for i, p in enumerate(pieces)}
    for i, piece in enumerate(pieces):
        for other in tree.query(piece):
            # shapely 1.8 answers with the geometries, 2.x with their indices.
            j = int(other) if not hasattr(other, "area") else index[id(other)]
            if j <= i:
                continue
            overlap = min(piece.intersection(pieces[j]).area, pieces[j].intersection(piece).area)
            if overlap > tolerance:
                faults.append(f"pieces {i} and {j} overlap by {overlap:g}")
    return len(pieces), faults


def main():
    folder = pathlib.Path(sys.argv[1])
    failed = 0
    for path in sorted(folder.glob("*.txt")):
        count, faults = check(path)
        print(f"{path.stem}: {count} pieces, {'ok' if not faults else '; '.join(faults)}")
        failed += bool(faults)
    print(f"{failed} layout(s) failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
