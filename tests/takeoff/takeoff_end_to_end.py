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

    for failure in FAILURES:
        print("FAILED:", failure)
    print(f"{0 if FAILURES else 1} passed, {1 if FAILURES else 0} failed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
