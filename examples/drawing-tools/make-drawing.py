#!/usr/bin/python3
"""Draws drawing-tools.dxf, the small drawing the README's drawing-tool examples run on, with
ezdxf; `gantrel run` then saves it again with our own writer:

    /usr/bin/python3 make-drawing.py /tmp/drawn.dxf
    gantrel run /tmp/drawn.dxf /dev/null -o drawing-tools.dxf
"""
import sys

import ezdxf

doc = ezdxf.new("R2010")
doc.header["$INSUNITS"] = 4
doc.header["$DIMASZ"] = 2.5
doc.header["$DIMSCALE"] = 1.0
msp = doc.modelspace()
# Measuring: a half circle of radius 10, and a polyline with a half-circle bulge and a leg.
msp.add_arc((0, 0), 10, 0, 180)
msp.add_lwpolyline([(30, 0, 0, 0, 1), (50, 0, 0, 0, 0), (50, 15)], format="xyseb")
# QuickBlock: a line and a circle.
msp.add_line((0, 40), (20, 50))
msp.add_circle((30, 45), 5)
# A block "Frame" with two references, one turned 30 degrees and scaled 2.
frame = doc.blocks.new("Frame")
frame.add_line((0, 0), (10, 0))
frame.add_line((0, 0), (0, 5))
msp.add_blockref("Frame", (60, 40), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 30})
msp.add_blockref("Frame", (100, 40))
# AddToBlock: a small circle; RemoveFromBlock: a plain line.
msp.add_circle((70, 70), 2)
msp.add_line((0, 80), (20, 80))
doc.saveas(sys.argv[1] if len(sys.argv) > 1 else "drawing-tools-drawn.dxf")
