#!/usr/bin/env python3
"""Counts the results of a scripts/test run and prints the closing line.

Test cases are counted from GoogleTest's XML reports (GTEST_OUTPUT=xml:<dir>/
writes one <program>.xml per test program). CTest's JUnit report says which
programs failed: a failed program that left no report, or whose report has no
failed case (it crashed, leaked under ASan, or hung), counts as one failed
case more, so a crash can never go unnoticed. A program that passed but left
no report counts as one failed case too.

Usage: test_summary.py RESULTS_DIR
RESULTS_DIR holds, for each suite (host, windows): <suite>/ctest.json
(ctest --show-only=json-v1), <suite>/junit.xml (ctest --output-junit) and
<suite>/gtest/*.xml; plus extra.txt with lines "<kind> <name> passed|failed"
(fuzz smoke runs, builds). Prints one line per program and, last,
"N passed, N failed". Exits 1 if anything failed.
"""

import json
import os
import re
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path):
    """(passed, failed, skipped) of one GoogleTest XML report, or None."""
    try:
        root = ET.parse(path).getroot()
    except (ET.ParseError, OSError):
        return None
    passed = failed = skipped = 0
    for case in root.iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("status", "run") != "run" or case.get("result") in ("skipped", "suppressed"):
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped


def program_of(command):
    """The test program of a CTest command: the first argument that is not the
    cross-compiling emulator (scripts/wine-run)."""
    for arg in command or []:
        if os.path.basename(arg) != "wine-run":
            return os.path.splitext(os.path.basename(arg))[0]
    return None


def report_name(test):
    """The name of a test's GoogleTest report: LUMARO_GTEST_REPORT in its
    ENVIRONMENT (a program run once more, see scripts/wine-run), else the
    program's name."""
    for prop in test.get("properties") or []:
        if prop.get("name") == "ENVIRONMENT":
            for entry in prop.get("value") or []:
                if entry.startswith("LUMARO_GTEST_REPORT="):
                    return entry.split("=", 1)[1]
    return program_of(test.get("command"))


def ctest_results(junit_path):
    """{test name: True if CTest counted it as passed}, or None."""
    try:
        root = ET.parse(junit_path).getroot()
    except (ET.ParseError, OSError):
        return None
    results = {}
    for case in root.iter("testcase"):
        status = case.get("status", "")
        if status == "disabled":
            continue
        ok = status == "run" and case.find("failure") is None and case.find("error") is None
        results[case.get("name")] = ok
    return results


def suite(results_dir, name, lines):
    base = os.path.join(results_dir, name)
    try:
        with open(os.path.join(base, "ctest.json"), encoding="utf-8") as f:
            tests = json.load(f).get("tests", [])
    except (OSError, ValueError):
        lines.append((f"{name}", "ctest", 0, 1, 0, "no test list"))
        return
    ctest = ctest_results(os.path.join(base, "junit.xml"))
    if ctest is None:
        lines.append((f"{name}", "ctest", 0, 1, 0, "ctest did not report"))
        return
    reports_dir = os.path.join(base, "gtest")
    reports = os.listdir(reports_dir) if os.path.isdir(reports_dir) else []
    for test in tests:
        tname = test.get("name")
        if tname not in ctest:
            continue  # disabled
        program = report_name(test)
        pattern = re.compile(re.escape(program or "") + r"(_\d+)?\.xml$")
        files = [f for f in reports if pattern.fullmatch(f)]
        passed = failed = skipped = 0
        parsed = 0
        for f in files:
            counts = gtest_counts(os.path.join(reports_dir, f))
            if counts:
                parsed += 1
                passed += counts[0]
                failed += counts[1]
                skipped += counts[2]
        note = ""
        if not ctest[tname]:
            if parsed == 0:
                failed += 1
                note = "failed without a GoogleTest report: not built, crashed or timed out"
            elif failed == 0:
                failed += 1
                note = "exited with an error although every case passed"
        elif parsed == 0:
            # Every test program here is a GoogleTest one: a missing report
            # means the run cannot be trusted (wrong GTEST_OUTPUT handling...).
            failed += 1
            note = "passed but wrote no GoogleTest report"
        lines.append((name, tname, passed, failed, skipped, note))


def main():
    results_dir = sys.argv[1]
    lines = []
    for name in ("host", "windows"):
        if os.path.isdir(os.path.join(results_dir, name)):
            suite(results_dir, name, lines)
    extra = os.path.join(results_dir, "extra.txt")
    if os.path.exists(extra):
        with open(extra, encoding="utf-8") as f:
            for row in f:
                parts = row.split()
                if len(parts) >= 3:
                    ok = parts[2] == "passed"
                    lines.append((parts[0], parts[1], int(ok), int(not ok), 0, " ".join(parts[3:])))
    total_passed = sum(line[2] for line in lines)
    total_failed = sum(line[3] for line in lines)
    total_skipped = sum(line[4] for line in lines)
    print("---- results")
    for kind, what, passed, failed, skipped, note in lines:
        text = f"{kind:8} {what:28} {passed:5} passed, {failed} failed"
        if skipped:
            text += f", {skipped} skipped"
        if note:
            text += f"  ({note})"
        print(text)
    if total_skipped:
        print(f"({total_skipped} test cases skipped or disabled)")
    print(f"{total_passed} passed, {total_failed} failed", flush=True)
    return 1 if total_failed else 0


if __name__ == "__main__":
    sys.exit(main())
