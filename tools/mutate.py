#!/usr/bin/env python3
"""Plants one fault at a time in a source file and sees whether the tests notice.

usage: tools/mutate.py --build DIR --target TARGET --test CMD [--sample N] [--seed S] [--timeout T] FILE...

For every mutant of FILE (or N sampled ones), the file is changed in place, TARGET is built in
DIR (ninja), and CMD is run from DIR: a failing build or a failing CMD kills the mutant. The file
is restored after each mutant and at the end, whatever happens. Prints each survivor with its line
and the score per file; exits 0.
"""
import argparse
import random
import os
import re
import signal
import subprocess
import sys

# (pattern, replacement) pairs applied at one match at a time.
OPERATORS = [
    (r"(?<![<>=!])==(?!=)", "!="),
    (r"!=", "=="),
    (r"(?<![<>-])<=", "<"),
    (r"(?<![<>-])>=", ">"),
    (r"(?<![<>=-])<(?![<=])", "<="),
    (r"(?<![<>=-])>(?![>=])", ">="),
    (r"&&", "||"),
    (r"\|\|", "&&"),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r"(?<![\w.])([1-9]\d*)(?![\w.x])", lambda m: str(int(m.group(1)) + 1)),
    (r"(?<![\w.])0(?![\w.x])", "1"),
    (r"\+\+", "--"),
    (r"(?<![+])\+(?![+=])", "-"),
    (r"(?<![-])-(?![->=])", "+"),
    (r"!(?!=)(?=[\w(])", ""),
]

SKIP = re.compile(r"^\s*(#|//|\*|/\*)")
TEMPLATE = re.compile(r"template\s*<|#include|std::\w+<|<[\w:]+>|->")


def mutants(lines):
    out = []
    for number, line in enumerate(lines):
        if SKIP.match(line) or not line.strip():
            continue
        code = line.split("//", 1)[0]
        for pattern, repl in OPERATORS:
            for m in re.finditer(pattern, code):
                if pattern.startswith("(?<![<>=-])<") or pattern.startswith("(?<![<>=-])>"):
                    if TEMPLATE.search(code):
                        continue
                new = code[: m.start()] + (repl(m) if callable(repl) else repl) + code[m.end():]
                out.append((number, line, new + line[len(code):]))
        # a statement left out
        stripped = code.strip()
        if stripped.endswith(";") and not re.match(r"^(return|break|continue|case|default|[\w:<>,\s*&]+\s+\w+\s*(=|;|\())", stripped):
            indent = line[: len(line) - len(line.lstrip())]
            out.append((number, line, indent + "/* left out */\n"))
    return out


def run(cmd, cwd, timeout=None):
    # a mutant that makes the tests hang is caught as well as one that makes them fail
    proc = subprocess.Popen(cmd, cwd=cwd, shell=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        return 124


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", required=True)
    p.add_argument("--target", required=True)
    p.add_argument("--test", required=True)
    p.add_argument("--sample", type=int, default=40, help="mutants per file; 0 for every one")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--timeout", type=int, default=60, help="seconds a test run may take before it counts as caught")
    p.add_argument("files", nargs="+")
    a = p.parse_args()
    total_killed = total = 0
    for path in a.files:
        original = open(path, encoding="utf-8").read()
        lines = original.splitlines(keepends=True)
        candidates = mutants(lines)
        random.Random(a.seed).shuffle(candidates)
        if a.sample:
            candidates = candidates[: a.sample]
        killed = 0
        try:
            for number, old, new in candidates:
                changed = lines[:]
                changed[number] = new if new.endswith("\n") else new + "\n"
                open(path, "w", encoding="utf-8").write("".join(changed))
                dead = run(f"ninja {a.target}", a.build) != 0 or run(a.test, a.build, a.timeout) != 0
                killed += dead
                if not dead:
                    print(f"survived {path}:{number + 1}: {old.strip()}  ->  {new.strip()}", flush=True)
        finally:
            open(path, "w", encoding="utf-8").write(original)
        run(f"ninja {a.target}", a.build)
        n = len(candidates)
        total += n
        total_killed += killed
        print(f"{path}: {killed} of {n} killed ({100 * killed // max(n, 1)} %)", flush=True)
    print(f"all: {total_killed} of {total} killed ({100 * total_killed // max(total, 1)} %)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
