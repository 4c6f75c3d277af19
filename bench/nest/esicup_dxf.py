#!/usr/bin/python3
"""Writes an ESICUP strip instance as a drawing for `gantrel nest`.

The instance is scaled as bench_nest scales it (the power of ten that brings the strip height
between 1,000 and 10,000 drawing units). The sheet is a strip of that height, long enough to take
every piece in a row, drawn as the closed polyline of largest area; each item is one closed
polyline beside it with its demand as "Count" and "Rotable" 1 when the instance allows more than
one orientation. Nest it with `--spacing 0` and, for rotations, `--rotation-step 90` or 180.

Usage: esicup_dxf.py INSTANCE.json OUT.dxf
"""
import json
import sys

import ezdxf


def main(source, target):
    with open(source) as f:
        instance = json.load(f)
    height = instance["strip_height"]
    scale = 1.0
    while height * scale < 1000.0:
        scale *= 10.0
    while height * scale > 10000.0:
        scale /= 10.0
    doc = ezdxf.new("R2010")
    doc.appids.new("Plaxen")
    msp = doc.modelspace()
    length = 0.0
    x = 0.0
    for item in instance["items"]:
        points = [(p[0] * scale, p[1] * scale) for p in item["shape"]["data"]]
        if points[0] == points[-1]:
            points.pop()
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        width, tall = max(xs) - min(xs), max(ys) - min(ys)
        length += max(width, tall) * item["demand"]
        # Beside the strip, below it, one item after the other.
        shifted = [(p[0] - min(xs) + x, p[1] - min(ys) - tall - 2.0 * height) for p in points]
        part = msp.add_lwpolyline(shifted, close=True)
        rotable = 1 if len(item["allowed_orientations"]) > 1 else 0
        part.set_xdata("Plaxen", [(1000, "Count"), (1070, item["demand"]),
                                  (1000, "Rotable"), (1070, rotable)])
        x += width + 0.1 * height
    hs = height * scale
    msp.add_lwpolyline([(0, 0), (length, 0), (length, hs), (0, hs)], close=True)
    doc.saveas(target)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
