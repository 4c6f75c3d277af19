#!/usr/bin/python3
"""The controls end to end: `gantrel run` with the controls' test module runs a script that
operates the module's test dialog with dlg lines only; the transcript must equal the golden
one line by line (the work folder's path written as <work>).

Usage: ui_script.py GANTREL MODULE DRAWING SCRIPT GOLDEN WORK_FOLDER
"""
import difflib
import os
import shutil
import subprocess
import sys

GANTREL, MODULE, DRAWING, SCRIPT, GOLDEN, WORK = (os.path.abspath(a) for a in sys.argv[1:7])

shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
shutil.copyfile(DRAWING, os.path.join(WORK, "plan.dxf"))
shutil.copyfile(SCRIPT, os.path.join(WORK, "controls.scr"))
with open(os.path.join(WORK, "empty.reg"), "w", encoding="utf-8") as reg:
    reg.write("Windows Registry Editor Version 5.00\n")
env = {
    "GANTREL_MODULE": MODULE,
    "GANTREL_REGISTRY": os.path.join(WORK, "empty.reg"),
    "HOME": WORK,
    "PATH": "/usr/bin:/bin",
}
run = subprocess.run([GANTREL, "run", "plan.dxf", "controls.scr"], cwd=WORK, env=env,
                     capture_output=True, text=True, timeout=120, check=False)
got = run.stdout.replace(os.path.realpath(WORK), "<work>").replace(WORK, "<work>")
with open(GOLDEN, encoding="utf-8") as golden:
    expected = golden.read()
if run.returncode != 0 or got != expected:
    sys.stdout.writelines(difflib.unified_diff(expected.splitlines(True), got.splitlines(True),
                                               "golden", "transcript"))
    print("\nexit status", run.returncode, "\nstderr:\n" + run.stderr)
    if len(sys.argv) > 7 and sys.argv[7] == "--write":
        with open(GOLDEN, "w", encoding="utf-8") as golden:
            golden.write(got)
    sys.exit(1)
