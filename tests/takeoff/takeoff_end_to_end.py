#!/usr/bin/python3
"""The takeoff example end to end: gantrel runs the commands of the "Tallimo" group on the
bundled examples/takeoff.dxf, and ezdxf (not our reader) reads the drawing's takeoff store from
our DXF, before and after, with a clean audit.

Usage: takeoff_end_to_end.py GANTREL EXAMPLE_FOLDER WORK_FOLDER
"""
import os
import subprocess
import sys

import ezdxf

GANTREL, EXAMPLES, WORK = sys.argv[1], sys.argv[2], sys.argv[3]
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
    return condition


def run(name, drawing, lines, registry=None, output=None):
    """Runs the script lines on the drawing; the transcript, or None when gantrel failed."""
    folder = os.path.join(WORK, name)
    os.makedirs(folder, exist_ok=True)
    script = os.path.join(folder, "s.scr")
    with open(script, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    command = [GANTREL, "run", drawing, script]
    if registry:
        command += ["--registry", registry]
    if output:
        command += ["-o", output]
    done = subprocess.run(command, capture_output=True, text=True, timeout=300, cwd=folder)
    if not check(done.returncode == 0, f"{name}: exit {done.returncode}: {done.stderr}"):
        return None
    check(done.stderr == "", f"{name}: stderr: {done.stderr}")
    return done.stdout


def store_of(path):
    """The "Przedmiar" store as ezdxf reads it: {application: [values]}, and the audit's errors."""
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    errors = [e.message for e in auditor.errors]
    store = doc.rootdict.get("Przedmiar")
    if store is None:
        return None, errors
    entries = {}
    for app in ("Tallimo_Settings", "LOCATION", "DESCRIPTION"):
        if store.has_xdata(app):
            entries[app] = [value for code, value in store.get_xdata(app)
                            if check(code == 1000, f"{path}: {app}: group {code}")]
            check(app in doc.appids, f"{path}: {app} is no registered application")
    return entries, errors


def entry(path, app):
    doc = ezdxf.readfile(path)
    store = doc.rootdict.get("Przedmiar")
    if store is None or not store.has_xdata(app):
        return []
    return [value for _, value in store.get_xdata(app)]


def check_value_list_editor(example):
    """Values added under a tag, a stored value removed, lines imported and a tag copied; a
    removal is written at once and survives Cancel, additions only on OK."""
    folder = os.path.join(WORK, "values")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "values.txt"), "w", encoding="utf-8") as f:
        f.write("Terrazzo\nVinyl\n")
    edits = ["Tallimo:Attributes",
             "dlg choose 59204 AreaDescription/DESCRIPTION",
             "dlg click 59003", "dlg set 99 Marble floor", "dlg key 99 enter",
             "dlg click 59003",
             "dlg choose 59204 AreaDescription/LOCATION/Mezzanine", "dlg click 59006",
             "dlg choose 59204 CountDescription",
             "dlg click 59004", os.path.join(folder, "values.txt"),
             "dlg choose 59204 LengthDescription/LOCATION", "dlg click 59005",
             "dlg show"]
    cancelled = os.path.join(WORK, "values-cancelled.dxf")
    out = run("values-cancel", example, edits + ["dlg click 2"], output=cancelled)
    if out is None:
        return
    shown = out[out.find("dlg show"):]
    for item in ("AreaDescription/DESCRIPTION/Marble floor", "CountDescription/Terrazzo",
                 "CountDescription/Vinyl", "AreaDescription/LOCATION/Ground floor"):
        check(item in shown or item.split("/")[-1] in shown, f"values: {item} not shown\n{out}")
    check(entry(cancelled, "LOCATION") == ["Ground floor"],
          f"values: the removal did not survive Cancel: {entry(cancelled, 'LOCATION')}")
    check(entry(cancelled, "DESCRIPTION") == [], "values: Cancel wrote additions")

    saved = os.path.join(WORK, "values-saved.dxf")
    out = run("values-ok", example, ["(setq *Lokals* 1)"] + edits + ["dlg click 1", "!*Lokals*"],
              output=saved)
    if out is None:
        return
    description = entry(saved, "DESCRIPTION")
    # Stored first (none), then the drawing's references, then Tallimo.cfg, then the new value;
    # the second value added was left blank and is kept as the blank the user left.
    check(description[:2] == ["Oak parquet", "Ceramic tiles"] and "Marble floor" in description
          and "Concrete floor slab" in description, f"values: DESCRIPTION {description}")
    location = entry(saved, "LOCATION")
    check(location[0] == "Ground floor" and "Mezzanine" not in location and "Roof" in location,
          f"values: LOCATION {location}")
    check(entry(saved, "UNIT") == [], f"values: UNIT {entry(saved, 'UNIT')}")
    check(out.rstrip().endswith("nil"), f"values: companion not reset\n{out[-300:]}")
    entries, errors = store_of(saved)
    check(errors == [], f"values: audit: {errors}")


def check_settings_editor(example):
    """Settings changed on four pages, a template chosen with the "..." button, saved, read back
    in a new process; Cancel leaves the entry as it was."""
    template = os.path.join(EXAMPLES, "RoomDescription.dxf")
    saved = os.path.join(WORK, "settings-saved.dxf")
    out = run("settings-ok", example, [
        "(setq *DescBlockName* \"x\")",
        "Tallimo:Settings",
        "dlg choose 59301 Hatch", "dlg show", "dlg choose 59301 Drawing",
        "dlg choose 59303 Centimeters",
        "dlg choose 59301 Hatch", "dlg set 59403 25",
        "dlg choose 59301 Background", "dlg show", "dlg choose 59303 Frame",
        "dlg choose 59301 Area description", "dlg click 59304", template,
        "dlg choose 59503 ROOM_AREA", "dlg show",
        "dlg click 1", "!*DescBlockName*"], output=saved)
    if out is None:
        return
    # The drawing's entry sets only the hatch scale; the rest comes from Tallimo.ini.
    hatch = out[out.find("dlg show"):]
    check('[edit 59403 "50"]' in hatch and '"ANSI31"' in hatch,
          f"settings: merged hatch page\n{hatch[:800]}")
    check("Wipeout" in out[out.find("Background"):], f"settings: wipeout not shown\n{out}")
    lines = entry(saved, "Tallimo_Settings")
    for line in ("[Drawing]", "Units=Centimeters", "Precision=0.01", "[Hatch]", "Scale=25",
                 "Pattern=ANSI31", "[ArealDescription]", "AreaAttrName=ROOM_AREA",
                 f"Template={template}", "DescAttrName=DESCRIPTION", "[BackGround]",
                 "Type=frame"):
        check(line in lines, f"settings: {line} not saved: {lines}")
    check(out.rstrip().endswith("nil"), f"settings: companion not reset\n{out[-300:]}")
    doc = ezdxf.readfile(saved)
    check("RoomDescription" in doc.blocks, "settings: the template's block was not loaded")
    check(doc.audit().errors == [], "settings: audit")

    # A new process reads the saved settings back: centimetres now.
    again = run("settings-reopened", saved, ["Tallimo:MDist", "0,0", "3000,4000", ""])
    check(again is not None and "Total length: 500.0000" in again, f"settings reopened: {again}")

    # Cancel after changes leaves the entry exactly as it was.
    cancelled = os.path.join(WORK, "settings-cancelled.dxf")
    out = run("settings-cancel", saved, ["Tallimo:Settings", "dlg show",
                                         "dlg choose 59303 Meters", "dlg click 2"],
              output=cancelled)
    check(out is not None and '59303 "Centimeters"' in out, f"settings: read back\n{out}")
    check(entry(cancelled, "Tallimo_Settings") == lines, "settings: Cancel changed the entry")


def main():
    os.makedirs(WORK, exist_ok=True)
    example = os.path.join(EXAMPLES, "takeoff.dxf")
    expected = {"Tallimo_Settings": ["[Hatch]", "Scale=50"],
                "LOCATION": ["Mezzanine", "Ground floor"]}

    entries, errors = store_of(example)
    check(errors == [], f"example: audit: {errors}")
    check(entries is not None and all(entries.get(k) == v for k, v in expected.items()),
          f"example: store {entries}")

    # Metres reported on a millimetre drawing; the same point twice adds nothing; Enter at the
    # first point prints nothing.
    saved = os.path.join(WORK, "measured.dxf")
    out = run("mdist", example, ["Tallimo:MDist", "0,0", "3000,4000", "3000,4000", "3000,1000",
                                 "", "Tallimo:MDist", "", "!*Lokals*"], output=saved)
    if out is not None:
        totals = [line.strip() for line in out.split("\n") if line.startswith("Total length: ")]
        check(totals == ["Total length: 5.0000", "Total length: 5.0000", "Total length: 8.0000"],
              f"mdist: totals {totals}\n{out}")
        check("Specify next point" in out, f"mdist: no next-point prompt\n{out}")
        # The store came through unchanged, and the drawing reopens in a new process.
        entries, errors = store_of(saved)
        check(errors == [], f"mdist: audit: {errors}")
        check(entries == expected, f"mdist: store {entries}")
        again = run("reopened", saved, ["Tallimo:MDist", "10,10", "10,1010", ""])
        check(again is not None and "Total length: 1.0000" in again, f"reopened: {again}")

    # A suite without "Tallimo.ini" and a drawing without an entry of its own: every load
    # attempt reports the file and finds no units to report in, so plain drawing distances are
    # printed.
    bare = os.path.join(WORK, "bare.dxf")
    ezdxf.new("R2010").saveas(bare)
    empty_suite = os.path.join(WORK, "empty-suite")
    os.makedirs(empty_suite, exist_ok=True)
    registry = os.path.join(WORK, "empty-suite.reg")
    with open(registry, "w", encoding="utf-8") as f:
        f.write("Windows Registry Editor Version 5.00\n"
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Orvendel\\2027]\n"
                f"\"Path\"=\"{empty_suite}\"\n")
    out = run("no-ini", bare, ["Tallimo:MDist", "0,0", "0,250", "", "Tallimo:MDist", "0,0",
                                  "0,250", ""], registry=registry)
    if out is not None:
        missing = f"{empty_suite}\\Tallimo.ini!  es: "
        check(out.count(missing) == 2, f"no-ini: missing-file reports\n{out}")
        check(out.count("Total length: 250.0000") == 2, f"no-ini: totals\n{out}")

    # "AttManager" shows nothing, asks nothing and leaves the drawing as it was.
    out = run("attmanager", example, ["save before.dxf", "AttManager", "save after.dxf"])
    if out is not None:
        check("Command: AttManager\nCommand: save after.dxf" in out, f"attmanager:\n{out}")
        folder = os.path.join(WORK, "attmanager")
        with open(os.path.join(folder, "before.dxf"), "rb") as a, \
                open(os.path.join(folder, "after.dxf"), "rb") as b:
            check(a.read() == b.read(), "attmanager: the drawing changed")

    check_value_list_editor(example)
    check_settings_editor(example)

    for failure in FAILURES:
        print("FAILED:", failure)
    print(f"{0 if FAILURES else 1} passed, {1 if FAILURES else 0} failed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
