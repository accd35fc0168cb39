#!/usr/bin/env python3
"""Adds up the run's tests: host ctest log, the Win32 tests' GoogleTest XML reports, binary checks."""
import glob
import os
import re
import sys
import xml.etree.ElementTree as ET


def host_counts(log):
    text = open(log, encoding="utf-8", errors="replace").read()
    m = re.search(r"(\d+)% tests passed, (\d+) tests failed out of (\d+)", text)
    if not m:
        return 0, 1
    failed, total = int(m.group(2)), int(m.group(3))
    return total - failed, failed


def wine_counts(folder):
    passed = failed = 0
    for path in sorted(glob.glob(os.path.join(folder, "*.xml"))):
        root = ET.parse(path).getroot()
        tests = int(root.get("tests", 0)) - int(root.get("disabled", 0))
        bad = int(root.get("failures", 0)) + int(root.get("errors", 0))
        skipped = len(root.findall(".//skipped"))
        passed += tests - bad - skipped
        failed += bad
    return passed, failed


def check_counts(log):
    text = open(log, encoding="utf-8", errors="replace").read()
    m = re.search(r"(\d+) checks passed, (\d+) checks failed", text)
    return (int(m.group(1)), int(m.group(2))) if m else (0, 1)


def main():
    host_log, xml_dir, *check_logs = sys.argv[1:]
    parts = {"host": host_counts(host_log), "wine": wine_counts(xml_dir)}
    for log in check_logs:
        parts[os.path.basename(log)] = check_counts(log)
    for name, (p, f) in parts.items():
        print(f"  {name}: {p} passed, {f} failed")
    passed = sum(p for p, _ in parts.values())
    failed = sum(f for _, f in parts.values())
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
