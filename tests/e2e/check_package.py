#!/usr/bin/env python3
"""Package test: the Debian package made from an existing build, checked the
way Debian checks packages, installed with apt-get, started, and removed.

1. CPack makes tintwright_<version>_amd64.deb from the build folder (no build
   of its own); its files and control fields are checked.
2. lintian finds no error and no warning; appstreamcli validates the AppStream
   metadata and desktop-file-validate the launcher, as installed.
3. apt-get installs the package; /usr/bin/Tintwright holds nothing of the
   monkey test's probe (check_no_test_probe.sh), starts under a private
   Xvfb, without the font path the other tests set, and shows its 600 x 450
   window with text in its menu bar. Every file it opens on the way (traced
   with strace) that some package owns must come from a package the .deb
   depends on, directly or through others: JUCE opens the X11 libraries with
   dlopen and reads the fonts itself, which dpkg-shlibdeps cannot see.
4. apt-get removes it; no file or folder of the package is left.

apt-get needs root: as anyone else the test exits with 77, which CTest reports
as skipped. It leaves alone a machine where the package is installed already.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xdrive import Desktop, Display, DriveError, need_tools  # noqa: E402
from tintwright_window import MENU_BAR, WINDOW_BACKGROUND, MainWindow  # noqa: E402

SKIPPED = 77
PACKAGE = "tintwright"
PROGRAM = "/usr/bin/Tintwright"
CLI = "/usr/bin/tintwright-cli"
WINDOW_SIZE = (600, 450)
FONT_SUFFIXES = (".ttf", ".otf", ".pfb", ".pcf")  # the kinds JUCE reads on Linux
PACKAGE_FILES = {
    "/usr/bin/Tintwright",
    "/usr/share/applications/tintwright.desktop",
    "/usr/share/icons/hicolor/scalable/apps/tintwright.svg",
    "/usr/share/metainfo/tintwright.metainfo.xml",
    "/usr/share/man/man1/Tintwright.1.gz",
    "/usr/bin/tintwright-cli",
    "/usr/share/man/man1/tintwright-cli.1.gz",
    "/usr/share/bash-completion/completions/tintwright-cli",
    "/usr/share/doc/tintwright/copyright",
    "/usr/share/doc/tintwright/changelog.gz",
}
# The project has no web domain to build a reverse-DNS component id from; the
# id is the package's name (see the package section of docs/development.md).
APPSTREAM_ACCEPTED = ["cid-desktopapp-is-not-rdns"]


class CheckFailed(Exception):
    pass


def run(args, check=True, **kwargs):
    result = subprocess.run(args, capture_output=True, text=True, **kwargs)
    if check and result.returncode != 0:
        raise CheckFailed(f"{' '.join(args)} failed ({result.returncode}):\n{result.stdout}{result.stderr}")
    return result


def apt_environment():
    return dict(os.environ, DEBIAN_FRONTEND="noninteractive")


def installed_status(package):
    result = run(["dpkg-query", "-W", "-f=${db:Status-Status}", package], check=False)
    return result.stdout.strip() if result.returncode == 0 else "not-installed"


# 1. The package ---------------------------------------------------------------

def make_package(cpack, config, work, version):
    result = run([cpack, "--config", config, "-B", work])
    deb = os.path.join(work, f"{PACKAGE}_{version}_amd64.deb")
    if not os.path.isfile(deb):
        raise CheckFailed(f"CPack made no {os.path.basename(deb)}:\n{result.stdout}")
    return deb


def check_contents(deb, version):
    fields = {name: run(["dpkg-deb", "-f", deb, name]).stdout.strip()
              for name in ("Package", "Version", "Architecture", "Depends")}
    expected = {"Package": PACKAGE, "Version": version, "Architecture": "amd64"}
    for name, value in expected.items():
        if fields[name] != value:
            raise CheckFailed(f"control field {name} is '{fields[name]}', expected '{value}'")
    depends = [d.strip().split()[0] for d in fields["Depends"].split(",") if d.strip()]
    if "libc6" not in depends or "libstdc++6" not in depends:
        raise CheckFailed(f"Depends lacks what the program links (dpkg-shlibdeps did not run?): {fields['Depends']}")

    files, folders = set(), set()
    for line in run(["dpkg-deb", "-c", deb]).stdout.splitlines():
        mode, path = line.split()[0], line.split()[-1].lstrip(".").rstrip("/")
        if path:
            (folders if mode.startswith("d") else files).add(path)
    if files != PACKAGE_FILES:
        raise CheckFailed(f"the package holds {sorted(files)}, expected {sorted(PACKAGE_FILES)}")
    print(f"package: {os.path.basename(deb)}, Depends: {fields['Depends']}")
    return files | folders


# 2. Debian's checks -------------------------------------------------------------

def check_lintian(deb):
    # lintian leaves its ELF databases (mldbm-elf-*) in TMPDIR: give it a folder of its own.
    with tempfile.TemporaryDirectory(prefix="lintian-") as scratch:
        result = run(["lintian", "--tag-display-limit", "0", "--display-info", deb], check=False,
                     env={**os.environ, "TMPDIR": scratch})
    tags = [line for line in result.stdout.splitlines() if line[:3] in ("E: ", "W: ")]
    if tags or result.returncode not in (0, 1) or "E: " in result.stderr:
        raise CheckFailed("lintian:\n" + result.stdout + result.stderr)
    print("lintian: no errors, no warnings" + (f"; other tags:\n{result.stdout.strip()}" if result.stdout.strip() else ""))


def check_metadata(deb, work, version):
    root = os.path.join(work, "root")
    run(["dpkg-deb", "-x", deb, root])
    metainfo = os.path.join(root, "usr/share/metainfo/tintwright.metainfo.xml")
    desktop = os.path.join(root, "usr/share/applications/tintwright.desktop")

    overrides = [f"--override={tag}=info" for tag in APPSTREAM_ACCEPTED]
    result = run(["appstreamcli", "validate", "--no-net", *overrides, metainfo], check=False)
    if result.returncode != 0:
        raise CheckFailed("appstreamcli validate:\n" + result.stdout + result.stderr)
    releases = [r.get("version") for r in ET.parse(metainfo).getroot().iter("release")]
    if releases[:1] != [version]:
        raise CheckFailed(f"the AppStream metadata's latest release is {releases[:1]}, expected {version}")

    report = [line for line in run(["desktop-file-validate", desktop], check=False).stdout.splitlines()
              if ": hint: " not in line]
    if report:
        raise CheckFailed("desktop-file-validate:\n" + "\n".join(report))
    print("appstreamcli validate and desktop-file-validate: clean"
          + (f" (accepted: {', '.join(APPSTREAM_ACCEPTED)})" if APPSTREAM_ACCEPTED else ""))


# 3. Installed and started --------------------------------------------------------

def install(deb):
    run(["apt-get", "install", "-y", "-q", os.path.abspath(deb)], env=apt_environment())
    if installed_status(PACKAGE) != "installed":
        raise CheckFailed(f"after apt-get install the package's status is {installed_status(PACKAGE)}")


def menu_bar_glyph_pixels(shot, window):
    """Glyphs in the menu bar's first 60 pixels ("File"): pixels much darker
    than the bar's own colour at its right end. With no font found, JUCE draws
    no glyph at all."""
    y0 = window.content_y - MENU_BAR
    bar = shot.pixel(window.content_x + window.content_width - 3, y0 + MENU_BAR // 2)
    luma = lambda c: (299 * (c >> 16) + 587 * ((c >> 8) & 255) + 114 * (c & 255)) // 1000  # noqa: E731
    dark = sum(1 for x in range(window.content_x, window.content_x + 60) for y in range(y0 + 2, y0 + MENU_BAR - 2)
               if luma(bar) - luma(shot.pixel(x, y)) > 100)
    return dark


def start_installed(work, shots):
    display = Display().start()
    desktop = Desktop(display)
    home = os.path.join(work, "home")
    os.makedirs(home, exist_ok=True)
    trace = os.path.join(work, "opens.trace")
    env = display.environment(HOME=home)
    env.pop("JUCE_FONT_PATH", None)  # fonts as a user gets them: from fonts.conf
    process = subprocess.Popen(["strace", "-f", "-qq", "-e", "trace=open,openat,execve,clone,clone3,fork,vfork", "-e", "status=successful",
                                "-o", trace, PROGRAM], cwd=home, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program_pid = None
    try:
        window_id = desktop.wait_for_window("^Tintwright$", timeout=30)
        program_pid = int(desktop.xdotool("getwindowpid", window_id).strip())
        window = MainWindow(desktop, window_id)
        if (window.width, window.height) != WINDOW_SIZE:
            raise CheckFailed(f"the window is {window.width} x {window.height}, expected {WINDOW_SIZE}")
        shot = desktop.wait_for_pixels(
            lambda s: [] if s.pixel(*window.title_bar_top(window.width // 3)) == WINDOW_BACKGROUND
            and menu_bar_glyph_pixels(s, window) >= 10 else ["no painted title bar and menu-bar text"],
            "the installed program's first paint", timeout=15)
        os.makedirs(shots, exist_ok=True)
        picture = os.path.join(shots, "installed_program.png")
        shot.save(picture, crop=(window.x, window.y, window.width, window.height))
        print(f"installed program: {PROGRAM} shows its {window.width} x {window.height} window ({picture})")
    finally:
        if program_pid is not None:
            os.kill(program_pid, signal.SIGTERM)
        try:
            process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        display.stop()
    return trace


def opened_files(trace):
    """The regular files the program itself opened. Not those of the programs
    it starts: JUCE runs /usr/bin/gsettings, where there is one, to ask the
    desktop for its scale factor, and what gsettings loads is no need of ours."""
    program_of = {}  # process id -> the program it runs, inherited at fork
    paths = set()
    with open(trace, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            # strace pads the process id to a fixed width: "6948  openat(...)".
            pid, _, call = line.strip().partition(" ")
            call = call.lstrip()
            if not pid.isdigit():
                continue
            pid = int(pid)
            quoted = call.split('"')
            if call.startswith("execve(") and len(quoted) > 2:
                program_of[pid] = quoted[1]
            elif ("clone" in call or "fork" in call) and call.rsplit("= ", 1)[-1].isdigit():
                program_of[int(call.rsplit("= ", 1)[-1])] = program_of.get(pid, PROGRAM)
            elif call.startswith(("open", "<... open")) and len(quoted) > 2 and program_of.get(pid, PROGRAM) == PROGRAM:
                if os.path.isfile(quoted[1]):
                    paths.add(quoted[1])
    return paths


def spellings(path):
    """The names dpkg may know a file by: with merged /usr, /lib/x and
    /usr/lib/x are one file, but a package lists only the one it ships."""
    names = {path, os.path.realpath(path)}
    for name in list(names):
        for top in ("/lib", "/lib64", "/bin", "/sbin"):
            if name.startswith(top + "/"):
                names.add("/usr" + name)
            if name.startswith("/usr" + top + "/"):
                names.add(name[len("/usr"):])
    return names


def owners(paths):
    """{path: set of packages owning it} for the paths some package owns."""
    found = {}
    for path in paths:
        result = run(["dpkg-query", "-S", *sorted(spellings(path))], check=False)
        for line in result.stdout.splitlines():
            packages, _, _ = line.partition(": ")
            if "diversion" in packages:
                continue
            found.setdefault(path, set()).update(p.strip().split(":")[0] for p in packages.split(","))
    return found


def dependency_closure(depends):
    """Every installed package the given ones pull in, Essential ones included
    (no package needs to name those)."""
    fields = "${Package}\t${Essential}\t${Provides}\t${Depends}\t${Pre-Depends}\t${db:Status-Status}\n"
    installed, providers, essential = {}, {}, set()
    for line in run(["dpkg-query", "-W", f"-f={fields}"]).stdout.splitlines():
        name, is_essential, provides, deps, pre, status = line.split("\t")
        if status != "installed":
            continue
        installed[name] = ", ".join(d for d in (deps, pre) if d)
        if is_essential == "yes":
            essential.add(name)
        for virtual in provides.split(","):
            if virtual.strip():
                providers.setdefault(virtual.strip().split()[0], set()).add(name)

    def names(relations):
        for alternatives in relations.split(","):
            for alternative in alternatives.split("|"):
                if alternative.strip():
                    name = alternative.strip().split()[0].split(":")[0]
                    yield from ([name] if name in installed else providers.get(name, ()))

    closure, todo = set(essential), [n for d in depends for n in names(d)]
    while todo:
        name = todo.pop()
        if name not in closure:
            closure.add(name)
            todo.extend(names(installed.get(name, "")))
    return closure


def check_opens(trace, depends):
    """Every file the program opened that a package owns comes from the
    dependencies. Fonts are the exception: JUCE looks into every font file in
    the folders fonts.conf names, so one font of the dependencies is enough."""
    opened = opened_files(trace)
    owned = owners(opened)
    closure = dependency_closure(depends) | {PACKAGE}
    fonts = {path for path in owned if path.endswith(FONT_SUFFIXES)}
    if not any(owned[font] & closure for font in fonts):
        raise CheckFailed(f"none of the fonts the program opened comes from its dependencies: {sorted(fonts)}")
    uncovered = {path: sorted(packages) for path, packages in owned.items()
                 if not packages & closure and path not in fonts}
    if uncovered:
        raise CheckFailed("the program opened files of packages the .deb does not depend on:\n"
                          + "\n".join(f"  {path}: {', '.join(p)}" for path, p in sorted(uncovered.items())))
    libraries = sorted(p for p in owned if ".so" in os.path.basename(p))
    print(f"opens: {len(opened)} files, {len(owned)} from packages, all within the dependencies; "
          f"libraries: {' '.join(os.path.basename(p) for p in libraries)}")


def check_no_test_probe():
    """The installed program is no probed build (see check_no_test_probe.sh)."""
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_no_test_probe.sh")
    result = run([script, PROGRAM], check=False)
    if result.returncode != 0:
        raise CheckFailed(result.stderr.strip() or f"{script} gave exit {result.returncode}")
    print(result.stdout.strip())


# 4. Removed ----------------------------------------------------------------------

def check_cli_installed(version):
    """The command-line program runs from the package, without a display."""
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    result = run([CLI, "--version"], check=False, env=env)
    if result.returncode != 0 or result.stdout.strip() != f"tintwright-cli {version}":
        raise CheckFailed(f"{CLI} --version gave exit {result.returncode}: {result.stdout.strip()} {result.stderr.strip()}")
    manual = run(["man", "-l", "-Tutf8", "/usr/share/man/man1/tintwright-cli.1.gz"], check=False, env=env) \
        if shutil.which("man") else None
    if manual is not None and "tintwright-cli" not in manual.stdout:
        raise CheckFailed("the installed manual page of tintwright-cli does not format")
    print(f"installed command line: {result.stdout.strip()}")


def remove(package_paths, existed_before):
    """Removes the package; its files must be gone, and so must every folder
    that only the package had brought."""
    run(["apt-get", "remove", "-y", "-q", PACKAGE], env=apt_environment())
    status = installed_status(PACKAGE)
    if status != "not-installed":
        raise CheckFailed(f"after apt-get remove the package's status is {status}")
    left = sorted(p for p in package_paths if p not in existed_before and os.path.lexists(p))
    if left:
        raise CheckFailed("apt-get remove left behind: " + " ".join(left))
    print(f"removed: nothing of the package is left ({len(package_paths - existed_before)} paths checked)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cpack", required=True)
    parser.add_argument("--config", required=True, help="the build's CPackConfig.cmake")
    parser.add_argument("--version", required=True, help="the project's version")
    parser.add_argument("--work", required=True, help="a folder the test may empty and fill")
    parser.add_argument("--shots", required=True)
    args = parser.parse_args()

    if os.geteuid() != 0:
        print("SKIPPED: installing and removing a package with apt-get needs root; run the tests as root")
        return SKIPPED
    status = installed_status(PACKAGE)
    if status != "not-installed":
        print(f"SKIPPED: the package {PACKAGE} is on this machine already ({status}); "
              "this test installs and removes it, so it leaves that machine alone")
        return SKIPPED
    try:
        need_tools("dpkg-deb", "dpkg-shlibdeps", "lintian", "appstreamcli", "desktop-file-validate", "apt-get",
                   "strace", "Xvfb", "xdotool", "import", "convert", "nm", "strings")
    except DriveError as error:
        print(f"package test: {error}", file=sys.stderr)
        return 1

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    installed = False
    try:
        deb = make_package(args.cpack, args.config, args.work, args.version)
        package_paths = check_contents(deb, args.version)
        check_lintian(deb)
        check_metadata(deb, args.work, args.version)

        existed_before = {p for p in package_paths if os.path.lexists(p)}
        if existed_before & PACKAGE_FILES:
            raise CheckFailed("files of the package are on the machine before its install: "
                              + " ".join(sorted(existed_before & PACKAGE_FILES)))
        installed = True
        install(deb)
        check_no_test_probe()
        check_cli_installed(args.version)
        trace = start_installed(args.work, args.shots)
        check_opens(trace, [run(["dpkg-query", "-W", "-f=${Depends}", PACKAGE]).stdout])
        remove(package_paths, existed_before)
        installed = False
    except (CheckFailed, DriveError) as error:
        print(f"package test: {error}", file=sys.stderr)
        return 1
    finally:
        if installed and installed_status(PACKAGE) != "not-installed":
            run(["apt-get", "remove", "-y", "-q", PACKAGE], check=False, env=apt_environment())
    print("package test: made, checked, installed, started and removed cleanly")
    return 0


if __name__ == "__main__":
    sys.exit(main())
