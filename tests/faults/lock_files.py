#!/usr/bin/env python3
"""Lock files a crash, a power cut or a user can leave beside the database.

- Empty, cut short or garbage (a power cut right after it was made), or
  naming a process that has ended: taken over, the program starts.
- One naming a running copy: the start is refused, saying so.
- A FIFO (or anything but an ordinary file) in its place: refused with a
  message at once, never a start that hangs.
- A stale lock on a read-only medium (needs root to mount one; skipped
  otherwise): the program starts and says it could not remove the lock.

    lock_files.py SIM
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile


def start(sim, home):
    return subprocess.run([sim, "--home", home], input="throw T20\nstate\n", capture_output=True, text=True,
                          timeout=20)


def lock_of(home):
    return os.path.join(home, "Data", "Darts.MDB.lock")


def prepared(sim):
    """A folder with a database made by a first run."""
    home = tempfile.mkdtemp(prefix="vantrell-lock-")
    assert start(sim, home).returncode == 0
    return home


def taken_over(sim):
    host = socket.gethostname()
    dead = subprocess.Popen(["true"])
    dead.wait()
    for name, content in (("empty", b""), ("cut short", b"12"), ("garbage", b"\x00\xff garbage\n\n\n"),
                          ("an ended process", f"{dead.pid}\nvantrell-sim\n{host}\n".encode())):
        home = prepared(sim)
        try:
            with open(lock_of(home), "wb") as f:
                f.write(content)
            out = start(sim, home)
            assert out.returncode == 0, f"{name}: not started: {out.stderr.strip()}"
            assert "already running" not in out.stdout, f"{name}: {out.stdout}"
        finally:
            shutil.rmtree(home, ignore_errors=True)


def running_copy_refused(sim):
    home = prepared(sim)
    try:
        first = subprocess.Popen([sim, "--home", home], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        first.stdin.write("state\n")
        first.stdin.flush()
        first.stdout.readline()
        out = start(sim, home)
        assert out.returncode == 1 and "already running" in out.stderr, (out.returncode, out.stderr)
        first.stdin.close()
        first.wait(timeout=20)
    finally:
        shutil.rmtree(home, ignore_errors=True)


def fifo_refused(sim):
    home = prepared(sim)
    try:
        os.mkfifo(lock_of(home))
        out = start(sim, home)   # the timeout catches a start that hangs
        assert out.returncode == 1 and "not an ordinary file" in out.stderr, (out.returncode, out.stderr)
        assert not os.path.isfile(lock_of(home)) and os.path.exists(lock_of(home)), "the FIFO was replaced"
    finally:
        shutil.rmtree(home, ignore_errors=True)


def stale_on_read_only_medium(sim):
    home = prepared(sim)
    medium = tempfile.mkdtemp(prefix="vantrell-lock-ro-")
    mounted = False
    try:
        with open(lock_of(home), "wb") as f:
            f.write(b"")
        if os.geteuid() != 0 or subprocess.run(["mount", "--bind", home, medium], capture_output=True).returncode:
            print("SKIP stale_on_read_only_medium: no read-only medium can be mounted here (needs root)")
            return
        mounted = True
        if subprocess.run(["mount", "-o", "remount,bind,ro", medium], capture_output=True).returncode:
            print("SKIP stale_on_read_only_medium: the bind mount cannot be made read-only")
            return
        out = start(sim, medium)
        assert out.returncode == 0, f"not started: {out.stderr.strip()}"
        assert "left by a run of Vantrell 2 that has ended" in out.stdout, out.stdout
    finally:
        if mounted:
            subprocess.run(["umount", medium])
        shutil.rmtree(medium, ignore_errors=True)
        shutil.rmtree(home, ignore_errors=True)


def main():
    sim = sys.argv[1]
    failed = 0
    for case in (taken_over, running_copy_refused, fifo_refused, stale_on_read_only_medium):
        try:
            case(sim)
            print(f"PASS {case.__name__}")
        except (AssertionError, subprocess.TimeoutExpired) as e:
            failed += 1
            print(f"FAIL {case.__name__}: {e}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
