#!/usr/bin/env python3
"""A match log damaged by hand or written by a newer program.

- Rows of the unfinished match edited by hand (an event kind no program
  writes, a dart label that is no bed, a number that is a word) are left out:
  the rest is resumed exactly as if the damaged commands had never been given,
  and one message at start names the match.
- A dart's note of the high score it entered, forged or damaged (naming
  another row, an empty row, another score): undo after a resume leaves the
  table alone instead of taking out a real score or adding an empty row.
- A match whose settings in the log cannot be read (not JSON, a bit
  flipped, a member missing) is not offered for resuming, with a message,
  and is listed as damaged; settings an earlier version wrote without a
  check are resumed as before.
- Damage in the log's own pages (a page of its events overwritten, its
  index out of step with its table): the file opens with its settings and
  high scores, a message says the match history cannot be read, and no byte
  of the log's pages changes, whatever is played. Damage the quick check
  misses (an index out of step) in the program's own tables refuses the file.
- A log table dropped by another program: the history is said to be
  unreadable, naming the table, and play goes on; a FIFO in place of the
  database is refused as no ordinary file, not as an empty one.
- A log whose version is newer than this program's is refused: a message
  says so, nothing is offered for resuming, nothing more is logged, and the
  settings and high-score tables are as they were.

    damaged_log.py SIM
"""
import json
import os
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


def high_scores(db):
    with sqlite3.connect(db) as c:
        return c.execute("SELECT rowid, Name, Against, Date, Type, Score FROM HiScores ORDER BY rowid").fetchall()


def forged_high_score_note(sim):
    # Ann's 140 and Bo's 100 enter the table; the note of Bo's visit is
    # then forged in several ways, and the visit taken back after a resume.
    commands = [CLOCK, "options 3", "set name1 Ann", "set name2 Bo", "ok",
                "throw T20", "throw T20", "throw 20", "throw T20", "throw 20", "throw 20"]
    for forge in ("empty added row", "another row", "another score", "empty replaced row", "not json"):
        home = tempfile.mkdtemp(prefix="vantrell-forged-note-")
        try:
            run(sim, home, commands)
            db = f"{home}/Data/Darts.MDB"
            before = high_scores(db)
            with sqlite3.connect(db) as c:
                seq, extra = c.execute("SELECT Seq, Extra FROM LoggedEvents WHERE Extra IS NOT NULL "
                                       "ORDER BY Seq DESC LIMIT 1").fetchone()
                note = json.loads(extra)
                h = note["highScore"]
                ann = next(r for r in before if r[1] == "Ann")
                if forge == "empty added row":
                    h["addedValues"] = {}
                    h["addedRowId"] = ann[0]
                elif forge == "another row":
                    h["addedRowId"] = ann[0]
                    h["addedValues"] = dict(zip(("Name", "Against", "Date", "Type", "Score"), ann[1:]))
                elif forge == "another score":
                    h["addedValues"]["Score"] = 99
                elif forge == "empty replaced row":
                    h["replacedValues"] = {}
                note = json.dumps(note) if forge != "not json" else "{\"highScore\": [1, 2"
                c.execute("UPDATE LoggedEvents SET Extra = ? WHERE Seq = ?", (note, seq))
            run(sim, home, [CLOCK, "resume", "undo", "state"])
            after = high_scores(db)
            assert after == before, f"{forge}: the table changed from {before} to {after}"
        finally:
            shutil.rmtree(home, ignore_errors=True)
    # Unforged, the same undo takes Bo's 100 out and puts the row it replaced back.
    home = tempfile.mkdtemp(prefix="vantrell-forged-note-")
    try:
        run(sim, home, commands[:-3])
        db = f"{home}/Data/Darts.MDB"
        want = high_scores(db)
        run(sim, home, [CLOCK] + commands[-3:])
        run(sim, home, [CLOCK, "resume", "undo", "state"])
        got = high_scores(db)
        assert [r[1:] for r in got] == [r[1:] for r in want] and len(got) == 10, f"undo left {got}, not {want}"
    finally:
        shutil.rmtree(home, ignore_errors=True)


def unreadable_settings(sim):
    commands = [CLOCK, "options 3", "set start 301", "ok", "throw T20", "throw T20", "throw 20"]

    def flip(text):
        at = text.index('"savedStart":501') + len('"savedStart":')   # 501 becomes 101
        return text[:at] + chr(ord(text[at]) ^ 0x04) + text[at + 1:]

    def no_check(text):
        s = json.loads(text)
        del s["check"]
        return json.dumps(s)

    def lost_member(text):
        s = json.loads(text)
        del s["panels"]
        s.pop("check")
        return json.dumps(s)

    def name_changed(text):
        return text.replace('"Player 1"', '"Player 7"', 1)

    for name, damage, offered in (("not JSON", lambda t: t[: len(t) // 2], False), ("a bit flipped", flip, False),
                                  ("a name changed", name_changed, False), ("a member lost", lost_member, False),
                                  ("no check (an earlier version)", no_check, True)):
        home = tempfile.mkdtemp(prefix="vantrell-settings-")
        try:
            run(sim, home, commands)
            db = f"{home}/Data/Darts.MDB"
            with sqlite3.connect(db) as c:
                (settings,) = c.execute("SELECT Settings FROM LoggedMatches").fetchone()
                c.execute("UPDATE LoggedMatches SET Settings = ?", (damage(settings),))
            start, history = run(sim, home, [CLOCK, "state", "history", "state"])
            if offered:
                assert start["resumable"] is not None and start["resumable"]["remaining"][0] == 161, \
                    f"{name}: {start['resumable']}"
                assert history["history"][0]["status"] == "in progress", f"{name}: {history['history']}"
                continue
            assert start["resumable"] is None, f"{name}: offered for resuming: {start['resumable']}"
            assert any("cannot be resumed" in m for m in start["messages"]), f"{name}: {start['messages']}"
            assert history["history"][0]["status"] == "damaged", f"{name}: {history['history']}"
        finally:
            shutil.rmtree(home, ignore_errors=True)


def log_pages(db):
    """The log's pages: {page number: bytes}."""
    with sqlite3.connect(db) as c:
        size = c.execute("PRAGMA page_size").fetchone()[0]
        numbers = [n for (n,) in c.execute("SELECT pageno FROM dbstat WHERE name IN "
                                           "('LoggedEvents', 'LoggedEventsByMatch', 'LoggedMatches', 'LogVersion')")]
    data = open(db, "rb").read()
    return {n: data[(n - 1) * size:n * size] for n in numbers}, size


def damaged_log_pages(sim):
    darts = ["T20", "T20", "T20", "20", "1", "5", "T19", "19", "D16", "0"] * 60
    for damage in ("a page of events overwritten", "its index out of step"):
        home = tempfile.mkdtemp(prefix="vantrell-log-pages-")
        try:
            run(sim, home, [CLOCK] + [f"throw {d}" for d in darts])
            db = f"{home}/Data/Darts.MDB"
            before_tables = tables(db)
            if damage == "its index out of step":
                with sqlite3.connect(db) as c:
                    c.execute("PRAGMA writable_schema = ON")
                    c.execute("UPDATE sqlite_master SET sql = 'CREATE INDEX LoggedEventsByMatch ON LoggedEvents "
                              "(Seq, MatchId)' WHERE name = 'LoggedEventsByMatch'")
            else:
                pages, size = log_pages(db)
                with sqlite3.connect(db) as c:
                    leaf = c.execute("SELECT pageno FROM dbstat WHERE name = 'LoggedEvents' AND pagetype = 'leaf' "
                                     "ORDER BY pageno LIMIT 1 OFFSET 3").fetchone()[0]
                with open(db, "r+b") as f:
                    f.seek((leaf - 1) * size + 40)
                    f.write(bytes((i * 37 + 11) % 256 for i in range(size - 80)))
            with sqlite3.connect(db) as c:
                assert c.execute("PRAGMA integrity_check").fetchone()[0] != "ok", f"{damage}: no damage made"
            pages_before, _ = log_pages(db)
            start, after = run(sim, home, [CLOCK, "state"] + [f"throw {d}" for d in darts[:30]] +
                               ["undo", "history", "state"])
            assert any("match history" in m and "cannot be read" in m for m in start["messages"]), \
                f"{damage}: {start['messages']}"
            assert start["resumable"] is None, f"{damage}: offered {start['resumable']}"
            assert len(start["hitable"]) == 10 and start["saved"]["StartWith"] == 501, f"{damage}: {start['hitable']}"
            assert any("could not be read" in m for m in after["messages"]), f"{damage}: {after['messages']}"
            pages_after, _ = log_pages(db)
            assert pages_after == pages_before, f"{damage}: the log's pages were written"
            assert tables(db)[0] == before_tables[0], f"{damage}: the settings changed"
        finally:
            shutil.rmtree(home, ignore_errors=True)


def index_out_of_step_in_own_table(sim):
    home = tempfile.mkdtemp(prefix="vantrell-own-index-")
    try:
        run(sim, home, [CLOCK, "throw T20"])
        db = f"{home}/Data/Darts.MDB"
        with sqlite3.connect(db) as c:
            c.execute("CREATE INDEX HiScoresByScore ON HiScores (Score)")
        with sqlite3.connect(db) as c:
            c.execute("PRAGMA writable_schema = ON")
            c.execute("UPDATE sqlite_master SET sql = 'CREATE INDEX HiScoresByScore ON HiScores (Name)' "
                      "WHERE name = 'HiScoresByScore'")
        with sqlite3.connect(db) as c:
            assert c.execute("PRAGMA quick_check").fetchone()[0] == "ok"
        before = open(db, "rb").read()
        out = subprocess.run([sim, "--home", home], input="throw T20\nstate\n", capture_output=True, text=True,
                             timeout=60)
        assert out.returncode == 1 and "damaged" in out.stderr, (out.returncode, out.stderr)
        assert open(db, "rb").read() == before, "the refused file was changed"
    finally:
        shutil.rmtree(home, ignore_errors=True)


def dropped_table_and_fifo(sim):
    home = tempfile.mkdtemp(prefix="vantrell-dropped-")
    try:
        run(sim, home, [CLOCK, "throw T20", "throw 20"])
        db = f"{home}/Data/Darts.MDB"
        with sqlite3.connect(db) as c:
            c.execute("DROP TABLE LoggedEvents")
        start, after = run(sim, home, [CLOCK, "state", "throw T20", "throw T20", "throw T20", "history", "state"])
        told = "\n".join(start["messages"] + after["messages"])
        assert "its table LoggedEvents is missing" in told and "Parameter" not in told, told
        assert after["panels"][0]["lblScoreLeft"] == "321", after["panels"][0]
        os.remove(db)
        os.mkfifo(db)
        out = subprocess.run([sim, "--home", home], input="state\n", capture_output=True, text=True, timeout=20)
        assert out.returncode == 1 and "not an ordinary file" in out.stderr and "empty" not in out.stderr, out.stderr
    finally:
        shutil.rmtree(home, ignore_errors=True)


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
    for case in (edited_rows, forged_high_score_note, unreadable_settings, damaged_log_pages,
                 index_out_of_step_in_own_table, dropped_table_and_fifo, newer_log):
        try:
            case(sim)
            print(f"PASS {case.__name__}")
        except AssertionError as e:
            failed += 1
            print(f"FAIL {case.__name__}: {e}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
