#!/usr/bin/env python3
"""Builds the Debian package from a build tree and checks it as a user's
system would receive it.

    package_check.py BUILD_DIR SOURCE_DIR

- `dpkg -c`: the program, its sounds (every one the build recorded), the
  help page, desktop entry, metainfo, icons, manual page, copyright and
  changelog are there, owned by root; the driver, tests, benchmarks, build
  tools and anything naming the build tree are not.
- `dpkg -I`: the package's fields and its dependencies, both the Qt
  libraries the shared-library scan finds and those it cannot see.
- the icons have the sizes their folders promise; the program file names
  neither the source nor the build folder.
- `desktop-file-validate` and `appstreamcli validate --no-net` say nothing
  but success.
- `lintian` reports no error and no warning (its informational tags are
  printed, not failed).
- the unpacked program, run as an installed one (its tree is writable, as
  /usr is for the superuser), makes its database in the user's data folder
  and writes nothing into its own tree.
"""
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

APP_ID = "com.brannoque.vantrell2"
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def build_package(build, out):
    shutil.rmtree(out, ignore_errors=True)
    result = run(["cpack", "-G", "DEB", "-B", out], cwd=build)
    if result.returncode != 0:
        print(result.stdout, result.stderr)
        sys.exit("cpack failed")
    debs = [f for f in os.listdir(out) if f.endswith(".deb")]
    if len(debs) != 1:
        sys.exit("cpack made %r, not one .deb" % debs)
    return os.path.join(out, debs[0])


def check_listing(deb, build, source):
    listing = run(["dpkg", "-c", deb]).stdout
    entries = {}
    for line in listing.splitlines():
        fields = line.split(None, 5)
        mode, owner, name = fields[0], fields[1], fields[5].split(" -> ")[0]
        entries[name.rstrip("/").lstrip(".")] = (mode, owner)
        if owner != "root/root":
            fail("%s is owned by %s" % (name, owner))
        if mode.startswith("d") and mode != "drwxr-xr-x":
            fail("folder %s has mode %s" % (name, mode))

    sounds = sorted(f for f in os.listdir(os.path.join(build, "sounds")) if f.endswith(".wav"))
    if not {"noscore.wav", "gameshot.wav", "180.wav"} <= set(sounds):
        fail("the build recorded no commentary to package: %s" % sounds[:5])
    must = ["/usr/bin/vantrell2", "/usr/share/vantrell2/Help.htm",
            "/usr/share/applications/%s.desktop" % APP_ID,
            "/usr/share/metainfo/%s.metainfo.xml" % APP_ID,
            "/usr/share/icons/hicolor/scalable/apps/%s.svg" % APP_ID,
            "/usr/share/man/man1/vantrell2.1.gz",
            "/usr/share/doc/vantrell2/copyright", "/usr/share/doc/vantrell2/changelog.gz"]
    must += ["/usr/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID) for s in (48, 128, 256)]
    must += ["/usr/share/vantrell2/sounds/" + s for s in sounds]
    for path in must:
        if path not in entries:
            fail("missing from the package: " + path)
    if entries.get("/usr/bin/vantrell2", ("",))[0] != "-rwxr-xr-x":
        fail("/usr/bin/vantrell2 has mode %s" % entries.get("/usr/bin/vantrell2", ("none",))[0])
    packaged_sounds = sorted(p.rsplit("/", 1)[1] for p in entries
                             if p.startswith("/usr/share/vantrell2/sounds/") and p.endswith(".wav"))
    if packaged_sounds != sounds:
        fail("the packaged sounds differ from the recorded ones")

    forbidden = re.compile(r"vantrell-sim|_test\b|_bench\b|render-icon|CMake|_CPack|\.made"
                           r"|/Data(/|$)|\.MDB|/tests?/|/bench/|/build|/work/|/tmp/")
    for path in entries:
        if path and not (path == "/usr" or path.startswith("/usr/")):
            fail("outside /usr: " + path)
        if forbidden.search(path) or os.path.abspath(build) in path or os.path.abspath(source) in path:
            fail("does not belong in the package: " + path)
    return entries


def field(info, name):
    m = re.search(r"^ %s: (.*)$" % re.escape(name), info, re.M)
    return m.group(1) if m else None


def check_info(deb):
    info = run(["dpkg", "-I", deb]).stdout
    arch = run(["dpkg", "--print-architecture"]).stdout.strip()
    expected = {"Package": "vantrell2", "Version": "2.0.2", "Architecture": arch,
                "Section": "misc", "Priority": "optional"}
    for name, value in expected.items():
        if field(info, name) != value:
            fail("%s is %r, not %r" % (name, field(info, name), value))
    if not re.match(r".+ <[^@ ]+@[^@ ]+>$", field(info, "Maintainer") or ""):
        fail("Maintainer %r has no address" % field(info, "Maintainer"))
    if not re.search(r"^ Description: \S.*\n  \S", info, re.M):
        fail("Description has no long description")
    depends = [d.strip() for d in (field(info, "Depends") or "").split(",")]
    names = {re.sub(r"\s*\(.*\)", "", d) for d in depends}
    # Found by the shared-library scan, with versions.
    for lib in ("libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6sql6",
                "libqt6multimedia6", "libqt6printsupport6", "libc6", "libstdc++6"):
        if not any(d.startswith(lib + " (") for d in depends):
            fail("Depends lacks %s with a version (shared-library scan): %s" % (lib, depends))
    # Loaded or used at run time, where the scan cannot see them.
    for extra in ("libqt6sql6-sqlite", "qt6-wayland", "fonts-liberation", "fonts-noto-color-emoji",
                  "xdg-utils", "pipewire-pulse | pulseaudio"):
        if extra not in names:
            fail("Depends lacks " + extra)
    if "libqt6test6" in names:
        fail("Depends names the test library")
    return info


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def check_files(root, build, source):
    for s in (48, 128, 256):
        png = os.path.join(root, "usr/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, APP_ID))
        if os.path.exists(png) and png_size(png) != (s, s):
            fail("%s is %r, not %dx%d" % (png, png_size(png), s, s))
    program = os.path.join(root, "usr/bin/vantrell2")
    if os.path.exists(program):
        data = open(program, "rb").read()
        for folder in {os.path.realpath(build), os.path.realpath(source)}:
            if folder.encode() in data:
                fail("the program names the folder it was built in: " + folder)
        if b".debug_info" in data:
            fail("the program is not stripped")

    desktop = os.path.join(root, "usr/share/applications/%s.desktop" % APP_ID)
    result = run(["desktop-file-validate", desktop])
    if result.returncode != 0 or (result.stdout + result.stderr).strip():
        fail("desktop-file-validate: " + result.stdout + result.stderr)
    metainfo = os.path.join(root, "usr/share/metainfo/%s.metainfo.xml" % APP_ID)
    result = run(["appstreamcli", "validate", "--no-net", "--no-color", metainfo])
    said = [l for l in result.stdout.splitlines() if re.match(r"[EWI]: ", l)]
    if result.returncode != 0 or said:
        fail("appstreamcli validate: " + result.stdout + result.stderr)


def check_lintian(deb):
    result = run(["lintian", "--fail-on", "error,warning", deb])
    print(result.stdout, end="")
    if result.returncode != 0:
        fail("lintian: " + result.stdout + result.stderr)


def check_installed_run(root):
    """The unpacked tree stands for /usr as the superuser sees it: writable.
    The program must still put its database in the user's data folder."""
    home = tempfile.mkdtemp(prefix="vantrell-home-")
    try:
        before = snapshot(root)
        env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
                   XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_RUNTIME_DIR=home, QT_QPA_PLATFORM="offscreen")
        proc = subprocess.Popen([os.path.join(root, "usr/bin/vantrell2")], env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        database = os.path.join(home, "data/Brannoque/vantrell2/Data/Darts.MDB")
        deadline = time.time() + 20
        while time.time() < deadline and not os.path.exists(database) and proc.poll() is None:
            time.sleep(0.2)
        time.sleep(1.5)  # past the splash, into the main window
        alive = proc.poll() is None
        proc.send_signal(signal.SIGTERM)
        try:
            output = proc.communicate(timeout=10)[0].decode(errors="replace")
        except subprocess.TimeoutExpired:
            proc.kill()
            output = proc.communicate()[0].decode(errors="replace")
        if not alive:
            fail("the installed program ended at start: " + output)
        if not os.path.isfile(database):
            fail("no database in the user's data folder; the home holds %s"
                 % sorted(os.path.relpath(os.path.join(d, f), home)
                          for d, _, fs in os.walk(home) for f in fs))
        after = snapshot(root)
        if after != before:
            fail("the installed program wrote below its prefix: %s"
                 % sorted(set(after) ^ set(before)))
    finally:
        shutil.rmtree(home, ignore_errors=True)


def snapshot(root):
    return sorted(os.path.relpath(os.path.join(d, f), root)
                  for d, ds, fs in os.walk(root) for f in fs + ds)


def main():
    build, source = (os.path.abspath(a) for a in sys.argv[1:3])
    out = os.path.join(build, "package-check")
    deb = build_package(build, out)
    print("package:", deb)
    check_listing(deb, build, source)
    check_info(deb)
    root = os.path.join(out, "root")
    subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
    check_files(root, build, source)
    check_lintian(deb)
    check_installed_run(root)
    if failures:
        sys.exit("%d failure(s)" % len(failures))
    print("package checked:", os.path.basename(deb))


if __name__ == "__main__":
    main()
