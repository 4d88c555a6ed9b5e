#!/usr/bin/env python3
"""Plants one known fault in the program's source, runs tests, and restores the source.

    tools/plant/plant-fault.py list
    tools/plant/plant-fault.py run ID [ID ...] [--build DIR] [--tests REGEX] [--root TREE]

Each fault of faults.txt replaces one snippet of one file. `run` applies it, rebuilds the Windows
build, runs the fault's tests (or --tests) under scripts/test-env.sh, restores the file whatever
happens, and reports CAUGHT (some test failed) or MISSED, with the failing tests. The tree is
rebuilt clean at the end. --root plants in another checkout (an older one, to compare suites).
"""
import argparse
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def load_faults(path):
    faults, current = [], None
    for raw in open(path, encoding="utf-8"):
        line = raw.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            continue
        head = re.match(r"\[(\w+)\]\s*(.*)", line)
        if head:
            current = {"id": head.group(1), "what": head.group(2)}
            faults.append(current)
            continue
        key, _, value = line.partition("=")
        current[key.strip()] = value.strip().replace("\\n", "\n")
    return faults


def run(command, root, **kwargs):
    return subprocess.run(command, cwd=root, text=True, capture_output=True, **kwargs)


def plant_and_test(fault, root, build, tests):
    path = os.path.join(root, fault["file"])
    original = open(path, encoding="utf-8").read()
    if original.count(fault["old"]) != 1:
        return "UNPLANTABLE", "snippet found %d times" % original.count(fault["old"])
    try:
        open(path, "w", encoding="utf-8").write(original.replace(fault["old"], fault["new"]))
        built = run(["cmake", "--build", build, "-j2"], root)
        if built.returncode != 0:
            return "CAUGHT", "the build fails"
        env = dict(os.environ, BUILD_DIR=os.path.join(root, "build"))
        if fault.get("screen"):
            env["XVFB_SCREEN"] = fault["screen"]
        result = run(["scripts/test-env.sh", "ctest", "--test-dir", build, "-R", tests, "--timeout", "240"], root, env=env)
        failed = re.findall(r"^\s*\d+ - (\S+) \((?!Skipped|Disabled)", result.stdout, re.M)
        if result.returncode != 0:
            return "CAUGHT", " ".join(failed) or result.stdout[-300:]
        return "MISSED", ""
    finally:
        open(path, "w", encoding="utf-8").write(original)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("action", choices=["list", "run"])
    parser.add_argument("ids", nargs="*")
    parser.add_argument("--faults", default=os.path.join(HERE, "faults.txt"))
    parser.add_argument("--root", default=ROOT)
    parser.add_argument("--build", help="the Windows build tree (ROOT/build/win64)")
    parser.add_argument("--tests", help="ctest regex instead of each fault's own")
    args = parser.parse_args()
    faults = load_faults(args.faults)
    if args.action == "list":
        for f in faults:
            print("%-5s %-40s %s" % (f["id"], f["file"], f["what"]))
        return 0
    build = args.build or os.path.join(args.root, "build", "win64")
    chosen = [f for f in faults if not args.ids or f["id"] in args.ids]
    missed = 0
    try:
        for fault in chosen:
            verdict, detail = plant_and_test(fault, args.root, build, args.tests or fault.get("tests", "."))
            missed += verdict != "CAUGHT"
            print("%-5s %-11s %s | %s" % (fault["id"], verdict, fault["what"], detail), flush=True)
    finally:
        run(["cmake", "--build", build, "-j2"], args.root)
    print("%d planted, %d caught, %d missed" % (len(chosen), len(chosen) - missed, missed))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
