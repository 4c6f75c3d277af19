#!/usr/bin/env python3
"""Converts an ESICUP XML instance to the jagua-rs JSON layout read by the tests.

Usage: xml_to_json.py INSTANCE.xml > INSTANCE.json

The strip height is the y extent of the board; every lot piece becomes an item with its
quantity as demand, its orientation angles and its outline (the segment start points in order).
Coordinates are copied as written. A piece of quantity 1 placed unrotated by the file's shortest
solution gets that placement (a translation of its outline) as "solution_placement".
"""
import json
import sys
import xml.etree.ElementTree as ET


def main(path):
    root = ET.parse(path).getroot()
    ns = {"n": root.tag[1:].split("}")[0]} if root.tag.startswith("{") else {"n": ""}
    q = (lambda tag: "n:" + tag) if ns["n"] else (lambda tag: tag)
    outlines = {}
    for polygon in root.iter(root.tag.split("}")[0] + "}polygon" if ns["n"] else "polygon"):
        points = [[float(s.get("x0")), float(s.get("y0"))] for s in polygon.findall(f".//{q('segment')}", ns)]
        outlines[polygon.get("id")] = points
    problem = root.find(q("problem"), ns)
    board = problem.find(f"{q('boards')}/{q('piece')}/{q('component')}", ns)
    ys = [p[1] for p in outlines[board.get("idPolygon")]]
    # The shortest recorded solution, when the file has one: where each piece goes.
    placements = {}
    solutions = root.findall(f"{q('solutions')}/{q('solution')}", ns)
    solutions.sort(key=lambda sol: float(sol.findtext(f"{q('extraInfo')}/{q('solutionWidth')}", "inf", ns)))
    solution = solutions[0] if solutions else None
    if solution is not None:
        for placement in solution.findall(q("placement"), ns):
            if float(placement.get("angle", "0")) == 0.0:
                placements[placement.get("idPiece")] = [float(placement.get("x")), float(placement.get("y"))]
    items = []
    for index, piece in enumerate(problem.findall(f"{q('lot')}/{q('piece')}", ns)):
        shape = outlines[piece.find(q("component"), ns).get("idPolygon")]
        angles = [float(e.get("angle")) for e in piece.findall(f"{q('orientation')}/{q('enumeration')}", ns)]
        item = {
            "id": index,
            "demand": int(piece.get("quantity")),
            "allowed_orientations": angles or [0.0],
            "shape": {"type": "simple_polygon", "data": shape + [shape[0]]},
        }
        if piece.get("id") in placements and int(piece.get("quantity")) == 1:
            item["solution_placement"] = placements[piece.get("id")]
        items.append(item)
    name = path.rsplit("/", 1)[-1].rsplit(".", 1)[0]
    json.dump({"name": name, "strip_height": max(ys) - min(ys), "items": items}, sys.stdout)
    sys.stdout.write("\n")


if __name__ == "__main__":
    main(sys.argv[1])
