#!/usr/bin/env python3
"""Exports that cannot be written, and names that are no ordinary files.

- A write that fails part way (the file size limit of the process stands in
  for a full disk, without needing a small file system): the export says it
  failed and why, the earlier export stays byte for byte, and nothing is
  left beside it.
- A FIFO, and a link to a device, are refused with a message and stay what
  they were; a link to an ordinary file has that file replaced, the link kept.

    export_faults.py SIM
"""
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import json

CLOCK = "clock 2026-12-10T10:00:00"


def run(sim, home, lines, limit=None):
    def limited():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    out = subprocess.run([sim, "--home", home], input="\n".join(lines + ["state"]) + "\n", capture_output=True,
                         text=True, timeout=120, preexec_fn=limited if limit else None)
    assert out.returncode == 0, f"driver failed ({out.returncode}): {out.stderr}"
    return json.loads(out.stdout.splitlines()[-1])


def play(sim, home):
    darts = ["T20", "T20", "20", "19", "5", "1", "T19", "D16", "0", "25"] * 400
    run(sim, home, [CLOCK] + [f"throw {d}" for d in darts])


def check(sim):
    home = tempfile.mkdtemp(prefix="vantrell-export-")
    try:
        play(sim, home)
        out = os.path.join(home, "out")
        os.mkdir(out)
        for name in ("all.json", "all.csv"):
            path = os.path.join(out, name)
            s = run(sim, home, ["resume", f"export {path}"])
            assert s["messages"] == [], s["messages"]
            good = open(path, "rb").read()
            # Room for half of it (the database is only read: what the run
            # writes goes to its small journal).
            s = run(sim, home, ["resume", f"export {path}"], limit=len(good) // 2)
            told = [m for m in s["messages"] if "could not be exported" in m]
            assert told and "too large" in told[0].lower(), f"{name}: {s['messages']}"
            assert open(path, "rb").read() == good, f"{name}: the earlier export was changed"
        assert sorted(os.listdir(out)) == ["all.csv", "all.json"], os.listdir(out)

        fifo = os.path.join(out, "pipe.csv")
        os.mkfifo(fifo)
        s = run(sim, home, ["resume", f"export {fifo}"])
        assert any("not an ordinary file" in m for m in s["messages"]), s["messages"]
        assert os.path.exists(fifo) and not os.path.isfile(fifo), "the FIFO was replaced"

        device = os.path.join(out, "null.json")
        os.symlink("/dev/null", device)
        s = run(sim, home, ["resume", f"export {device}"])
        assert any("not an ordinary file" in m for m in s["messages"]), s["messages"]
        assert os.path.islink(device) and os.readlink(device) == "/dev/null", "the link to a device was replaced"

        target = os.path.join(out, "all.json")
        link = os.path.join(out, "link.json")
        os.symlink(target, link)
        before = open(target, "rb").read()
        s = run(sim, home, ["resume", "throw 20", f"export {link}"])
        assert s["messages"] == [], s["messages"]
        assert os.path.islink(link) and os.readlink(link) == target, "the link itself was replaced"
        assert open(target, "rb").read() != before, "the file the link names was not written"
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    try:
        check(sys.argv[1])
    except AssertionError as e:
        print(f"FAIL: {e}")
        sys.exit(1)
    print("PASS")


if __name__ == "__main__":
    main()
