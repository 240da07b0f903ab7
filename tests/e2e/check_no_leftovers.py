#!/usr/bin/env python3
"""The leftover check itself: a test that leaves a process, a temporary file
or a killed X server's socket behind fails, and each is ended or removed; a
clean test keeps its own status, passed or failed."""

import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "no_leftovers.py")


def run(script):
    """The check around a shell script; its status and what it printed (into
    a file: a process left behind would hold a pipe open)."""
    with tempfile.TemporaryFile("w+") as said:
        result = subprocess.run([sys.executable, CHECK, "sh", "-c", script], stdout=said, stderr=said,
                                timeout=60, env=dict(os.environ, NO_LEFTOVERS_ON_DISPLAY=""))
        said.seek(0)
        return result.returncode, said.read()


def main():
    failures = []

    def expect(what, condition):
        if not condition:
            failures.append(what)

    status, said = run("exit 0")
    expect(f"a clean passing test passes (status {status}: {said})", status == 0 and not said)
    status, said = run("exit 3")
    expect(f"a clean failing test keeps its status 3 (got {status})", status == 3)

    with tempfile.TemporaryDirectory() as scratch:
        pid_file = os.path.join(scratch, "pid")
        status, said = run(f"sleep 300 & echo $! > {pid_file}")
        with open(pid_file, encoding="ascii") as f:
            pid = int(f.read())
        expect(f"a process left running fails the test ({status}: {said})", status == 1 and "sleep 300" in said)
        expect("the process left running is ended", not os.path.exists(f"/proc/{pid}")
               or open(f"/proc/{pid}/stat", encoding="ascii").read().split(")")[1].split()[0] == "Z")

        # One that ends by itself a moment after the test, as the desktop
        # settings query the framework does not wait for, is no leftover.
        status, said = run("(sleep 1; exit 0) &")
        expect(f"a process that ends by itself soon after passes ({status}: {said})", status == 0 and not said)

        status, said = run('echo x > "$TMPDIR/left-behind"')
        expect(f"a temporary file left fails the test ({status}: {said})", status == 1 and "left-behind" in said)
        path = said.split("temporary file ", 1)[-1].split()[0] if "temporary file " in said else ""
        expect("the temporary file is removed", path and not os.path.exists(path))

        # An X server killed before it could clean up keeps its socket.
        number_file = os.path.join(scratch, "display")
        status, said = run(f"Xvfb -displayfd 1 -nolisten tcp > {number_file} 2> /dev/null & "
                           f"while [ ! -s {number_file} ]; do sleep 0.05; done; kill -9 $!; wait")
        with open(number_file, encoding="ascii") as f:
            socket_path = f"/tmp/.X11-unix/X{int(f.read())}"
        expect(f"a killed X server's socket fails the test ({status}: {said})", status == 1 and socket_path in said)
        expect("the killed X server's socket is removed", not os.path.exists(socket_path))

    for failure in failures:
        print(f"FAILED: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
