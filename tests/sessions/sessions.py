#!/usr/bin/env python3
"""Random driver sessions from fixed seeds, and what the driver printed for them.

Every session is made from its seed alone: options set at random, darts
thrown by a player who aims at the treble 20 and then at a finish (and
misses often enough to bust), undo runs, announcements closed or left open,
new games, the statistics, high-score and options windows opened and
cancelled, printing, odd board geometry, a moving clock and restarts of the
driver on the same folder. What the driver prints for a session (its exit
statuses, every `state` line and the text of every printed page) is kept as
one digest per state, so a change that alters anything the windows would
show is caught at the first state where it shows.

The sessions are made anew from their seeds at every check, so this
generator is part of the recording: change how a session is made and every
session must be recorded again, with a build whose behaviour is the one
recorded before.

    sessions.py record SIM FILE [--first N] [--count N]
    sessions.py check  SIM FILE [--first N] [--count N] [--count-short N] [--jobs N]
    sessions.py show   SEED          # the session's commands
    sessions.py replay SIM SEED      # the driver's output, one state a line
"""
import argparse
import concurrent.futures
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

SECTORS = list(range(1, 21))
LABELS = ([f"T{n}" for n in SECTORS] + [f"D{n}" for n in SECTORS] + [str(n) for n in SECTORS]
          + ["25", "50"])


def value(label):
    if label[0] in "TD":
        return int(label[1:]) * (3 if label[0] == "T" else 2)
    return int(label)


# Sorted by value, highest first; trebles before the same value otherwise.
BY_VALUE = sorted(LABELS, key=lambda l: (-value(l), l[0] != "T"))


def finishes(left):
    return left == 50 or (2 <= left <= 40 and left % 2 == 0)


class Player:
    """A player who aims sensibly. The remaining scores are followed roughly,
    from the darts the session throws; after an undo or a change of options
    the guess may be off, which only makes the aim worse."""

    def __init__(self, rng):
        self.rng = rng
        # From a club player to a professional: legs of every length.
        self.misses = rng.choice([0.03, 0.1, 0.2, 0.3, 0.4])
        self.start = 501
        self.players = 2
        self.new_game()

    def new_game(self):
        self.left = [self.start, self.start]
        self.current = 0
        self.in_visit = 0
        self.visit_start = self.start
        self.legs_played = 0

    def aim(self):
        r = self.left[self.current]
        if finishes(r):
            return "50" if r == 50 else f"D{r // 2}"
        # A dart that leaves a finish, the highest such first.
        for label in BY_VALUE:
            if finishes(r - value(label)):
                return label
        # Otherwise score, but keep a finish in reach.
        for label in BY_VALUE:
            left = r - value(label)
            if left >= 41 or (left >= 2 and left % 2 == 0):
                return label
        return "1"

    def miss(self, label):
        rng = self.rng
        roll = rng.random()
        if roll < 0.05:
            return "0"
        if roll < 0.15:
            return rng.choice(["25", "50"])
        n = int(label[1:]) if label[0] in "TD" else (int(label) if label.isdigit() and 1 <= int(label) <= 20 else 20)
        n = SECTORS[(n - 1 + rng.choice([-1, 1])) % 20] if rng.random() < 0.5 else n
        return rng.choice([str(n), f"T{n}", f"D{n}"])

    def throw(self):
        label = self.aim()
        if self.rng.random() < self.misses:
            label = self.miss(label)
        self.count(label)
        return label

    def count(self, label):
        score = value(label)
        double = label[0] == "D" or label == "50"
        p = self.current
        if self.in_visit == 0:
            self.visit_start = self.left[p]
        self.in_visit += 1
        left = self.left[p] - score
        if left < 0 or left == 1 or (left == 0 and not double):
            self.left[p] = self.visit_start
            self.hand_over()
        elif left == 0:
            self.legs_played += 1
            self.left = [self.start, self.start]
            self.in_visit = 0
            self.current = self.legs_played % 2 if self.players == 2 else 0
        else:
            self.left[p] = left
            if self.in_visit == 3:
                self.hand_over()

    def hand_over(self):
        self.in_visit = 0
        if self.players == 2:
            self.current = 1 - self.current


def random_name(rng):
    return rng.choice([
        "Ann", "Bob", "  Cara  ", "Tom & Jerry", "Zoë", "O'Neil", "", "x", "Phil Taylor",
        "Jean-Luc de la Fontaine-Beaumarchais", "Ω", "a  b", "Player 1", "\u00e9\u00e8",
    ])


def clock_line(rng):
    return "clock %04d-%02d-%02dT%02d:%02d:%02d" % (
        rng.randint(1999, 2030), rng.randint(1, 12), rng.randint(1, 28),
        rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59))


def make_session(seed):
    """A list of segments; each segment is the list of lines of one run of
    the driver on the session's folder. PRINT stands for a file in it."""
    rng = random.Random(seed)
    player = Player(rng)
    target = rng.randint(150, 250)
    segments = [[clock_line(rng)]]
    lines = segments[0]
    count = 0
    restarts = 0

    def options_block(cancel_bias):
        tab = rng.randint(1, 3)
        block = [f"options {tab}"]
        for _ in range(rng.randint(1, 5)):
            what = rng.choice(["name1", "name2", "legs", "sets", "start", "players", "commentary",
                               "legs", "sets", "start"])
            if what in ("name1", "name2"):
                block.append(f"set {what} {random_name(rng)}")
            elif what in ("legs", "sets"):
                block.append(f"set {what} " + rng.choice(["1", "2", "3", "1", "2", "0", "", "x9", "ab", "12", "99"]))
            elif what == "start":
                block.append("set start " + rng.choice(["101", "101", "301", "501"]))
            elif what == "players":
                block.append("set players " + rng.choice(["1", "2", "2"]))
            else:
                block.append("set commentary " + rng.choice(["on", "off"]))
        end = rng.random()
        if end < cancel_bias:
            block.append("cancel")
        elif end < 0.9:
            block.append("ok")
        return block

    # Most sessions set a short match up first, so that legs, sets and the
    # match are won within the session.
    if rng.random() < 0.75:
        start = rng.choice(["101", "301", "301", "301", "501"])
        setup = ["options 3", f"set start {start}", "set legs " + rng.choice(["1", "2", "3"]),
                 "set sets " + rng.choice(["1", "2"]), "set players " + rng.choice(["1", "2", "2", "2"]),
                 "set commentary " + rng.choice(["on", "off"]), "ok"]
        lines += setup
        player.start = int(start)
        player.players = 1 if "set players 1" in setup else 2
        player.new_game()
    lines.append("state")

    while count < target:
        roll = rng.random()
        block = []
        if roll < 0.58:
            block = [f"throw {player.throw()}"]
        elif roll < 0.62:
            x, y = rng.uniform(-500, 8200), rng.uniform(-700, 8000)
            block = ["press %.2f %.2f" % (x, y)]
        elif roll < 0.66:
            block = ["move %.1f %.1f" % (rng.uniform(-100, 8000), rng.uniform(-300, 8000))]
        elif roll < 0.67:
            block = ["moveoff"]
        elif roll < 0.73:
            block = ["undo"] * rng.choice([1, 1, 2, 3, 5, 8, 60])
        elif roll < 0.81:
            block = ["state"]
        elif roll < 0.86:
            block = ["winnerok"]
        elif roll < 0.87:
            block = ["winnerclose"]
        elif roll < 0.873:
            block = ["newgame"]
            player.new_game()
        elif roll < 0.895:
            block = options_block(0.4)
        elif roll < 0.93:
            block = [f"stats {rng.randint(1, 3)}"]
        elif roll < 0.945:
            block = ["hiscores"]
        elif roll < 0.95:
            block = ["hireset"]
        elif roll < 0.96:
            block = ["hiclose"]
        elif roll < 0.965:
            block = [f"stats {rng.randint(1, 3)}", "print PRINT"]
        elif roll < 0.97:
            block = ["board %d %d %d %d" % (rng.choice([2040, 0, 500]), rng.choice([-120, 0, 300]),
                                            *([rng.choice([7650, 3000, 11360, 15300])] * 2))]
        elif roll < 0.975:
            block = [clock_line(rng)]
        elif roll < 0.9775 and restarts < 2:
            restarts += 1
            lines.append("state")
            lines = [clock_line(rng), "state"]
            segments.append(lines)
            player.new_game()
            continue
        else:
            block = [f"throw {player.throw()}"]
        lines += block
        count += len(block)
    lines.append("state")
    return segments


# Members the state gained after the sessions were recorded (the unfinished
# match found at start, the history window, the keyboard entry). They are
# left out of the digest, so the recording keeps guarding everything else.
LATER_MEMBERS = re.compile(r',?"(?:resumable|entry)":(?:null|\{[^{}]*\})|,?"history":(?:null|\[(?:\{[^{}]*\},?)*\])')


def without_later_members(state):
    return LATER_MEMBERS.sub("", state)


def run_session(sim, seed):
    """The session's record: one digest per state line and per printed page
    text, with each segment's exit status."""
    home = tempfile.mkdtemp(prefix=f"vantrell-session-{seed}-")
    try:
        digests = []
        for number, segment in enumerate(make_session(seed)):
            printed = []
            lines = []
            for line in segment:
                if line == "print PRINT":
                    path = os.path.join(home, f"print-{number}-{len(printed)}.pdf")
                    printed.append(path)
                    line = f"print {path}"
                lines.append(line)
            proc = subprocess.run([sim, "--home", home], input="\n".join(lines) + "\n",
                                  capture_output=True, text=True, timeout=300)
            digests.append(f"exit{proc.returncode}")
            # The folder is new for every run; messages that name it must not
            # make two runs differ.
            for state in proc.stdout.replace(home, "HOME").splitlines():
                digests.append(hashlib.sha256(without_later_members(state).encode()).hexdigest()[:12])
            for path in printed:
                if os.path.exists(path):
                    text = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True,
                                          text=True, timeout=60).stdout
                    digests.append("pdf" + hashlib.sha256(text.encode()).hexdigest()[:12])
                else:
                    digests.append("pdf-none")
        return " ".join(digests)
    finally:
        shutil.rmtree(home, ignore_errors=True)


def run_all(sim, seeds, jobs):
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        return list(pool.map(lambda s: (s, run_session(sim, s)), seeds))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["record", "check", "show", "replay"])
    parser.add_argument("args", nargs="+")
    parser.add_argument("--first", type=int, default=1)
    parser.add_argument("--count", type=int, default=1000)
    # In the ordinary test run only the first sessions; all of them when the
    # long fault tests are asked for.
    parser.add_argument("--count-short", type=int, default=None)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    a = parser.parse_args()

    if a.mode == "show":
        for number, segment in enumerate(make_session(int(a.args[0]))):
            if number:
                print("# restart")
            print("\n".join(segment))
        return 0
    if a.mode == "replay":
        sim, seed = a.args[0], int(a.args[1])
        home = tempfile.mkdtemp(prefix="vantrell-replay-")
        for segment in make_session(seed):
            lines = [l.replace("PRINT", os.path.join(home, "print.pdf")) for l in segment]
            proc = subprocess.run([sim, "--home", home], input="\n".join(lines) + "\n",
                                  capture_output=True, text=True)
            sys.stdout.write(proc.stdout)
            sys.stderr.write(proc.stderr)
        shutil.rmtree(home, ignore_errors=True)
        return 0

    sim, path = a.args[0], a.args[1]
    count = a.count
    if a.count_short is not None and not os.environ.get("VANTRELL_FAULTS_LONG"):
        count = a.count_short
    seeds = range(a.first, a.first + count)
    results = run_all(sim, seeds, a.jobs)
    if a.mode == "record":
        with open(path, "w") as out:
            for seed, record in results:
                out.write(f"{seed} {record}\n")
        print(f"recorded {len(results)} sessions in {path}")
        return 0

    recorded = {}
    with open(path) as f:
        for line in f:
            seed, _, record = line.rstrip("\n").partition(" ")
            recorded[int(seed)] = record
    failed = 0
    for seed, record in results:
        want = recorded.get(seed)
        if want is None:
            print(f"session {seed}: not recorded")
            failed += 1
            continue
        if record != want:
            got_parts, want_parts = record.split(), want.split()
            at = next((i for i, (g, w) in enumerate(zip(got_parts, want_parts)) if g != w),
                      min(len(got_parts), len(want_parts)))
            print(f"session {seed}: differs at output {at} of {len(want_parts)} "
                  f"(see `sessions.py show {seed}` and `sessions.py replay SIM {seed}`)")
            failed += 1
    passed = len(results) - failed
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
