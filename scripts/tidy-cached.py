#!/usr/bin/env python3
"""clang-tidy over translation units, skipping those it has passed before exactly as they are.

Usage: tidy-cached.py BUILD_DIR FILE...   (run from the source root)

A pass is remembered under a key made of everything clang-tidy's verdict depends on: its
version, the .clang-tidy file, the unit's compile flags and the unit as clang preprocesses it
(every header it includes, expanded, with comments, since NOLINT marks count). A unit whose key
has passed before is not checked again; any change to it, to a header it includes or to the
configuration gives a new key. Failures are never remembered. Paths under the source root are
written relative to it, so that every clone shares the memory. It lives in ~/.cache/quillo-tidy (or $QUILLO_TIDY_CACHE); keys unused for
30 days are removed.

Prints clang-tidy's findings, and exits non-zero when any unit has one.
"""

import hashlib
import json
import os
import shlex
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor


def cache_dir():
    if os.environ.get("QUILLO_TIDY_CACHE"):
        return os.environ["QUILLO_TIDY_CACHE"]
    base = os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache")
    return os.path.join(base, "quillo-tidy")


def compile_flags(entry):
    """The entry's arguments without the compiler, its output and -c."""
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    flags, skip = [], False
    for arg in args[1:]:
        if skip:
            skip = False
        elif arg == "-o":
            skip = True
        elif arg != "-c":
            flags.append(arg)
    return flags


def main():
    build, files = sys.argv[1], sys.argv[2:]
    root = os.getcwd()
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        commands = {os.path.realpath(e["file"]): e for e in json.load(f)}
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, check=True).stdout
    with open(".clang-tidy", "rb") as f:
        config = f.read()
    cache = cache_dir()
    os.makedirs(cache, exist_ok=True)

    def key(path):
        entry = commands.get(os.path.realpath(path))
        if entry is None:
            return None
        flags = compile_flags(entry)
        unit = subprocess.run(["clang++", "-E", "-C", "-w", *flags], cwd=entry["directory"],
                              capture_output=True, check=False)
        if unit.returncode != 0:
            return None
        digest = hashlib.sha256()
        for part in (version, config, path.encode(), " ".join(flags).encode(), unit.stdout):
            part = part.replace(root.encode(), b"<root>")
            digest.update(len(part).to_bytes(8, "little"))
            digest.update(part)
        return digest.hexdigest()

    def check(path):
        stamp = key(path)
        stamp = os.path.join(cache, stamp) if stamp else None
        if stamp and os.path.exists(stamp):
            os.utime(stamp)
            return True, True, b""
        result = subprocess.run(["clang-tidy", "-p", build, "--quiet", path],
                                capture_output=True, check=False)
        passed = result.returncode == 0
        if passed and stamp:
            with open(stamp, "wb"):
                pass
        return passed, False, result.stdout

    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        results = list(pool.map(check, files))

    remembered = sum(1 for _, known, _ in results if known)
    failed = 0
    for path, (passed, _, output) in zip(files, results):
        if not passed:
            failed += 1
            sys.stdout.write(output.decode(errors="replace") or f"{path}: clang-tidy failed\n")
    print(f"clang-tidy: {len(files) - remembered} checked, {remembered} unchanged since a pass, "
          f"{failed} with findings")

    month = time.time() - 30 * 24 * 3600
    for name in os.listdir(cache):
        stamp = os.path.join(cache, name)
        if os.path.getmtime(stamp) < month:
            os.remove(stamp)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
