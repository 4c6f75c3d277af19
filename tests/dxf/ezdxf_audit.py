#!/usr/bin/python3
"""Reads DXF files with ezdxf and audits them. Lists every error and fix the audit reports, and
reads the ACIS data of every region with ezdxf's own SAT reader; exits with 1 when a file
cannot be read, its audit reports errors or a region's data cannot be read.

Usage: ezdxf_audit.py FILE_OR_FOLDER...   (a folder stands for the *.dxf files in it)
"""
import pathlib
import sys

import ezdxf
from ezdxf.acis import api as acis
from ezdxf.lldxf.const import DXFError


def files(arguments):
    for argument in arguments:
        path = pathlib.Path(argument)
        if path.is_dir():
            yield from sorted(path.glob("*.dxf"))
        else:
            yield path


def audit(path):
    try:
        doc = ezdxf.readfile(str(path))
    except (IOError, DXFError, UnicodeDecodeError, ValueError) as e:
        print(f"{path}: cannot be read: {e}")
        return False
    auditor = doc.audit()
    for fix in auditor.fixes:
        print(f"{path}: fixed: {fix.message}")
    for error in auditor.errors:
        print(f"{path}: ERROR: {error.message}")
    regions_ok = True
    for region in doc.entitydb.query("REGION"):
        try:
            bodies = acis.load(region.sat)
            faces = sum(len(shell.faces()) for body in bodies for lump in body.lumps()
                        for shell in lump.shells())
            if faces == 0:
                raise ValueError("no faces")
        except Exception as e:  # the reader's errors have no common base
            print(f"{path}: ERROR: REGION #{region.dxf.handle}: ACIS data not readable: {e}")
            regions_ok = False
    return not auditor.has_errors and regions_ok


def main():
    paths = list(files(sys.argv[1:]))
    if not paths:
        print("no DXF files to audit")
        return 1
    failed = [p for p in paths if not audit(p)]
    print(f"{len(paths)} files audited, {len(failed)} with errors")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
