#!/usr/bin/env python3
"""Plays a scenario script through vantrell-sim and checks the states it reaches.

A script is driver commands, one a line, with checks between them:

    expect PATH = JSON     the member at PATH equals the JSON value
    expect PATH ~ TEXT     the text at PATH (or any text in the list there) contains TEXT
    expect PATH # N        the list at PATH has N entries
    restart                ends this run of the driver; the next starts on the same folder
    exit N                 this run of the driver must end with status N (default 0)

PATH is dotted: panels.0.lblScoreLeft, grids.grdStats.0.1.1. Consecutive checks
share one `state`. Every run uses one fresh program folder.
"""
import json
import subprocess
import sys
import tempfile


def lookup(state, path):
    node = state
    for part in path.split("."):
        if isinstance(node, list):
            node = node[int(part)]
        else:
            node = node[part]
    return node


def check(state, check_line, where):
    for op in (" = ", " ~ ", " # "):
        if op in check_line:
            path, expected = check_line.split(op, 1)
            break
    else:
        return f"{where}: cannot read check '{check_line}'"
    try:
        actual = lookup(state, path.strip())
    except (KeyError, IndexError, ValueError, TypeError):
        return f"{where}: no member {path.strip()}"
    if op == " = ":
        want = json.loads(expected)
        if actual != want:
            return f"{where}: {path.strip()} is {json.dumps(actual)}, expected {json.dumps(want)}"
    elif op == " ~ ":
        texts = actual if isinstance(actual, list) else [actual]
        if not any(isinstance(t, str) and expected in t for t in texts):
            return f"{where}: {path.strip()} is {json.dumps(actual)}, expected to contain {expected!r}"
    else:
        if len(actual) != int(expected):
            return f"{where}: {path.strip()} has {len(actual)} entries, expected {expected}"
    return None


def run_segment(sim, home, lines, expected_exit, name):
    commands, checks = [], []  # checks: (index of state output, line number, text)
    states = 0
    pending = []
    for number, text in lines:
        if text.startswith("expect "):
            pending.append((number, text[len("expect "):]))
            continue
        if pending:
            commands.append("state")
            checks.extend((states, n, t) for n, t in pending)
            states += 1
            pending = []
        commands.append(text)
    if pending:
        commands.append("state")
        checks.extend((states, n, t) for n, t in pending)
        states += 1
    proc = subprocess.run([sim, "--home", home], input="\n".join(commands) + "\n",
                          capture_output=True, text=True, timeout=600)
    failures = []
    if proc.returncode != expected_exit:
        failures.append(f"{name}: driver exited {proc.returncode}, expected {expected_exit}; "
                        f"stderr: {proc.stderr.strip()}")
    outputs = [json.loads(l) for l in proc.stdout.splitlines() if l.startswith("{")]
    for index, number, text in checks:
        if index >= len(outputs):
            failures.append(f"{name}:{number}: no state printed (stderr: {proc.stderr.strip()})")
            continue
        problem = check(outputs[index], text, f"{name}:{number}")
        if problem:
            failures.append(problem)
    return failures


def main():
    sim, script = sys.argv[1], sys.argv[2]
    name = script.rsplit("/", 1)[-1]
    segments, current, exits = [], [], []
    expected_exit = 0
    with open(script, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            text = raw.rstrip("\n")
            if text == "restart":
                segments.append(current)
                exits.append(expected_exit)
                current, expected_exit = [], 0
            elif text.startswith("exit "):
                expected_exit = int(text[5:])
            elif text.strip() and not text.startswith("#"):
                current.append((number, text))
    segments.append(current)
    exits.append(expected_exit)
    failures = []
    with tempfile.TemporaryDirectory() as home:
        for lines, code in zip(segments, exits):
            failures += run_segment(sim, home, lines, code, name)
    for f in failures:
        print(f)
    checks = sum(1 for seg in segments for _, t in seg if t.startswith("expect "))
    print(f"{name}: {checks} checks, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
