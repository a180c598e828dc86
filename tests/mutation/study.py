#!/usr/bin/env python3
"""The mutation study: puts each fault of faults.txt into a scratch copy of the tree, one at a
time, builds it, runs the suite and prints which tests catch the fault (fail with it and pass
without it). The tree itself is never changed. It takes long (a build and a suite run per fault),
so CI does not run it (README, "Reliability checks").

--revision REV studies a commit's files instead of the working tree's (the faults are always
this list's). The copy is kept between runs (default /tmp/corvela-mutation-<user>/<the tree's
folder name>), built with ccache like any build of the tree: after the first build, each fault
rebuilds one file.

The test server's copies of the tests ("servidor." tests) are left out of the study, except for
the faults marked "server: yes", which run only them: the embedded engine never runs that code.
--server runs them for every fault as well.

  python3 tests/mutation/study.py [--faults F01,F05] [--server] [--revision REV]
                                  [--scratch DIR] [--jobs N] [--table FILE]
"""
import argparse
import getpass
import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

TREE = Path(__file__).resolve().parents[2]
FAULTS = Path(__file__).resolve().parent / "faults.txt"
EMBEDDED_ONLY = ["-E", r"^(servidor\.|test_server_)"]
SERVER_ONLY = ["-R", r"^servidor\."]


def read_faults(path):
    """The faults of the list, in order, each a dict of its id, text and keys."""
    faults, current = [], None
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("#") or not line.strip():
            continue
        m = re.match(r"^\[(\w+)\] (.*)$", line)
        if m:
            current = {"id": m.group(1), "what": m.group(2), "server": "no"}
            faults.append(current)
            continue
        key, sep, value = line.partition(": ")
        if not sep or current is None or key not in ("file", "find", "replace", "server"):
            sys.exit(f"{path}: cannot read the line: {line}")
        current[key] = value
    for f in faults:
        for key in ("file", "find", "replace"):
            if key not in f:
                sys.exit(f"{path}: fault {f['id']} has no {key}:")
    return faults


def run(cmd, cwd, log=None):
    """Runs a command; its exit status, its output appended to `log` when given."""
    with open(log, "a") if log else open(os.devnull, "w") as out:
        return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def tree_files(revision, scratch):
    """The folder holding the files to study and their names: the working tree's (tracked and new
    ones), or those of `revision` exported into the scratch folder."""
    if not revision:
        listed = subprocess.run(
            ["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
            cwd=TREE, capture_output=True, check=True).stdout.decode().split("\0")
        return TREE, {name for name in listed if name and (TREE / name).is_file()}
    export = scratch / "export"
    shutil.rmtree(export, ignore_errors=True)
    export.mkdir(parents=True)
    archive = subprocess.run(["git", "archive", revision], cwd=TREE, capture_output=True,
                             check=True).stdout
    subprocess.run(["tar", "-x", "-C", str(export)], input=archive, check=True)
    return export, {p.relative_to(export).as_posix() for p in export.rglob("*") if p.is_file()}


def sync_copy(source, wanted, scratch):
    """Makes scratch/tree hold the files `wanted` of `source`, touching only what changed."""
    copy = scratch / "tree"
    for name in wanted:
        data = (source / name).read_bytes()
        target = copy / name
        if target.is_file() and target.read_bytes() == data:
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        shutil.copymode(source / name, target)
    for target in copy.rglob("*"):
        if target.is_file() and target.relative_to(copy).as_posix() not in wanted:
            target.unlink()
    return copy


def failed_tests(build, jobs, selection):
    """Runs the suite's selected tests; the names of those that failed, and the seconds taken."""
    log = build / "Testing" / "Temporary" / "LastTestsFailed.log"
    if log.exists():
        log.unlink()
    start = time.monotonic()
    run(["ctest", "--test-dir", str(build), "-j", str(jobs), "--timeout", "300"] + selection,
        build)
    seconds = time.monotonic() - start
    if not log.exists():
        return set(), seconds
    names = set()
    for line in log.read_text().splitlines():
        _, _, name = line.partition(":")
        if name:
            names.add(name)
    return names, seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--faults", help="the ids to study, comma-separated (default: all)")
    parser.add_argument("--server", action="store_true",
                        help="run the test server's copies for every fault too")
    parser.add_argument("--revision", help="study this commit's files, not the working tree's")
    parser.add_argument("--scratch", type=Path,
                        default=Path("/tmp") / f"corvela-mutation-{getpass.getuser()}" / TREE.name)
    parser.add_argument("--jobs", type=int, default=2, help="tests run at once (default 2)")
    parser.add_argument("--table", type=Path, help="also write the table, in Markdown, here")
    args = parser.parse_args()

    faults = read_faults(FAULTS)
    if args.faults:
        chosen = args.faults.split(",")
        faults = [f for f in faults if f["id"] in chosen]
    copy = sync_copy(*tree_files(args.revision, args.scratch), args.scratch)
    build = args.scratch / "build"
    log = args.scratch / "study.log"
    log.write_text("")
    for f in faults:
        text = (copy / f["file"]).read_text(encoding="utf-8")
        if text.count(f["find"]) != 1:
            sys.exit(f"{f['id']}: {f['file']} holds its text {text.count(f['find'])} times, not once")

    if not (build / "build.ninja").exists():
        run(["cmake", "-S", str(copy), "-B", str(build), "-G", "Ninja",
             "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DBUILD_TESTING=ON",
             "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"], copy, log)
    if run(["cmake", "--build", str(build)], copy, log) != 0:
        sys.exit(f"the copy does not build; see {log}")

    def selection(fault):
        if fault["server"] == "yes":
            return SERVER_ONLY
        return [] if args.server else EMBEDDED_ONLY

    # Tests that fail without any fault catch nothing.
    baseline = {}
    for sel in {tuple(selection(f)) for f in faults}:
        baseline[sel], seconds = failed_tests(build, args.jobs, list(sel))
        print(f"without a fault ({' '.join(sel) or 'every test'}): {seconds:.0f} s, "
              f"{len(baseline[sel])} failing {sorted(baseline[sel])}", flush=True)

    rows = []
    for f in faults:
        path = copy / f["file"]
        original = path.read_bytes()
        path.write_bytes(original.decode("utf-8").replace(f["find"], f["replace"]).encode("utf-8"))
        try:
            if run(["cmake", "--build", str(build)], copy, log) != 0:
                caught, note = None, "does not build"
            else:
                sel = tuple(selection(f))
                failed, seconds = failed_tests(build, args.jobs, list(sel))
                caught, note = sorted(failed - baseline[sel]), f"{seconds:.0f} s"
        finally:
            path.write_bytes(original)
        rows.append((f, caught))
        shown = "-" if caught is None else str(len(caught))
        print(f"{f['id']}  {shown:>4}  {f['what']}  ({note})", flush=True)
        for name in caught or []:
            print(f"        {name}", flush=True)
    run(["cmake", "--build", str(build)], copy, log)

    if args.table:
        lines = ["| Fault | What goes wrong | Tests that catch it |", "|---|---|---|"]
        for f, caught in rows:
            tests = "does not build" if caught is None else (
                f"{len(caught)}: " + ", ".join(caught) if caught else "**none**")
            lines.append(f"| {f['id']} | {f['what']} | {tests} |")
        args.table.write_text("\n".join(lines) + "\n")
    missed = [f["id"] for f, caught in rows if caught == []]
    print(f"caught {sum(1 for _, c in rows if c)} of {len(rows)}; not caught: {missed or 'none'}")


if __name__ == "__main__":
    main()
