#!/usr/bin/python3
"""`gantrel nest --sheet-size` end to end, judged by an independent reader.

Each case writes part drawings with ezdxf (not with our writer), one part a file, of every kind
a part drawing comes in, runs `gantrel nest --sheet-size` on them, and reads the saved job
drawing back with ezdxf and shapely (not our code):

- every count is honoured: the pieces of each file on each sheet are those the summary gives;
- on every sheet the placed pieces lie on the sheet, do not overlap and keep the spacing
  (measured on the true curves, flattened to 0.01);
- the part drawings are untouched;
- pieces that fit on no sheet lie set down beside the last sheet.

Usage: part_job_end_to_end.py GANTREL WORK_FOLDER
"""
import hashlib
import json
import math
import os
import shutil
import subprocess
import sys

import ezdxf
from ezdxf import bbox
from ezdxf import path as ezpath
from shapely.geometry import LineString, Polygon
from shapely.ops import polygonize, unary_union

GANTREL = sys.argv[1]
WORK = sys.argv[2]
FLATTEN = 0.01
FAILURES = []
CURVES = {"LINE", "ARC", "CIRCLE", "LWPOLYLINE", "POLYLINE", "SPLINE", "ELLIPSE"}


def check(condition, what):
    if not condition:
        FAILURES.append(what)
    return condition


# --- Part drawings ------------------------------------------------------------------------------


def save(folder, name, draw, units=4):
    doc = ezdxf.new("R2010")
    doc.header["$INSUNITS"] = units
    draw(doc, doc.modelspace())
    doc.saveas(os.path.join(folder, name))


def plate(w, h):
    return lambda doc, msp: msp.add_lwpolyline([(0, 0), (w, 0), (w, h), (0, h)], close=True)


def rounded(doc, msp):
    b = math.tan(math.pi / 8)
    msp.add_lwpolyline([(5, 0, 0, 0, b), (45, 0), (50, 5, 0, 0, b), (50, 25), (45, 30, 0, 0, b),
                        (5, 30), (0, 25, 0, 0, b), (0, 5)], format="xyseb", close=True)


def chain(doc, msp):
    """A slot 60 x 20 of loose lines and arcs, out of order, one line drawn backwards."""
    msp.add_line((50, 20), (10, 20))
    msp.add_arc((10, 10), 10, 90, 270)
    msp.add_arc((50, 10), 10, -90, 90)
    msp.add_line((50, 0), (10, 0))


def disc(doc, msp):
    msp.add_circle((0, 0), 15)


def cam(doc, msp):
    msp.add_spline_control_frame([(0, 10), (20, 40), (45, 30), (40, 0), (15, -5), (0, 10)])


def block_part(doc, msp):
    block = doc.blocks.new("HUB")
    block.add_lwpolyline([(-20, -15), (20, -15), (20, 15), (-20, 15)], close=True)
    block.add_circle((0, 0), 6)
    msp.add_blockref("HUB", (300, 200))


def holes_and_text(doc, msp):
    msp.add_lwpolyline([(0, 0), (60, 0), (60, 40), (0, 40)], close=True)
    msp.add_circle((15, 20), 7)
    msp.add_circle((45, 20), 7)
    msp.add_text("PLATE", dxfattribs={"height": 4}).set_placement((20, 5))


# --- The job drawing ----------------------------------------------------------------------------


def shape_of(entities):
    """The largest face the curves enclose, holes taken out; None without one."""
    lines = []
    for e in entities:
        if e.dxftype() == "INSERT":
            inner = shape_of(list(e.virtual_entities()))
            if inner is not None:
                lines.append(inner.exterior)
                lines.extend(inner.interiors)
            continue
        if e.dxftype() not in CURVES:
            continue
        points = [(v.x, v.y) for v in ezpath.make_path(e).flattening(FLATTEN)]
        if len(points) > 1:
            lines.append(LineString(points))
    faces = list(polygonize(unary_union(lines))) if lines else []
    if not faces:
        return None
    outer = max(faces, key=lambda f: Polygon(f.exterior).area)
    return outer


def read_job(path):
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    sheets = sorted((e for e in msp if e.dxftype() == "LWPOLYLINE" and e.dxf.layer == "Sheet"),
                    key=lambda e: bbox.extents([e]).extmin.x)
    sheet_shapes = [shape_of([s]) for s in sheets]
    pieces = []
    for e in msp.query("INSERT"):
        box = bbox.extents([e])
        piece = {"block": e.dxf.name, "shape": shape_of([e]), "sheet": None, "set_down": False,
                 "low": (box.extmin.x, box.extmin.y)}
        for i, s in enumerate(sheets):
            sbox = bbox.extents([s])
            if math.dist(piece["low"], (sbox.extmax.x, sbox.extmin.y)) < 1e-6:
                piece["set_down"] = True
            elif sbox.extmin.x - 1e-6 <= box.extmin.x < sbox.extmax.x:
                piece["sheet"] = i
        pieces.append(piece)
    return sheets, sheet_shapes, pieces


def run(folder, args):
    done = subprocess.run([GANTREL, "nest"] + args + ["--json"], cwd=folder, capture_output=True,
                          text=True, timeout=600)
    summary = None
    if done.returncode == 0:
        summary = json.loads(done.stdout)
    return done, summary


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def check_sheets(case, sheet_shapes, pieces, spacing):
    tolerance = FLATTEN + 1e-6
    for i, sheet in enumerate(sheet_shapes):
        placed = [p for p in pieces if p["sheet"] == i and not p["set_down"]]
        for p in placed:
            check(p["shape"] is not None, f"{case}: a piece of {p['block']} has no outline")
        placed = [p for p in placed if p["shape"] is not None]
        for p in placed:
            check(sheet.buffer(tolerance).contains(p["shape"]),
                  f"{case}: a piece of {p['block']} lies off sheet {i + 1}")
        for a in range(len(placed)):
            for b in range(a + 1, len(placed)):
                pa, pb = placed[a]["shape"], placed[b]["shape"]
                check(pa.intersection(pb).area <= 1e-6 * min(pa.area, pb.area),
                      f"{case}: {placed[a]['block']} and {placed[b]['block']} overlap on "
                      f"sheet {i + 1}")
                gap = pa.distance(pb)
                check(gap >= spacing - tolerance,
                      f"{case}: {placed[a]['block']} and {placed[b]['block']} are "
                      f"{gap:.4f} apart on sheet {i + 1}, less than the spacing {spacing}")


# --- Cases --------------------------------------------------------------------------------------


def case_folder(name):
    folder = os.path.join(WORK, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def every_kind_of_part():
    case = "every kind"
    folder = case_folder("every-kind")
    kinds = {"plate.dxf": (plate(40, 30), 3), "rounded.dxf": (rounded, 2),
             "chain.dxf": (chain, 2), "disc.dxf": (disc, 3), "cam.dxf": (cam, 2),
             "hub.dxf": (block_part, 2), "holes.dxf": (holes_and_text, 2)}
    for name, (draw, _) in kinds.items():
        save(folder, name, draw)
    before = {name: digest(os.path.join(folder, name)) for name in kinds}
    spacing = 3.0
    done, summary = run(folder, ["--sheet-size", "160x100", "--spacing", str(spacing), "--seed",
                                 "3", "-o", "job.dxf"] +
                        [f"{name}={count}" for name, (_, count) in kinds.items()])
    if not check(done.returncode == 0, f"{case}: exit {done.returncode}: {done.stderr[-2000:]}"):
        return
    for name in kinds:
        check(digest(os.path.join(folder, name)) == before[name], f"{case}: {name} was changed")
    sheets, sheet_shapes, pieces = read_job(os.path.join(folder, "job.dxf"))
    check(len(sheets) == summary["sheets_used"] >= 2,
          f"{case}: {len(sheets)} sheets drawn, {summary['sheets_used']} reported")
    for record in summary["files"]:
        name = record["file"]
        block = os.path.splitext(name)[0]
        check(record["placed"] == record["count"] == kinds[name][1],
              f"{case}: {name}: {record['placed']} of {record['count']} placed")
        drawn = [sum(1 for p in pieces if p["block"] == block and p["sheet"] == i and
                     not p["set_down"]) for i in range(len(sheets))]
        check(drawn == record["per_sheet"],
              f"{case}: {name}: drawn {drawn} per sheet, reported {record['per_sheet']}")
    check(not any(p["set_down"] for p in pieces), f"{case}: a piece was set down")
    check_sheets(case, sheet_shapes, pieces, spacing)


def three_sheets_then_one():
    folder = case_folder("three-sheets")
    for name in ("a.dxf", "b.dxf", "c.dxf"):
        save(folder, name, plate(70, 40))
    done, summary = run(folder, ["--sheet-size", "100x50", "--seed", "1", "-o", "three.dxf",
                                 "a.dxf", "b.dxf", "c.dxf"])
    if check(done.returncode == 0, f"three sheets: exit {done.returncode}: {done.stderr[-2000:]}"):
        sheets, sheet_shapes, pieces = read_job(os.path.join(folder, "three.dxf"))
        check(len(sheets) == 3 and summary["sheets_used"] == 3,
              f"three sheets: {len(sheets)} drawn, {summary['sheets_used']} reported")
        lefts = [bbox.extents([s]).extmin.x for s in sheets]
        check(all(abs(x - 110 * i) < 1e-9 for i, x in enumerate(lefts)),
              f"three sheets: sheets start at {lefts}")
        check_sheets("three sheets", sheet_shapes, pieces, 0.0)

    done, summary = run(folder, ["--sheet-size", "100x50", "--seed", "1", "-o", "one.dxf",
                                 "--sheets", "1", "a.dxf", "b.dxf", "c.dxf"])
    if check(done.returncode == 0, f"one sheet: exit {done.returncode}: {done.stderr[-2000:]}"):
        sheets, _, pieces = read_job(os.path.join(folder, "one.dxf"))
        check(len(sheets) == 1, f"one sheet: {len(sheets)} sheets drawn")
        check(summary["placed"] == 1 and summary["unplaced"] == 2,
              f"one sheet: {summary['placed']} placed, {summary['unplaced']} unplaced")
        check(sum(1 for p in pieces if p["set_down"]) == 2,
              "one sheet: the two pieces left are not set down beside the sheet")
        check(len(summary["unplaced_files"]) == 2, f"one sheet: {summary['unplaced_files']}")


def main():
    os.makedirs(WORK, exist_ok=True)
    every_kind_of_part()
    three_sheets_then_one()
    for failure in FAILURES:
        print("FAIL:", failure)
    print("part_job_end_to_end:", "failed" if FAILURES else "passed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
