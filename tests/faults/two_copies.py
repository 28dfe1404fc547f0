#!/usr/bin/env python3
"""Two copies of the program on one folder, its lock file deleted.

- The second copy does not offer the first copy's running match for
  resuming, and its first dart does not end that match: the first copy goes
  on logging it, and a later start resumes it whole.
- A match resumed by one copy is not offered to another started beside it.
- An append that would break a match's order (a row written into it by
  someone else since) is refused with a message, and no two rows of a match
  share a number.

    two_copies.py SIM
"""
import json
import os
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile

CLOCK = "clock 2026-12-10T10:00:00"


class Copy:
    def __init__(self, sim, home):
        self.proc = subprocess.Popen([sim, "--home", home], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.send(CLOCK)

    def send(self, *commands):
        for c in commands:
            self.proc.stdin.write(c + "\n")
        self.proc.stdin.write("state\n")
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        assert line, "the driver ended"
        return json.loads(line)

    def kill(self):
        self.proc.send_signal(signal.SIGKILL)
        self.proc.wait()


def rows(db, match):
    with sqlite3.connect(db) as c:
        return c.execute("SELECT Seq, Kind, Label FROM LoggedEvents WHERE MatchId = ? ORDER BY Seq", (match,)).fetchall()


def ended(db, match):
    with sqlite3.connect(db) as c:
        return c.execute("SELECT Ended FROM LoggedMatches WHERE Id = ?", (match,)).fetchone()[0] is not None


def second_copy_leaves_the_first_copys_match(sim, home):
    db = os.path.join(home, "Data", "Darts.MDB")
    first = Copy(sim, home)
    first.send("throw T20", "throw T20")
    os.remove(db + ".lock")
    second = Copy(sim, home)
    s = second.send()
    assert s["resumable"] is None, f"the running match was offered: {s['resumable']}"
    second.send("throw 5")
    assert not ended(db, 1), "the second copy's dart ended the first copy's match"
    s = first.send("throw 20")
    assert s["messages"] == [], f"the first copy was told {s['messages']}"
    assert [r[2] for r in rows(db, 1)] == ["T20", "T20", "20"], rows(db, 1)
    first.kill()
    second.kill()
    # The first copy's match is whole; the newest unfinished (the second's) is offered.
    third = Copy(sim, home)
    s = third.send()
    assert s["resumable"] is not None and s["resumable"]["darts"] == 1, s["resumable"]
    third.kill()


def resumed_match_is_not_offered_again(sim, home):
    db = os.path.join(home, "Data", "Darts.MDB")
    crashed = Copy(sim, home)
    crashed.send("throw T20", "throw T19", "throw 19")
    crashed.kill()
    resumer = Copy(sim, home)
    assert resumer.send("resume")["panels"][0]["lblScoreLeft"] == "365"
    os.remove(db + ".lock")
    other = Copy(sim, home)
    s = other.send()
    assert s["resumable"] is None, f"a match resumed by another copy was offered: {s['resumable']}"
    other.send("throw 1")
    s = resumer.send("throw 20")
    assert s["messages"] == [], s["messages"]
    assert [r[2] for r in rows(db, 1)] == ["T20", "T19", "19", "20"], rows(db, 1)

    # Someone else writes the match's next row: the resumer's next append
    # is refused and said so, and the numbers stay unique.
    with sqlite3.connect(db) as c:
        c.execute("INSERT INTO LoggedEvents (MatchId, Seq, Kind, Label) VALUES (1, 5, 'press', '1')")
    s = resumer.send("throw 5")
    assert any("match log" in m for m in s["messages"]), s["messages"]
    seqs = [r[0] for r in rows(db, 1)]
    assert len(seqs) == len(set(seqs)) and seqs == list(range(1, len(seqs) + 1)), seqs
    resumer.kill()
    other.kill()


def main():
    sim = sys.argv[1]
    failed = 0
    for case in (second_copy_leaves_the_first_copys_match, resumed_match_is_not_offered_again):
        home = tempfile.mkdtemp(prefix="vantrell-two-copies-")
        try:
            case(sim, home)
            print(f"PASS {case.__name__}")
        except AssertionError as e:
            failed += 1
            print(f"FAIL {case.__name__}: {e}")
        finally:
            shutil.rmtree(home, ignore_errors=True)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
