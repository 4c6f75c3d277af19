#!/usr/bin/python3
"""Layouts of `gantrel nest` hold the spacing, judged by ezdxf and shapely on the saved drawing
(regions, whose curves ezdxf cannot read, are judged by gantrel's own check only).

- A drawing of every kind of part (polylines with and without bulges, a chain of bulges, circles,
  an arc, a fit-point spline, an ellipse, block references scaled and turned, a reference to a
  block that holds another reference) nested at spacings 0, 1, 3 and 10 with rotations: no two
  placed pieces, and no piece and the sheet's edge, closer than the spacing, measured on the
  curves as ezdxf flattens them (chords within 1e-4 of the curve, which the
  measured gaps are reduced by), and gantrel exits 0.
- The bundled example at spacings 0, 1 and 10, seeds 1 to 4: the same, exit 0.
- The example moved by (1e9, -1e9) and (1e11, 1e11): the same pieces at the same places relative
  to the sheet; parts spread wider than the arithmetic's range: a message naming the part, exit 3.
- Parts that cannot be nested (no area, a point-like circle, a bow-tie) and a "Count" of -5: one
  message each by handle, no "NFP Error", the good parts placed.

Usage: nest_spacing.py GANTREL EXAMPLE.dxf WORK_FOLDER
"""
import math
import os
import subprocess
import sys

import ezdxf
from ezdxf import bbox
from shapely.geometry import LineString, MultiLineString

GANTREL, EXAMPLE, WORK = sys.argv[1], sys.argv[2], sys.argv[3]
FLATTENING = 1e-4
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
    return condition


def curves(entity):
    """The entity's curves as shapely lines: polylines and references exploded, arcs, circles,
    ellipses and splines flattened by ezdxf on the curve itself (its paths are Bezier
    approximations, off by far more than the tolerance)."""
    kind = entity.dxftype()
    if kind in ("INSERT", "LWPOLYLINE", "POLYLINE"):
        lines = []
        for part in entity.virtual_entities():
            lines += curves(part)
        return lines
    if kind == "LINE":
        return [LineString([(entity.dxf.start.x, entity.dxf.start.y),
                            (entity.dxf.end.x, entity.dxf.end.y)])]
    if kind in ("CIRCLE", "ARC", "ELLIPSE", "SPLINE"):
        points = [(v.x, v.y) for v in entity.flattening(FLATTENING)]
        return [LineString(points)] if len(points) > 1 else []
    return []


def new_drawing():
    doc = ezdxf.new("R2010")
    doc.appids.new("Plaxen")
    return doc


def nesting_data(entity, count=1, rotable=1):
    entity.set_xdata("Plaxen", [(1000, "Count"), (1070, count), (1000, "Rotable"),
                                (1070, rotable)])


def nest(name, source, *flags):
    folder = os.path.join(WORK, name)
    os.makedirs(folder, exist_ok=True)
    result = os.path.join(folder, "out.dxf")
    done = subprocess.run([GANTREL, "nest", source, "-o", result] + list(flags),
                          capture_output=True, text=True, timeout=900)
    return done, result


def measure(name, source, result, spacing, sheet_handle=None):
    """Checks the gaps of the placed pieces; returns {source handle: (rotation, dx, dy)}."""
    before = ezdxf.readfile(source)
    after = ezdxf.readfile(result)
    old = {e.dxf.handle for e in before.modelspace()}
    msp = after.modelspace()
    if sheet_handle is None:
        sheets = [e for e in msp if e.dxftype() == "LWPOLYLINE" and e.closed]
        sheet = max(sheets, key=lambda e: bbox.extents([e]).size.x * bbox.extents([e]).size.y)
    else:
        sheet = after.entitydb[sheet_handle]
    box = bbox.extents([sheet])
    tolerance = 1e-6 * max(box.size.x, box.size.y)
    corner = (box.extmax.x, box.extmin.y)
    placed = []
    for entity in msp:
        # ezdxf reads no curves from a region's ACIS data: regions are left to gantrel's own
        # check of the layout.
        if entity.dxf.handle in old or entity.dxftype() == "REGION":
            continue
        piece_box = bbox.extents([entity])
        if math.dist((piece_box.extmin.x, piece_box.extmin.y), corner) <= tolerance * 10:
            continue  # set down beside the sheet
        placed.append((entity.dxf.handle, MultiLineString(curves(entity))))
    edge = MultiLineString(curves(sheet))
    # A chord lies up to FLATTENING inside a convex curve: both sides' share is taken off.
    slack = 2 * FLATTENING
    for handle, lines in placed:
        gap = lines.distance(edge) - slack
        check(gap >= spacing - tolerance,
              f"{name}: piece {handle} lies {gap:.6g} from the sheet's edge, spacing {spacing}")
    for i in range(len(placed)):
        for j in range(i + 1, len(placed)):
            a, b = placed[i][1].bounds, placed[j][1].bounds
            apart = max(b[0] - a[2], a[0] - b[2], b[1] - a[3], a[1] - b[3])
            if apart >= spacing:
                continue
            gap = placed[i][1].distance(placed[j][1]) - slack
            check(gap >= spacing - tolerance,
                  f"{name}: pieces {placed[i][0]} and {placed[j][0]} lie {gap:.6g} apart, "
                  f"spacing {spacing}")
    return len(placed)


def every_kind(folder):
    doc = new_drawing()
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (500, 0), (500, 300), (0, 300)], close=True)
    parts = []
    parts.append(msp.add_lwpolyline([(600, 0), (660, 0), (660, 40), (600, 40)], close=True))
    parts.append(msp.add_lwpolyline([(700, 0, 0, 0, 0.4), (760, 0, 0, 0, 0), (760, 40, 0, 0, 0.4),
                                     (700, 40, 0, 0, 0)], format="xyseb", close=True))
    # A chain of bulges: a lens of two arcs.
    parts.append(msp.add_lwpolyline([(800, 0, 0, 0, 0.6), (860, 0, 0, 0, 0.6)], format="xyseb",
                                    close=True))
    parts.append(msp.add_circle((620, 100), 25))
    parts.append(msp.add_circle((700, 100), 12.5))
    parts.append(msp.add_arc((800, 100), 30, 20, 250))
    parts.append(msp.add_spline(fit_points=[(600, 200), (640, 230), (680, 210), (660, 170),
                                            (620, 160), (600, 200)]))
    parts.append(msp.add_ellipse((760, 200), major_axis=(35, 10), ratio=0.5))
    plate = doc.blocks.new("PLATE")
    plate.add_lwpolyline([(0, 0, 0, 0, 0), (50, 0, 0, 0, 0.3), (50, 30, 0, 0, 0), (0, 30, 0, 0, 0)],
                         format="xyseb", close=True)
    plate.add_circle((15, 15), 5)
    outer = doc.blocks.new("CARRIER")
    outer.add_blockref("PLATE", (0, 0), dxfattribs={"rotation": 30})
    parts.append(msp.add_blockref("PLATE", (900, 0), dxfattribs={"xscale": 1.5, "yscale": 1.5,
                                                                 "rotation": 45}))
    parts.append(msp.add_blockref("PLATE", (1000, 0), dxfattribs={"xscale": -1, "rotation": 10}))
    parts.append(msp.add_blockref("CARRIER", (1100, 0), dxfattribs={"xscale": 0.8,
                                                                    "yscale": 0.8}))
    for part in parts:
        nesting_data(part, count=2)
    source = os.path.join(folder, "kinds.dxf")
    doc.saveas(source)
    return source, 2 * len(parts)


def every_kind_holds_the_spacing():
    folder = os.path.join(WORK, "kinds")
    os.makedirs(folder, exist_ok=True)
    source, pieces = every_kind(folder)
    for spacing in (0, 1, 3, 10):
        name = f"kinds-{spacing}"
        done, result = nest(name, source, "--spacing", str(spacing), "--rotation-step", "90",
                            "--seed", "3")
        if check(done.returncode == 0, f"{name}: exit {done.returncode}: {done.stderr}"):
            placed = measure(name, source, result, spacing)
            check(placed >= pieces // 2, f"{name}: only {placed} of {pieces} placed")


def example_holds_the_spacing():
    for spacing in (0, 1, 10):
        for seed in (1, 2, 3, 4):
            name = f"example-{spacing}-{seed}"
            done, result = nest(name, EXAMPLE, "--spacing", str(spacing), "--seed", str(seed))
            if check(done.returncode == 0, f"{name}: exit {done.returncode}: {done.stderr}"):
                measure(name, EXAMPLE, result, spacing)


def moved_copy(offset, name):
    """The example moved by offset; its region, which ezdxf cannot move, is left out."""
    doc = ezdxf.readfile(EXAMPLE)
    msp = doc.modelspace()
    for entity in list(msp):
        if entity.dxftype() == "REGION":
            msp.delete_entity(entity)
        else:
            entity.translate(offset[0], offset[1], 0)
    path = os.path.join(WORK, name + ".dxf")
    doc.saveas(path)
    return path


def layout(result, source, shift):
    """Each placed piece by its source handle: its extents relative to the sheet."""
    after = ezdxf.readfile(result)
    old = {e.dxf.handle for e in ezdxf.readfile(source).modelspace()}
    boxes = []
    for entity in after.modelspace():
        if entity.dxf.handle not in old and entity.dxftype() != "REGION":
            b = bbox.extents([entity])
            boxes.append((round(b.extmin.x - shift[0], 2), round(b.extmin.y - shift[1], 2),
                          round(b.extmax.x - shift[0], 2), round(b.extmax.y - shift[1], 2)))
    return sorted(boxes)


def moved_drawings_nest_as_unmoved():
    unmoved = moved_copy((0, 0), "unmoved")
    done, result = nest("unmoved", unmoved, "--seed", "2")
    if not check(done.returncode == 0, f"unmoved: exit {done.returncode}: {done.stderr}"):
        return
    expected = layout(result, unmoved, (0, 0))
    for offset in ((1e9, -1e9), (1e11, 1e11)):
        name = f"moved-{offset[0]:g}"
        source = moved_copy(offset, name)
        done, result = nest(name, source, "--seed", "2")
        if check(done.returncode == 0, f"{name}: exit {done.returncode}: {done.stderr}"):
            check(layout(result, source, offset) == expected, f"{name}: another layout")
            measure(name, source, result, 1)
    # One part far beyond the range the nesting works in.
    doc = ezdxf.readfile(EXAMPLE)
    far = doc.modelspace().add_circle((5e11, 0), 40)
    path = os.path.join(WORK, "far.dxf")
    doc.saveas(path)
    done, _ = nest("far", path, "--seed", "1")
    check(done.returncode == 3, f"far: exit {done.returncode}")
    check(f"Part {far.dxf.handle.upper()}" in done.stdout and "range" in done.stdout,
          "far: no message naming the part: " + done.stdout[-2000:])


def bad_parts_are_told_once():
    doc = new_drawing()
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (300, 0), (300, 200), (0, 200)], close=True)
    back = msp.add_lwpolyline([(400, 0), (450, 0), (500, 0), (450, 0)], close=True)
    speck = msp.add_circle((400, 100), 1e-7)
    bow = msp.add_lwpolyline([(500, 0), (560, 60), (560, 0), (500, 60)], close=True)
    minus = msp.add_lwpolyline([(600, 0), (620, 0), (620, 20), (600, 20)], close=True)
    nesting_data(minus, count=-5)
    good = [msp.add_lwpolyline([(700, 0), (740, 0), (740, 30), (700, 30)], close=True),
            msp.add_circle((800, 50), 20)]
    # An outline that folds over itself at one corner: what it encloses is one outline.
    good.append(msp.add_lwpolyline([(900, 0), (960, 0), (960, 40), (950, 40), (965, 30),
                                    (970, 45), (900, 40)], close=True))
    path = os.path.join(WORK, "bad.dxf")
    doc.saveas(path)
    done, result = nest("bad", path, "--seed", "1")
    text = done.stdout
    check(done.returncode == 0, f"bad: exit {done.returncode}: {done.stderr}")
    check("NFP Error" not in text, "bad: NFP Error lines: " + text[-2000:])
    for entity in (back, speck, bow, minus):
        handle = entity.dxf.handle.upper()
        check(text.count(f"Part {handle} is left out") == 1,
              f"bad: not one message for {handle}: " + text[-2000:])
    for entity in good:
        check(f"Part {entity.dxf.handle.upper()} is left out" not in text,
              f"bad: good part {entity.dxf.handle} left out")
    check("Parts: 6, placed: 3, not placed: 3" in text, "bad: summary " + text[-1000:])
    if done.returncode == 0:
        measure("bad", path, result, 1)


def main():
    os.makedirs(WORK, exist_ok=True)
    every_kind_holds_the_spacing()
    example_holds_the_spacing()
    moved_drawings_nest_as_unmoved()
    bad_parts_are_told_once()
    for failure in FAILURES:
        print("FAILED:", failure)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
