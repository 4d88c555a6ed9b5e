#!/usr/bin/env python3
"""Plants one known fault in the program's source, runs tests, and restores the source.

    tools/plant/plant-fault.py list
    tools/plant/plant-fault.py run [ID ...] [--build DIR] [--tests REGEX] [--root TREE]

Each fault of faults.txt replaces one snippet of one file. `run` first builds the unplanted tree
and runs every chosen fault's tests on it: a test that fails there makes its faults errors of the
tool, not catches. Then, fault by fault, it plants, rebuilds, runs the fault's tests (or --tests)
under scripts/test-env.sh and restores the file whatever happens. Verdicts:

    CAUGHT          a named test failed (or timed out) on the planted tree
    MISSED          every named test passed
    DOES NOT BUILD  the planted tree does not compile: no test saw it
    ERROR           the tool or the harness failed (no test result, a snippet not found once, a
                    test that fails on the unplanted tree)

The last line counts each verdict; the exit code is 0 only when every fault was caught. The tree
is rebuilt clean at the end. --root plants in another checkout (an older one, to compare suites).
"""
import argparse
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
VERDICTS = ("CAUGHT", "MISSED", "DOES NOT BUILD", "ERROR")
RESULT_LINE = re.compile(r"^\s*\d+/\d+ Test\s+#\d+: (\S+) \.*\s*(\*{3}\w+(?: \w+)*|Passed)", re.M)


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


def run_tests(root, build, tests, screen):
    """The named tests under the test environment: (results {name: outcome}, why none came)."""
    env = dict(os.environ, BUILD_DIR=os.path.join(root, "build"))
    if screen:
        env["XVFB_SCREEN"] = screen
    command = ["scripts/test-env.sh", "ctest", "--test-dir", build, "-R", tests, "--timeout", "240"]
    try:
        result = run(command, root, env=env, timeout=3600)
    except subprocess.TimeoutExpired:
        return {}, "the test run did not end within an hour"
    results = {name: outcome for name, outcome in RESULT_LINE.findall(result.stdout)}
    if not results:
        tail = (result.stdout + result.stderr).strip().splitlines()[-3:]
        return {}, "no test ran: " + " / ".join(tail)
    return results, ""


def failures(results):
    return sorted(name for name, outcome in results.items() if outcome != "Passed")


def plant_and_test(fault, root, build, tests):
    path = os.path.join(root, fault["file"])
    original = open(path, encoding="utf-8").read()
    if original.count(fault["old"]) != 1:
        return "ERROR", "snippet found %d times" % original.count(fault["old"])
    try:
        open(path, "w", encoding="utf-8").write(original.replace(fault["old"], fault["new"]))
        built = run(["cmake", "--build", build, "-j2"], root)
        if built.returncode != 0:
            return "DOES NOT BUILD", ""
        results, why = run_tests(root, build, tests, fault.get("screen"))
        if why:
            return "ERROR", why
        failed = failures(results)
        if failed:
            return "CAUGHT", " ".join("%s (%s)" % (n, results[n].strip("*")) for n in failed)
        return "MISSED", "%d tests passed" % len(results)
    finally:
        open(path, "w", encoding="utf-8").write(original)


def baseline(chosen, root, build, override):
    """Runs every chosen fault's tests on the unplanted tree, once per screen: {fault id: why}."""
    errors = {}
    by_screen = {}
    for fault in chosen:
        by_screen.setdefault(fault.get("screen", ""), []).append(fault)
    for screen, faults in by_screen.items():
        regexes = sorted({override or f.get("tests", ".") for f in faults})
        # ctest's regular expressions take few groups: the branches are joined bare.
        results, why = run_tests(root, build, "|".join(regexes), screen)
        failed = failures(results)
        for fault in faults:
            regex = re.compile(override or fault.get("tests", "."))
            mine = [n for n in results if regex.search(n)]
            if why:
                errors[fault["id"]] = "unplanted tree: " + why
            elif not mine:
                errors[fault["id"]] = "no test matches " + regex.pattern
            elif any(n in failed for n in mine):
                errors[fault["id"]] = "fails unplanted: " + " ".join(n for n in mine if n in failed)
    return errors


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
    unknown = set(args.ids) - {f["id"] for f in faults}
    if unknown:
        print("no such fault: " + " ".join(sorted(unknown)))
        return 2
    built = run(["cmake", "--build", build, "-j2"], args.root)
    if built.returncode != 0:
        print("the unplanted tree does not build:\n" + built.stdout[-2000:] + built.stderr[-2000:])
        return 2
    errors = baseline(chosen, args.root, build, args.tests)
    counts = dict.fromkeys(VERDICTS, 0)
    try:
        for fault in chosen:
            if fault["id"] in errors:
                verdict, detail = "ERROR", errors[fault["id"]]
            else:
                verdict, detail = plant_and_test(fault, args.root, build,
                                                 args.tests or fault.get("tests", "."))
            counts[verdict] += 1
            print("%-5s %-14s %s | %s" % (fault["id"], verdict, fault["what"], detail), flush=True)
    finally:
        run(["cmake", "--build", build, "-j2"], args.root)
    print("%d planted: %s" % (len(chosen), ", ".join("%d %s" % (counts[v], v.lower()) for v in VERDICTS)))
    return 0 if counts["CAUGHT"] == len(chosen) else 1


if __name__ == "__main__":
    sys.exit(main())
