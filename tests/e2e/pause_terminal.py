#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The error pause on a real terminal, under job control. POSIX only.

Each case runs the program as a job of a small job-control shell (this script with
--job-shell): a session leader whose controlling terminal is a pseudo-terminal, which starts the
program in a process group of its own, in the foreground or in the background, waits for it
with WUNTRACED, takes the terminal back when it stops or ends, and brings it to the foreground
as bash's `fg` does (SIGCONT only to a stopped job). Unlike an interactive shell it never
repairs the terminal's settings, as scripts, make and plain sh do not: `stty -g` must be as the
program found it after every way out, and while it is stopped.

A key ends the wait within about a quarter of a second, whatever key (Ctrl-S, Ctrl-Q, Ctrl-V
and Ctrl-O included), without echo and without reaching the next reader; keys typed before the
wait do not end it. A signal whose default ends the process ends it as it would without the
pause, and one that the caller ignores stays ignored. Ctrl-Z stops the program with the
terminal put back; `fg` brings back single-key mode for the rest of the 30 steps. A job in the
background waits its full time and changes nothing on the terminal.

The cases run concurrently, since most of them wait several seconds.
Usage: pause_terminal.py [--emulator COMMAND] PROGRAM
COMMAND (a CMake list, e.g. qemu-aarch64) runs a cross-built PROGRAM. Below, `program` is the
whole command: the emulator's words, if any, then the program.
"""

import concurrent.futures
import contextlib
import fcntl
import json
import os
import pty
import resource
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time

PROMPT = b"Press Any Key to Continue..."
STEP = 0.25


def check(condition: bool, what: str):
    if not condition:
        raise AssertionError(what)


def state_of(status: int) -> str:
    if os.WIFSTOPPED(status):
        return "stopped " + signal.Signals(os.WSTOPSIG(status)).name
    if os.WIFSIGNALED(status):
        return "killed " + signal.Signals(os.WTERMSIG(status)).name
    return f"exited {os.WEXITSTATUS(status)}"


# ---- The job-control shell: runs in a session of its own, one order per line on its input.

def spawn(terminal: int, order: dict, stderr: int) -> int:
    pid = os.fork()
    if pid == 0:
        try:
            os.setpgid(0, 0)
            if order["foreground"]:
                os.tcsetpgrp(terminal, os.getpid())
            # What a shell hands to its jobs: default actions, but for what the caller ignores.
            for number in (signal.SIGINT, signal.SIGQUIT, signal.SIGTSTP, signal.SIGTTIN,
                           signal.SIGTTOU, signal.SIGPIPE, signal.SIGXFSZ):
                signal.signal(number, signal.SIG_DFL)
            for number in order["ignored"]:
                signal.signal(number, signal.SIG_IGN)
            os.dup2(terminal, 0)
            os.dup2(terminal, 1)
            os.dup2(terminal if stderr < 0 else stderr, 2)
            os.execve(order["argv"][0], order["argv"], {"LC_ALL": "C"})
        finally:
            os._exit(127)
    with contextlib.suppress(OSError):  # the job may have set it, or gone on to exec, first
        os.setpgid(pid, pid)
    if order["foreground"]:
        os.tcsetpgrp(terminal, pid)
    return pid


def job_shell(terminal: int, stderr: int) -> int:
    fcntl.ioctl(terminal, termios.TIOCSCTTY, 0)
    for number in (signal.SIGINT, signal.SIGQUIT, signal.SIGTSTP, signal.SIGTTIN,
                   signal.SIGTTOU):
        signal.signal(number, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))  # SIGQUIT leaves no core file behind
    os.set_inheritable(terminal, False)
    if stderr >= 0:
        os.set_inheritable(stderr, False)
    job = 0
    stopped = False
    for line in sys.stdin:
        order = json.loads(line)
        reply = "ok"
        if order["do"] == "run":
            job = spawn(terminal, order, stderr)
            if stderr >= 0:
                os.close(stderr)  # the job's reader sees the end of it when the job ends
            reply = str(job)
        elif order["do"] in ("wait", "poll"):
            flags = os.WUNTRACED | (os.WNOHANG if order["do"] == "poll" else 0)
            pid, status = os.waitpid(job, flags)
            reply = "running" if pid == 0 else state_of(status)
            if pid != 0:
                stopped = os.WIFSTOPPED(status)
                os.tcsetpgrp(terminal, os.getpgrp())
        elif order["do"] == "fg":
            # As bash does: a job that runs in the background gets the terminal, and no signal.
            os.tcsetpgrp(terminal, job)
            if stopped:
                os.killpg(job, signal.SIGCONT)
                stopped = False
        print(reply, flush=True)
    return 0


# ---- The test's side.

class Job:
    """The program as a job of its own job-control shell, on a terminal of its own."""

    def __init__(self, program: list, stderr_pipe: bool = False, stderr_file=None):
        self.program = program
        self.master, self.slave = pty.openpty()
        self.found = self.stty()
        self.pid = 0
        self.replies = b""
        self.seen = b""
        pipe_end = -1
        self.source = self.master  # where the program's standard error shows
        if stderr_pipe:
            self.source, pipe_end = os.pipe()
        elif stderr_file is not None:  # the terminal then shows only what goes to it directly
            pipe_end = os.dup(stderr_file.fileno())
        self.shell = subprocess.Popen(
            [sys.executable, os.path.abspath(__file__), "--job-shell", str(self.slave),
             str(pipe_end)],
            pass_fds=[fd for fd in (self.slave, pipe_end) if fd >= 0],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, start_new_session=True)
        if pipe_end >= 0:
            os.close(pipe_end)

    def order(self, do: str, timeout: float = 5.0, **details) -> str:
        self.shell.stdin.write((json.dumps(dict(do=do, **details)) + "\n").encode())
        self.shell.stdin.flush()
        deadline = time.monotonic() + timeout
        while b"\n" not in self.replies:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.shell.stdout], [], [], left)[0]:
                raise AssertionError(f"no answer to {do} within {timeout} s")
            data = os.read(self.shell.stdout.fileno(), 1024)
            if not data:
                raise AssertionError(f"the shell ended on {do}")
            self.replies += data
        reply, self.replies = self.replies.split(b"\n", 1)
        return reply.decode()

    def run(self, mode: str = "--error-delay", foreground: bool = True, ignored=()):
        self.pid = int(self.order("run", argv=[*self.program, "-z", *mode.split()],
                                  foreground=foreground, ignored=list(ignored)))

    def wait(self, timeout: float) -> str:
        return self.order("wait", timeout=timeout)

    def poll(self) -> str:
        return self.order("poll")

    def type(self, keys: bytes):
        os.write(self.master, keys)

    def read(self, timeout: float = 0.0) -> bytes:
        """Everything the program has written to standard error so far."""
        while select.select([self.source], [], [], timeout)[0]:
            try:
                data = os.read(self.source, 4096)
            except OSError:  # a terminal whose last user is gone
                data = b""
            if not data:
                break
            self.seen += data
            timeout = 0.0
        return self.seen

    def read_until(self, wanted: bytes, dots: int = 0, timeout: float = 5.0) -> bytes:
        deadline = time.monotonic() + timeout
        while (wanted not in self.seen or self.dots() < dots) and time.monotonic() < deadline:
            self.read(0.05)
        check(wanted in self.seen and self.dots() >= dots, f"not shown: {self.seen!r}")
        return self.seen

    def prompt_line(self) -> bytes:
        """The dots after the prompt, and any echo among them."""
        line = self.seen[self.seen.index(PROMPT) + len(PROMPT):] if PROMPT in self.seen else b""
        # The program ends the line with CR LF, which a terminal shows as CR CR LF.
        return line.split(b"\r\r\n" if self.source == self.master else b"\r\n")[0]

    def dots(self) -> int:
        return self.prompt_line().count(b".")

    def stty(self) -> bytes:
        return subprocess.run(["stty", "-g"], stdin=self.slave, stdout=subprocess.PIPE,
                              check=True, timeout=5).stdout

    def single_key_mode(self) -> bool:
        iflag, _, _, lflag = termios.tcgetattr(self.slave)[:4]
        return not (lflag & (termios.ICANON | termios.ECHO | termios.IEXTEN)
                    or iflag & termios.IXON)

    def comes_true(self, condition, timeout: float = 2.0) -> bool:
        deadline = time.monotonic() + timeout
        while not condition() and time.monotonic() < deadline:
            time.sleep(0.02)
        return condition()

    def pending_input(self) -> int:
        return struct.unpack("i", fcntl.ioctl(self.slave, termios.FIONREAD, b"\0" * 4))[0]

    def close(self):
        if self.pid:
            with contextlib.suppress(OSError):
                os.killpg(self.pid, signal.SIGKILL)
        self.shell.stdin.close()
        try:
            self.shell.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.shell.kill()
            self.shell.wait()
        self.shell.stdout.close()
        for fd in {self.master, self.slave, self.source}:
            os.close(fd)


@contextlib.contextmanager
def job_of(program: list, stderr_pipe: bool = False, stderr_file=None):
    job = Job(program, stderr_pipe, stderr_file)
    try:
        yield job
        check(job.stty() == job.found, "stty -g differs from what the program found")
    finally:
        job.close()


def ends_quickly(job: Job, expected: str, what: str):
    started = time.monotonic()
    state = job.wait(timeout=3.0)
    check(state == expected, f"{what}: {state}, not {expected}")
    # A step is 250 ms; a loaded machine gets some more.
    check(time.monotonic() - started < 1.5, f"{what}: the run took too long to end")


def key_ends_the_wait(program: list, key: bytes, mode: str = "--error-delay"):
    with job_of(program) as job:
        job.run(mode)
        job.read_until(PROMPT, dots=1)
        job.type(key)
        ends_quickly(job, "exited 65", "after the key")
        shown = job.read(0.2)
        check(set(job.prompt_line()) == {ord(".")} and job.dots() < 10,
              f"key echoed or wait not cut short: {job.prompt_line()!r}")
        check(shown.rstrip().endswith(b"Lettrix --??"), "the brief help follows the pause")
        check(job.pending_input() == 0, "the key is left for the next reader")


def bell_before_the_prompt(program: list, mode: str):
    """The audible error rings the terminal's bell once, after the report, before the prompt."""
    with job_of(program) as job:
        job.run(mode)
        seen = job.read_until(PROMPT, dots=1)
        job.type(b"k")
        ends_quickly(job, "exited 65", "after the key")
        before = seen[:seen.index(PROMPT)]
        check(before.count(b"\a") == 1 and before.endswith(b"Provided: -z \r\r\n\r\r\n\a"),
              f"no one bell between the report and the prompt: {seen!r}")


def bell_never_in_a_file(program: list):
    """Standard error redirected to a file gets no bell: the terminal does."""
    with tempfile.TemporaryFile() as log:
        with job_of(program, stderr_file=log) as job:
            job.run("--audible-error")
            state = job.wait(timeout=5.0)
            check(state == "exited 65", f"--audible-error alone: {state}")
            check(job.read(0.2) == b"\a", f"the terminal showed {job.seen!r}, not one bell")
        log.seek(0)
        written = log.read()
        check(b"Invalid Parameters Provided: -z " in written and b"\a" not in written,
              f"standard error got {written!r}")


def keys_typed_before_do_not_count(program: list):
    with job_of(program) as job:
        job.type(b"early")
        job.run()
        job.read_until(PROMPT, dots=3)
        check(job.poll() == "running", "keys typed before the wait ended it")
        job.type(b"q")
        ends_quickly(job, "exited 65", "after the key")
        check(job.pending_input() == 0, "typed keys are left for the next reader")


def signal_ends_the_run(program: list, number: int, how, foreground: bool = True,
                        ignored=()):
    """`how` is the keys that raise the signal, "kill" for the job's group, or "reader gone"
    for closing the reading end of the program's standard error."""
    with job_of(program, stderr_pipe=how == "reader gone") as job:
        job.run(foreground=foreground, ignored=ignored)
        job.read_until(PROMPT, dots=1)
        if how == "kill":
            os.killpg(job.pid, number)
        elif how == "reader gone":
            os.close(job.source)
            job.source = os.open(os.devnull, os.O_RDONLY)
        else:
            job.type(how)
        if number in ignored:
            time.sleep(3 * STEP)
            check(job.poll() == "running", "an ignored signal ended the run")
            job.type(b"k")
            ends_quickly(job, "exited 65", "after the key")
        else:
            ends_quickly(job, "killed " + signal.Signals(number).name, "the signal")


def stopped_and_continued(program: list, then: str):
    """Ctrl-Z, then `fg`, then a key or no key."""
    with job_of(program) as job:
        job.run()
        job.read_until(PROMPT, dots=4)
        job.type(b"\x1a")
        state = job.wait(timeout=3.0)
        check(state == "stopped SIGTSTP", f"after Ctrl-Z: {state}")
        check(job.stty() == job.found, "the terminal is not as found while the job is stopped")
        job.read(0.1)
        before = job.dots()
        time.sleep(2 * STEP)
        job.read(0.1)
        check(job.dots() == before, "dots while the job is stopped")
        check(job.order("fg") == "ok", "fg")
        resumed = time.monotonic()
        check(job.comes_true(job.single_key_mode), "no single-key mode after fg")
        job.read_until(PROMPT, dots=before + 2)
        check(job.poll() == "running", "the wait did not go on after fg")
        if then == "key":
            job.type(b"k")
            ends_quickly(job, "exited 65", "a key after fg")
            job.read(0.2)
            check(set(job.prompt_line()) == {ord(".")} and job.dots() < 30,
                  f"key echoed or wait not cut short: {job.prompt_line()!r}")
        else:
            state = job.wait(timeout=15.0)
            check(state == "exited 65", f"after the steps: {state}")
            rest = (30 - before) * STEP
            check(time.monotonic() - resumed > rest - 0.5, "the rest of the wait was cut short")
            job.read(0.2)
            check(job.dots() == 30, f"{job.dots()} dots in all")
        check(job.pending_input() == 0, "the key is left for the next reader")


def started_in_background(program: list, then: str):
    """Started with `&`: no key counts and the terminal stays the shell's, until `fg`."""
    with job_of(program) as job:
        job.run(foreground=False)
        job.read_until(PROMPT, dots=1)
        check(job.stty() == job.found, "a job in the background changed the terminal")
        job.type(b"ls\n")  # a line typed to the shell
        time.sleep(3 * STEP)
        check(job.poll() == "running", "the job in the background stopped or ended")
        if then == "fg":
            check(job.order("fg") == "ok", "fg")
            check(job.comes_true(job.single_key_mode), "no single-key mode after fg")
            job.read()
            job.read_until(PROMPT, dots=job.dots() + 2)
            check(job.poll() == "running", "input typed before fg ended the wait")
            job.type(b"k")
            ends_quickly(job, "exited 65", "a key after fg")
            check(job.pending_input() == 0, "the key is left for the next reader")
        else:
            state = job.wait(timeout=15.0)
            check(state == "exited 65", f"after the steps: {state}")
            job.read(0.2)
            check(job.dots() == 30, f"{job.dots()} dots")
            check(job.pending_input() == 3, "the shell's input was taken")


def no_controlling_terminal(program: list):
    """A terminal that is standard input only, with no job control: a key ends the wait, and a
    later reader sees what is typed after it."""
    master, slave = pty.openpty()
    try:
        found = termios.tcgetattr(slave)
        process = subprocess.Popen([*program, "-z", "--error-delay"], stdin=slave,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   env={"LC_ALL": "C"}, start_new_session=True)
        seen = b""
        deadline = time.monotonic() + 5
        while PROMPT not in seen and time.monotonic() < deadline:
            if select.select([process.stderr], [], [], 0.05)[0]:
                seen += os.read(process.stderr.fileno(), 4096)
        check(PROMPT in seen, f"no prompt: {seen!r}")
        os.write(master, b"k")
        process.communicate(timeout=3)
        check(process.returncode == 65, f"status {process.returncode}")
        check(termios.tcgetattr(slave) == found, "the terminal settings were not restored")
        os.write(master, b"next\n")
        shell = subprocess.run(["/bin/sh", "-c", 'read -r line && printf %s "$line"'],
                               stdin=slave, stdout=subprocess.PIPE, timeout=5)
        check(shell.stdout == b"next", f"the next reader read {shell.stdout!r}")
    finally:
        os.close(master)
        os.close(slave)


def cases(program: list) -> list:
    keys = [("k", b"k"), ("Ctrl-S", b"\x13"), ("Ctrl-Q", b"\x11"), ("Ctrl-V", b"\x16"),
            ("Ctrl-O", b"\x0f")]
    signals = [
        ("Ctrl-C", signal.SIGINT, b"\x03", {}),
        ("Ctrl-\\", signal.SIGQUIT, b"\x1c", {}),
        ("SIGTERM", signal.SIGTERM, "kill", {}),
        ("SIGHUP", signal.SIGHUP, "kill", {}),
        ("SIGUSR1", signal.SIGUSR1, "kill", {}),
        ("SIGPIPE, the reader of standard error gone", signal.SIGPIPE, "reader gone", {}),
        ("SIGTERM to a job in the background", signal.SIGTERM, "kill",
         {"foreground": False}),
        ("SIGHUP ignored by the caller", signal.SIGHUP, "kill",
         {"ignored": [signal.SIGHUP]}),
    ]
    return (
        [(f"key {name} ends the wait", key_ends_the_wait, (program, key), {})
         for name, key in keys]
        + [("a key ends the wait of --debug-mode", key_ends_the_wait,
            (program, b"k", "--debug-mode"), {}),
           ("keys typed before the wait", keys_typed_before_do_not_count, (program,), {}),
           ("the bell of --audible-error before the prompt", bell_before_the_prompt,
            (program, "--error-delay --audible-error"), {}),
           ("the bell of --debug-mode before the prompt", bell_before_the_prompt,
            (program, "--debug-mode"), {}),
           ("no bell in standard error redirected to a file", bell_never_in_a_file, (program,),
            {})]
        + [(f"{name} during the wait", signal_ends_the_run, (program, number, how), options)
           for name, number, how, options in signals]
        + [("Ctrl-Z, fg, a key", stopped_and_continued, (program, "key"), {}),
           ("Ctrl-Z, fg, the rest of the steps", stopped_and_continued, (program, "steps"),
            {}),
           ("started in the background", started_in_background, (program, "steps"), {}),
           ("started in the background, then fg", started_in_background, (program, "fg"),
            {}),
           ("standard input a terminal without job control", no_controlling_terminal,
            (program,), {})])


def main() -> int:
    if sys.argv[1] == "--job-shell":
        return job_shell(int(sys.argv[2]), int(sys.argv[3]))
    arguments = sys.argv[1:]
    emulator = []
    if arguments[0] == "--emulator":
        # The job shell execs without a search of PATH.
        emulator = [part for part in arguments[1].split(";") if part]
        if emulator:
            emulator[0] = shutil.which(emulator[0]) or emulator[0]
        arguments = arguments[2:]
    planned = cases(emulator + [os.path.abspath(arguments[0])])
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=len(planned)) as pool:
        running = [(title, pool.submit(test, *arguments, **options))
                   for title, test, arguments, options in planned]
        for title, future in running:
            try:
                future.result()
            except (AssertionError, OSError, subprocess.SubprocessError) as problem:
                failed += 1
                print(f"FAIL {title}: {problem}")
    print(f"{len(planned) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
