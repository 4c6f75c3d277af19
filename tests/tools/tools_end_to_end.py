#!/usr/bin/python3
"""The drawing tools end to end, judged by an independent reader.

Each case draws a small drawing with ezdxf (not with our writer), runs `gantrel run` on it with
a script, and reads the saved drawing back with ezdxf: the drawing must pass ezdxf's audit with
no errors, and the entities the command made are measured with ezdxf's own geometry.

Usage: tools_end_to_end.py GANTREL WORK_FOLDER
"""
import math
import os
import re
import shutil
import subprocess
import sys

import ezdxf
from ezdxf import bbox
from ezdxf import path as ezpath
from ezdxf.math import Vec3

GANTREL = sys.argv[1]
WORK = sys.argv[2]
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
    return condition


def near(a, b, tolerance=1e-9):
    return abs(a - b) <= tolerance


def run(name, doc, script):
    """Saves doc, runs the script on it; returns (saved drawing, transcript)."""
    folder = os.path.join(WORK, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    doc.saveas(os.path.join(folder, "in.dxf"))
    with open(os.path.join(folder, "s.scr"), "w") as f:
        f.write(script)
    result = subprocess.run([GANTREL, "run", "in.dxf", "s.scr", "-o", "out.dxf"], cwd=folder,
                            capture_output=True, text=True, timeout=120)
    check(result.returncode == 0, f"{name}: gantrel ended with {result.returncode}: "
                                  f"{result.stdout}{result.stderr}")
    out = ezdxf.readfile(os.path.join(folder, "out.dxf"))
    auditor = out.audit()
    check(not auditor.has_errors,
          f"{name}: audit errors: {[e.message for e in auditor.errors]}")
    return out, result.stdout, folder


def length(entity):
    """The entity's length by ezdxf's own geometry: polylines exactly piece by piece (ezdxf's
    paths approximate arcs by Bezier curves), other curves by fine flattening."""
    if entity.dxftype() == "LWPOLYLINE":
        total = 0.0
        for piece in entity.virtual_entities():
            if piece.dxftype() == "ARC":
                sweep = (piece.dxf.end_angle - piece.dxf.start_angle) % 360
                total += math.radians(sweep) * piece.dxf.radius
            else:
                total += math.dist(piece.dxf.start, piece.dxf.end)
        return total
    points = [(v.x, v.y) for v in ezpath.make_path(entity).flattening(1e-6)]
    return sum(math.dist(a, b) for a, b in zip(points, points[1:]))


def grid():
    doc = ezdxf.new("R2010")
    out, _, _ = run("kraty", doc, "Kraty\n30,20\n0,0\n3\n4\nKraty\n0,0\n30,20\n1\n0\n")
    lines = [((round(l.dxf.start.x, 9), round(l.dxf.start.y, 9)),
              (round(l.dxf.end.x, 9), round(l.dxf.end.y, 9))) for l in out.modelspace().query("LINE")]
    check(lines == [((x, 0), (x, 20)) for x in (0, 10, 20, 30)] +
          [((0, y), (30, y)) for y in (0, 10, 20)] + [((0, 0), (30, 0))],
          f"kraty: lines {lines}")


def export():
    doc = ezdxf.new("R2010")
    _, _, folder = run("export", doc, "T_PtExport\n1,2,0\n3.5,-4,10\n\npoints.csv\n")
    with open(os.path.join(folder, "points.csv"), "rb") as f:
        data = f.read()
    check(data == b"1.0000;2.0000;0.0000\r\n3.5000;-4.0000;10.0000\r\n", f"export: {data!r}")


def lengths():
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    arc = msp.add_arc((0, 0), 1, 0, 180)
    polyline = msp.add_lwpolyline([(10, 0, 0, 0, 1), (14, 0, 0, 0, 0), (14, 3)],
                                  format="xyseb")
    spline = msp.add_spline_control_frame([(0, 10), (3, 14), (6, 6), (9, 12), (12, 10)])
    ends = spline.construction_tool().control_points
    first, last = ends[0], ends[-1]
    script = (f"T_SumSubPoly\n#{arc.dxf.handle}\n1,0\n-1,0\n"
              f"#{polyline.dxf.handle}\n14,3\n10,0\n"
              f"#{spline.dxf.handle}\n{first.x},{first.y}\n{last.x},{last.y}\n^C\n")
    _, transcript, _ = run("lengths", doc, script)
    totals = [float(t) for t in re.findall(r"Total length:(-?[0-9.]+)", transcript)]
    if check(len(totals) == 3, f"lengths: totals {totals} in {transcript}"):
        check(near(totals[0], 3.1416, 1e-9), f"lengths: half circle {totals[0]}")
        check(near(totals[1] - totals[0], length(polyline), 2e-4),
              f"lengths: polyline {totals[1] - totals[0]} against {length(polyline)}")
        check(near(totals[2] - totals[1], length(spline), 2e-4),
              f"lengths: spline {totals[2] - totals[1]} against {length(spline)}")


def overrides(entity):
    """The dimension variables an entity overrides (extended data "ACAD" "DSTYLE"), by group
    code of the variable."""
    if not entity.has_xdata("ACAD"):
        return {}
    values = [tag.value for tag in entity.get_xdata("ACAD")]
    if "DSTYLE" not in values:
        return {}
    pairs = values[values.index("DSTYLE") + 2:]
    return {code: value for code, value in zip(pairs[0::2], pairs[1::2]) if code != "}"}


def arrows():
    doc = ezdxf.new("R2010")
    doc.header["$DIMASZ"] = 3.0
    doc.header["$DIMSCALE"] = 2.0
    out, _, _ = run("arrows", doc, "T_LZS\n0,0\n10,0\n10,0\n10,5\n\n")
    leaders = list(out.modelspace().query("LEADER"))
    check([[tuple(Vec3(v))[:2] for v in l.vertices] for l in leaders] == [[(10, 0), (0, 0)],
                                                                  [(10, 5), (10, 0)]],
          f"arrows: {[[tuple(v) for v in l.vertices] for l in leaders]}")
    for leader in leaders:
        check(leader.dxf.has_arrowhead == 1, "arrows: no arrowhead")
        style = overrides(leader)
        size = style.get(41, out.header["$DIMASZ"])
        scale = style.get(40, out.header["$DIMSCALE"])
        check(near(size, 3.0) and near(scale, 2.0), f"arrows: size {size} scale {scale}")


def blocks():
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    line = msp.add_line((0, 0), (10, 5))
    circle = msp.add_circle((20, 0), 2)
    doc.blocks.new("quickblock_1")
    before = bbox.extents([line, circle])
    out, _, _ = run("quickblock", doc, f"select #{line.dxf.handle} #{circle.dxf.handle}\n"
                                       "QuickBlock\n")
    inserts = list(out.modelspace().query("INSERT"))
    if check(len(inserts) == 1 and inserts[0].dxf.name == "QuickBlock_2",
             f"quickblock: {[i.dxf.name for i in inserts]}"):
        after = bbox.extents(inserts[0].virtual_entities())
        check(near(after.extmin.distance(before.extmin), 0, 1e-9) and
              near(after.extmax.distance(before.extmax), 0, 1e-9),
              f"quickblock: extents {after} against {before}")
    check(len(out.modelspace().query("LINE CIRCLE")) == 0, "quickblock: sources left")

    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    block = doc.blocks.new("B")
    block.add_line((0, 0), (1, 0))
    ref = msp.add_blockref("B", (100, 50), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 30})
    line = msp.add_line((100, 50), (110, 50))
    out, _, _ = run("addtoblock", doc, f"AddToBlock\n#{line.dxf.handle} #{ref.dxf.handle}\n"
                                       f"#{ref.dxf.handle}\n")
    lines = [(tuple(l.dxf.start)[:2], tuple(l.dxf.end)[:2]) for l in out.blocks["B"]]
    check(lines == [((0, 0), (1, 0)), ((0, 0), (10, 0))], f"addtoblock: block holds {lines}")
    refs = list(out.modelspace().query("INSERT"))
    check(len(refs) == 1 and near(refs[0].dxf.rotation, 30) and
          tuple(refs[0].dxf.insert)[:2] == (100, 50), "addtoblock: the reference moved")

    doc = ezdxf.new("R2010")
    block = doc.blocks.new("B")
    block.add_line((0, 0), (10, 0))
    block.add_line((0, 0), (0, 10))
    doc.modelspace().add_blockref("B", (100, 0))
    doc.modelspace().add_blockref("B", (200, 0))
    out, _, _ = run("removefromblock", doc, "RemoveFromBlock\n205,0\n^C\n")
    left = [(tuple(l.dxf.start)[:2], tuple(l.dxf.end)[:2]) for l in out.blocks["B"]]
    check(left == [((0, 0), (0, 10))], f"removefromblock: block holds {left}")


EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples",
                        "drawing-tools")


def examples():
    """The README's example scripts run on their drawing and print what the README says."""
    prints = {"kraty": "Number of vertical lines:<3>4",
              "t_ptexport": "3.5000, -4.0000, 10.0000\nSpecify point: \nSave As: points.csv",
              "t_sumsubpoly": "Total length:31.4159\nSelect object: 50,10\n\n"
                              "Specify first point: 30,0\n\nSpecify second point: 50,15\n"
                              "Total length:77.8319\n",
              "t_lzs": "Command: T_LZS", "quickblock": "Command: QuickBlock",
              "addtoblock": "Select the target block reference: 60,40",
              "removefromblock": "Nothing found at 500,500."}
    for name, text in prints.items():
        doc = ezdxf.readfile(os.path.join(EXAMPLES, "drawing-tools.dxf"))
        with open(os.path.join(EXAMPLES, name + ".scr")) as f:
            _, transcript, _ = run("example-" + name, doc, f.read())
        check(text in transcript, f"example {name}: {text!r} not in {transcript}")


def main():
    os.makedirs(WORK, exist_ok=True)
    for case in (grid, export, lengths, arrows, blocks, examples):
        case()
    for failure in FAILURES:
        print("FAILED:", failure)
    print(f"{len(FAILURES)} failures")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
