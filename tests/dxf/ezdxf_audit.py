#!/usr/bin/python3
"""Reads DXF files with ezdxf and audits them. Lists every error, fix and warning the audit
reports; exits with 1 when a file cannot be read or its audit reports errors.

Usage: ezdxf_audit.py FILE_OR_FOLDER...   (a folder stands for the *.dxf files in it)
"""
import pathlib
import sys

import ezdxf
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
    return not auditor.has_errors


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
