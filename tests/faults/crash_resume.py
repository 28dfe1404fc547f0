#!/usr/bin/env python3
"""The driver killed with SIGKILL at random moments of random matches.

A random match is played once through the driver from start to end, with the
state printed after every command: the reference. Then, on a new folder, the
same commands are fed one at a time and the driver is killed with SIGKILL at
a random moment, at times in the middle of a command. Started again on that
folder and told to resume, it must show the state after the last command
whose log write had returned: the reference state of the last command it
answered, or of the one it was killed in (the write may have returned just
before the kill). The high-score table and the saved settings row must be
those of the same state: a command's own writes and its log row are one
transaction, so a score is never kept without its dart, nor a dart without
its score.

Kills are only made once the match has a dart (before that there is nothing
to resume) and never inside a new game (which ends the logged match).

    crash_resume.py SIM [--trials N] [--seed S]
"""
import argparse
import json
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

CLOCK = "clock 2026-12-09T10:00:00"
SCORING = ["T20", "T20", "20", "1", "5", "T19", "19", "0", "25", "50", "T5"]
FINISHING = ["D20", "D16", "D10", "D8", "D4", "D2", "D1", "50", "D18", "D12"]


def make_commands(rng):
    """A match: the settings, then darts with undo runs, options changed on
    the way (saved, cancelled or left open), announcements closed or not."""
    start = rng.choice(["101", "301"])
    cmds = ["options 3", f"set start {start}", f"set players {rng.choice('12')}",
            f"set legs {rng.choice('123')}", f"set sets {rng.choice('12')}", "ok"]
    for _ in range(rng.randint(40, 90)):
        r = rng.random()
        if r < 0.70:
            cmds.append("throw " + rng.choice(FINISHING if rng.random() < 0.35 else SCORING))
        elif r < 0.80:
            cmds.extend(["undo"] * rng.randint(1, 3))
        elif r < 0.86:
            cmds.append("winnerok")
        elif r < 0.94:
            cmds.append("options 3")
            cmds.append(rng.choice(["set legs 2", "set sets 3", "set players 2", "set name1 Ann",
                                    "set name2 Bo & Co", "set start 301", "set commentary off"]))
            cmds.append(rng.choice(["ok", "ok", "cancel", "state"]))
            if cmds[-1] == "state":
                cmds.pop()   # left open for a while
        elif r < 0.96:
            cmds.append("newgame")
        else:
            cmds.append("options 1")
            cmds.append("cancel")
    return cmds


def comparable(state):
    s = json.loads(state)
    for key in ("messages", "sounds", "resumable", "hitable", "saved"):
        s.pop(key, None)
    return s


def reference(sim, cmds):
    home = tempfile.mkdtemp(prefix="vantrell-crash-ref-")
    try:
        script = [CLOCK, "state"]
        for c in cmds:
            script += [c, "state"]
        out = subprocess.run([sim, "--home", home], input="\n".join(script) + "\n",
                             capture_output=True, text=True, timeout=120)
        if out.returncode != 0:
            raise SystemExit(f"reference run failed: {out.stderr}")
        return out.stdout.splitlines()   # state i: after i commands
    finally:
        shutil.rmtree(home, ignore_errors=True)


def killable_points(cmds):
    """Indexes k (commands answered before the kill) where the match in the
    log has a dart and neither command k nor k+1 starts a new game."""
    points, dart = [], False
    for k in range(1, len(cmds)):
        if cmds[k - 1] == "newgame":
            dart = False
        elif cmds[k - 1].startswith("throw"):
            dart = True
        if dart and cmds[k] != "newgame":
            points.append(k)
    return points


def trial(sim, cmds, states, k, delay, rng):
    home = tempfile.mkdtemp(prefix="vantrell-crash-")
    try:
        proc = subprocess.Popen([sim, "--home", home], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True, bufsize=1)
        proc.stdin.write(CLOCK + "\nstate\n")
        proc.stdin.flush()
        proc.stdout.readline()
        for c in cmds[:k]:
            proc.stdin.write(c + "\nstate\n")
            proc.stdin.flush()
            proc.stdout.readline()
        # The next command is under way when the kill comes (or just done).
        proc.stdin.write(cmds[k] + "\nstate\n")
        proc.stdin.flush()
        time.sleep(delay)
        proc.send_signal(signal.SIGKILL)
        proc.wait()
        after = subprocess.run([sim, "--home", home], input=f"{CLOCK}\nresume\nstate\n",
                               capture_output=True, text=True, timeout=60)
        if after.returncode != 0:
            return f"restart failed ({after.returncode}): {after.stderr.strip()}"
        resumed = after.stdout.splitlines()[-1]
        got = comparable(resumed)
        candidates = [states[k], states[k + 1]]   # after k commands, after k + 1
        matching = [c for c in candidates if comparable(c) == got]
        if not matching:
            want = comparable(candidates[0])
            diff = [key for key in want if want.get(key) != got.get(key)]
            return f"resumed state is neither; differs from the last answered in {diff}"
        for own in ("hitable", "saved"):
            if json.loads(resumed)[own] not in [json.loads(c)[own] for c in matching]:
                return f"{own} not that of the state resumed"
        return None
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("sim")
    ap.add_argument("--trials", type=int, default=30)
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args()
    if os.environ.get("VANTRELL_FAULTS_LONG") == "1":
        args.trials = max(args.trials, 500)
    rng = random.Random(args.seed)
    done = failures = 0
    kills_per_match = 5
    while done < args.trials:
        cmds = make_commands(rng)
        states = reference(args.sim, cmds)
        points = killable_points(cmds)
        if not points:
            continue
        for _ in range(min(kills_per_match, args.trials - done)):
            k = rng.choice(points)
            delay = rng.choice([0, 0, 0.0005, 0.001, 0.002, 0.004])
            problem = trial(args.sim, cmds, states, k, delay, rng)
            done += 1
            if problem:
                failures += 1
                print(f"trial {done}: killed in command {k + 1} ({cmds[k]!r}) after {delay * 1000:.1f} ms: {problem}")
                print("  commands: " + "; ".join(cmds[:k + 1]))
    print(f"{done} kills, {failures} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
