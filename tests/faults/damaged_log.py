#!/usr/bin/env python3
"""A match log damaged by hand or written by a newer program.

- Rows of the unfinished match edited by hand (an event kind no program
  writes, a dart label that is no bed, a number that is a word) are left out:
  the rest is resumed exactly as if the damaged commands had never been given,
  and one message at start names the match.
- A log whose version is newer than this program's is refused: a message
  says so, nothing is offered for resuming, nothing more is logged, and the
  settings and high-score tables are as they were.

    damaged_log.py SIM
"""
import json
import shutil
import sqlite3
import subprocess
import sys
import tempfile

CLOCK = "clock 2026-12-09T10:00:00"
COMMANDS = ["options 3", "set name1 Ann", "set name2 Bo", "set start 301", "ok",
            "throw T20", "throw T20", "throw 5", "throw T19", "throw 19", "throw 0",
            "throw T20", "undo", "throw 20", "throw 1", "throw D16", "throw 25"]
# Log rows (by their order in the match) to damage, and how.
DAMAGE = {7: ("Kind", "zzz"), 9: ("Label", "T99"), 12: ("Number", "many")}


def run(sim, home, lines):
    out = subprocess.run([sim, "--home", home], input="\n".join(lines) + "\n",
                         capture_output=True, text=True, timeout=60)
    if out.returncode != 0:
        raise AssertionError(f"driver failed ({out.returncode}): {out.stderr}")
    return [json.loads(line) for line in out.stdout.splitlines()]


def comparable(state):
    return {k: v for k, v in state.items() if k not in ("messages", "sounds", "resumable", "hitable", "saved")}


def tables(path):
    with sqlite3.connect(path) as db:
        return [db.execute(f"SELECT * FROM {t} ORDER BY rowid").fetchall() for t in ("Options", "HiScores")]


def edited_rows(sim):
    home = tempfile.mkdtemp(prefix="vantrell-damaged-log-")
    clean = tempfile.mkdtemp(prefix="vantrell-damaged-log-clean-")
    try:
        run(sim, home, [CLOCK] + COMMANDS)
        db = f"{home}/Data/Darts.MDB"
        with sqlite3.connect(db) as c:
            for seq, (column, value) in DAMAGE.items():
                c.execute(f"UPDATE LoggedEvents SET {column} = ? WHERE Seq = ?", (value, seq))
        first, resumed = run(sim, home, [CLOCK, "state", "resume", "state"])
        messages = first["messages"]
        assert len(messages) == 1, f"expected one message, got {messages}"
        assert "Ann" in messages[0] and "Bo" in messages[0] and "3 of its entries" in messages[0], messages[0]
        assert first["resumable"] is not None, "nothing offered for resuming"
        kept = [c for i, c in enumerate(COMMANDS, start=1) if i not in DAMAGE]
        want = run(sim, clean, [CLOCK] + kept + ["state"])[-1]
        got = comparable(resumed)
        diff = [k for k in comparable(want) if comparable(want)[k] != got.get(k)]
        assert not diff, f"resumed state differs from the undamaged commands in {diff}"
    finally:
        shutil.rmtree(home, ignore_errors=True)
        shutil.rmtree(clean, ignore_errors=True)


def newer_log(sim):
    home = tempfile.mkdtemp(prefix="vantrell-newer-log-")
    try:
        run(sim, home, [CLOCK] + COMMANDS[:8])
        db = f"{home}/Data/Darts.MDB"
        with sqlite3.connect(db) as c:
            c.execute("UPDATE LogVersion SET Version = Version + 1")
            events = c.execute("SELECT COUNT(*) FROM LoggedEvents").fetchone()[0]
        before = tables(db)
        start, = run(sim, home, [CLOCK, "state"])
        assert start["resumable"] is None, "a newer log was offered for resuming"
        assert any("newer version" in m for m in start["messages"]), start["messages"]
        assert tables(db) == before, "the settings or high-score table changed"
        run(sim, home, [CLOCK, "throw T20", "throw 20", "undo", "newgame", "throw 5"])
        with sqlite3.connect(db) as c:
            after = c.execute("SELECT COUNT(*) FROM LoggedEvents").fetchone()[0]
        assert after == events, f"a newer log was written to ({events} -> {after} rows)"
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    sim = sys.argv[1]
    failed = 0
    for case in (edited_rows, newer_log):
        try:
            case(sim)
            print(f"PASS {case.__name__}")
        except AssertionError as e:
            failed += 1
            print(f"FAIL {case.__name__}: {e}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
