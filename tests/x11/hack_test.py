#!/usr/bin/env python3
"""End-to-end tests of fractalrosacle on a private X display.

Run as: hack_test.py CASE, with HACK (the program) and TEST_WINDOW (the helper that makes
windows to draw in) in the environment; the display cases expect DISPLAY to be a display
of their own (run-with-xvfb.sh starts one). Every wait polls for a condition with a
generous limit, never a bare sleep.
"""
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

HACK = os.environ["HACK"]
TEST_WINDOW = os.environ.get("TEST_WINDOW", "")
HERE = os.path.dirname(os.path.abspath(__file__))
XML = os.path.join(HERE, "..", "..", "x11", "fractalrosacle.xml")
PATTERN1 = ["-pattern", "1", "-no-random-pattern"]
HELPER_COLOUR = (0x20, 0x40, 0x80)
WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def wait_until(condition, what, timeout=30.0):
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            fail("timed out waiting for " + what)
        time.sleep(0.2)


class Shot:
    """A screenshot of the whole screen (import -window root), as rows of RGB bytes."""

    def __init__(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                              check=True, capture_output=True).stdout
        fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
        self.width, self.height = int(fields.group(1)), int(fields.group(2))
        self.pixels = data[fields.end():]

    def row(self, y, x0, x1):
        start = (y * self.width + x0) * 3
        return self.pixels[start:start + (x1 - x0) * 3]

    def pixel(self, x, y):
        return tuple(self.row(y, x, x + 1))

    def all_of(self, colour, x0, y0, x1, y1):
        line = bytes(colour) * (x1 - x0)
        return all(self.row(y, x0, x1) == line for y in range(y0, y1))

    def non_white_box(self, x0, y0, x1, y1):
        """The bounding box (left, top, right, bottom) of the pixels that are not white."""
        box = None
        for y in range(y0, y1):
            line = self.row(y, x0, x1)
            stripped = line.lstrip(b"\xff")
            if not stripped:
                continue
            left = x0 + (len(line) - len(stripped)) // 3
            right = x0 + (len(line.rstrip(b"\xff")) - 1) // 3
            if box is None:
                box = [left, y, right, y]
            else:
                box = [min(box[0], left), box[1], max(box[2], right), y]
        return box

    def colours(self, x0, y0, x1, y1, step=7):
        return {self.pixel(x, y) for y in range(y0, y1, step) for x in range(x0, x1, step)}


class Helper:
    """A window of the test's own (TEST_WINDOW) at x, y of size w x h."""

    def __init__(self, w, h, x=0, y=0, vroot=False):
        command = [TEST_WINDOW, str(w), str(h), str(x), str(y)] + (["vroot"] if vroot else [])
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.id = int(self.process.stdout.readline())
        self.x, self.y, self.w, self.h = x, y, w, h

    def send(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        if self.process.stdout.readline().strip() != "ok":
            fail("the test window did not answer " + line)

    def resize(self, w, h):
        self.send("size %d %d" % (w, h))
        self.w, self.h = w, h

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)


class Hack:
    def __init__(self, args, env=None, prefix=()):
        self.process = subprocess.Popen(list(prefix) + [HACK] + args, env=env,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def stop(self, sig=signal.SIGTERM, timeout=15.0):
        """Sends the signal and returns (exit status, stderr) once the program has ended."""
        self.process.send_signal(sig)
        try:
            _, err = self.process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            fail("the program did not end within %.0f s of signal %d" % (timeout, sig))
        return self.process.returncode, err

    def running(self):
        return self.process.poll() is None


def rosette_in(helper, shot_holder=None):
    """Waits until the helper window shows a drawn frame; returns the screenshot."""
    def drawn():
        shot = Shot()
        cx, cy = helper.x + helper.w // 2, helper.y + helper.h // 2
        centre = shot.pixel(cx, cy)
        return shot if centre not in (WHITE, HELPER_COLOUR, BLACK) else None
    return wait_until(drawn, "a rosette in window %d" % helper.id)


def check_centred(shot, helper, what):
    """The surface is the window clamped to 1920 x 1200, centred, margins black; the disc
    (as tall as the surface) sits in its middle on the white background."""
    sw, sh = min(helper.w, 1920), min(helper.h, 1200)
    left, top = helper.x + (helper.w - sw) // 2, helper.y + (helper.h - sh) // 2
    right, bottom = left + sw, top + sh
    wx1, wy1 = helper.x + helper.w, helper.y + helper.h
    margins = [(helper.x, helper.y, wx1, top), (helper.x, bottom, wx1, wy1),
               (helper.x, top, left, bottom), (right, top, wx1, bottom)]
    for m in margins:
        if m[0] < m[2] and m[1] < m[3] and not shot.all_of(BLACK, *m):
            fail("%s: the margin %s is not black" % (what, m))
    for corner in [(left, top), (right - 1, top), (left, bottom - 1), (right - 1, bottom - 1)]:
        if shot.pixel(*corner) != WHITE:
            fail("%s: the surface corner %s is %s, not the white background" % (what, corner, shot.pixel(*corner)))
    box = shot.non_white_box(left, top, right, bottom)
    if box is None:
        fail("%s: nothing drawn" % what)
    centre = ((box[0] + box[2]) / 2, (box[1] + box[3]) / 2)
    expected = (left + sw / 2, top + sh / 2)
    if abs(centre[0] - expected[0]) > 3 or abs(centre[1] - expected[1]) > 3:
        fail("%s: the rosette's centre is %s, not %s (box %s)" % (what, centre, expected, box))
    diameter = box[3] - box[1] + 1
    if not sh - 12 <= diameter <= sh:
        fail("%s: the rosette is %d pixels tall in a surface of %d" % (what, diameter, sh))
    if len(shot.colours(box[0], box[1], box[2], box[3])) < 50:
        fail("%s: the rosette has hardly any colours" % what)
    print("ok: %s: rosette box %s centred at %s, margins black" % (what, box, centre))


def no_display_env():
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env.pop("XSCREENSAVER_WINDOW", None)
    return env


def run_without_display(args, env=None):
    result = subprocess.run([HACK] + args, env=env or no_display_env(), capture_output=True, text=True, timeout=30)
    return result.returncode, result.stderr


def accepted(args):
    """Valid options get as far as opening the display (status 1); bad ones stop at 2."""
    status, err = run_without_display(args)
    return status == 1 and "cannot open display" in err


# --- The cases ---

def case_window_id():
    # A window larger than 1920 x 1200: the surface is clamped and centred in black margins.
    helper = Helper(2200, 1400)
    hack = Hack(["-window-id", hex(helper.id)] + PATTERN1)
    check_centred(rosette_in(helper), helper, "-window-id in a 2200 x 1400 window")
    status, err = hack.stop()
    if status != 0 or err:
        fail("status %d, stderr %r" % (status, err))
    helper.close()


def case_env():
    # The daemon's way: XSCREENSAVER_WINDOW wins over -root; the plain XImage path here.
    before = Shot()
    helper = Helper(600, 400, 200, 150)
    env = dict(os.environ, XSCREENSAVER_WINDOW=str(helper.id))
    hack = Hack(["-root", "-no-shm"] + PATTERN1, env=env)
    shot = rosette_in(helper)
    check_centred(shot, helper, "XSCREENSAVER_WINDOW with -root and -no-shm")
    for outside in [(10, 10), (1000, 700), (199, 300), (800, 300)]:
        if shot.pixel(*outside) != before.pixel(*outside):
            fail("the root window was drawn on at %s" % (outside,))
    hack.stop()
    helper.close()


def case_root():
    # -root finds the virtual root that a window manager marks with __SWM_VROOT.
    helper = Helper(500, 300, 100, 100, vroot=True)
    hack = Hack(["-root"] + PATTERN1)
    check_centred(rosette_in(helper), helper, "-root with a virtual root")
    hack.stop()
    helper.close()


def case_resize():
    helper = Helper(400, 300)
    hack = Hack(["-window-id", str(helper.id), "-petals", "6", "-no-random-petals"] + PATTERN1)
    check_centred(rosette_in(helper), helper, "before the resize")
    helper.resize(800, 600)

    def relaid():
        shot = Shot()
        box = shot.non_white_box(0, 0, 800, 600)
        return shot if box and box[3] - box[1] > 580 and shot.pixel(799, 599) == WHITE else None
    check_centred(wait_until(relaid, "the rosette laid out for 800 x 600"), helper, "after the resize to 800 x 600")
    hack.stop()
    helper.close()


def case_fps():
    # The corner is background without -fps; with it, a black box with light text.
    helper = Helper(640, 480)
    plain = Hack(["-window-id", str(helper.id)] + PATTERN1)
    shot = rosette_in(helper)
    if not shot.all_of(WHITE, 0, 0, 60, 14):
        fail("the corner is not background without -fps")
    plain.stop()

    hack = Hack(["-window-id", str(helper.id), "-fps"] + PATTERN1)

    def counter():
        shot = Shot()
        corner = shot.colours(0, 0, 60, 14, step=1)
        dark = any(sum(c) < 60 for c in corner)
        light = any(sum(c) > 600 for c in corner)
        return shot if dark and light and not shot.all_of(WHITE, 0, 0, 60, 14) else None
    wait_until(counter, "the frame rate in the corner")
    print("ok: -fps draws light text on a dark box in the top-left corner")
    hack.stop()
    helper.close()


def shm_segments_of(pid):
    """The shared memory segments that process pid created and that are still there."""
    listing = subprocess.run(["ipcs", "-m", "-p"], capture_output=True, text=True).stdout
    return [line for line in listing.splitlines() if line.split()[2:3] == [str(pid)]]


def case_ending():
    helper = Helper(320, 240)
    # SIGTERM and SIGINT: the frame under way ends, everything is released, status 0.
    for sig in (signal.SIGTERM, signal.SIGINT):
        hack = Hack(["-window-id", str(helper.id)] + PATTERN1)
        rosette_in(helper)
        pid = hack.process.pid
        status, err = hack.stop(sig)
        if status != 0 or err:
            fail("signal %d: status %d, stderr %r" % (sig, status, err))
        if shm_segments_of(pid):
            fail("signal %d left a shared memory segment: %s" % (sig, shm_segments_of(pid)))
        print("ok: signal %d ends it cleanly" % sig)

    # Its own window: a key ends it, and so does the window manager's close.
    def own_window():
        found = subprocess.run(["xdotool", "search", "--name", "^Fractal Rosacle$"], capture_output=True, text=True)
        ids = found.stdout.split()
        return int(ids[0]) if ids else None

    for how in ("key", "close"):
        hack = Hack(["-window"] + PATTERN1)
        window = wait_until(own_window, "the program's own window")
        wait_until(lambda: Shot().pixel(400, 300) not in (WHITE, BLACK), "a frame in its own window")
        if how == "key":
            # Real input through XTEST, to the window under the pointer.
            subprocess.run(["xdotool", "mousemove", "400", "300", "key", "space"], check=True)
        else:
            helper.send("close %d" % window)
        try:
            status = hack.process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            hack.process.kill()
            fail("the %s did not end it" % how)
        if status != 0:
            fail("ending by %s: status %d" % (how, status))
        wait_until(lambda: own_window() is None, "its window to go away", 10)
        print("ok: %s ends its own window" % how)
    helper.close()


def case_valgrind():
    if subprocess.run(["which", "valgrind"], capture_output=True).returncode != 0:
        print("SKIP: valgrind is not installed")
        sys.exit(77)
    helper = Helper(200, 150)
    with tempfile.TemporaryDirectory() as folder:
        log = os.path.join(folder, "valgrind.log")
        prefix = ["valgrind", "--leak-check=full", "--errors-for-leak-kinds=definite,indirect",
                  "--error-exitcode=99", "--log-file=" + log]
        hack = Hack(["-window-id", str(helper.id), "-fps"] + PATTERN1, prefix=prefix)
        rosette_in(helper)
        wait_until(lambda: not Shot().all_of(WHITE, 0, 0, 30, 10) or None, "the frame rate under valgrind", 60)
        status, _ = hack.stop(timeout=60)
        report = open(log).read()
    summary = [line.split("== ", 1)[-1] for line in report.splitlines() if "lost:" in line or "ERROR SUMMARY" in line
               or "All heap blocks" in line]
    print("valgrind: " + "; ".join(summary))
    if status != 0:
        fail("valgrind reported errors or leaks (status %d):\n%s" % (status, report))
    print("ok: no leak after a short run ended by SIGTERM")
    helper.close()


def case_options():
    bad = [["-speed", "151"], ["-speed", "-1"], ["-speed", "fast"], ["-speed"], ["-pattern", "0"],
           ["-pattern", "41"], ["-petals", "3"], ["-petals", "13"], ["-petals", "8x"], ["-delay", "100001"],
           ["-background", "grey"], ["-window-id", "zz"], ["-window-id", "0"], ["-window-id", "0x"],
           ["-frobnicate"], ["-no-root"], ["--speed=151"], ["--speed="], ["--root=1"], ["---root"], ["-speed=3"]]
    for args in bad:
        status, err = run_without_display(args)
        lines = err.splitlines()
        if status != 2 or len(lines) != 1 or not lines[0].startswith("fractalrosacle: "):
            fail("%s: status %d, stderr %r" % (args, status, err))
    status, err = run_without_display([], env=dict(no_display_env(), XSCREENSAVER_WINDOW="nowhere"))
    if status != 2 or "XSCREENSAVER_WINDOW" not in err:
        fail("a bad XSCREENSAVER_WINDOW: status %d, stderr %r" % (status, err))
    for good in [["-window-id", "0x1a00003"], ["-window-id", "27262979"], ["-background", "black", "-gray"],
                 ["-no-fps", "-random-petals", "-no-random-pattern", "-invert", "-pictures", "-root", "-window"],
                 # The daemon's spelling: two dashes, values joined by = or following.
                 ["--root", "--speed=150", "--no-random-pattern", "--pattern", "40", "--background=black",
                  "--window-id=0x1a00003", "--no-shm", "--gray"]]:
        if not accepted(good):
            fail("%s is refused" % good)
    helps = [subprocess.run([HACK, h], capture_output=True, text=True) for h in ("-help", "--help")]
    if any(h.returncode != 0 for h in helps) or helps[0].stdout != helps[1].stdout or "-speed N" not in helps[0].stdout:
        fail("-help and --help do not both list the options")
    print("ok: %d bad command lines refused with one line and status 2" % (len(bad) + 1))


def program_options():
    """The options that -help lists: {name: (kind, default, low, high)}."""
    text = subprocess.run([HACK, "-help"], capture_output=True, text=True, check=True).stdout
    options = {}
    for line in text.splitlines():
        m = re.match(r"  (-[a-z-]+)(?:, (-no-[a-z-]+))?( N| ID| white\|black)?\s+(.*)", line)
        if not m:
            continue
        name, negated, value, detail = m.groups()
        number = re.match(r"(\d+)\.\.(\d+), default (\d+):", detail)
        default = re.match(r"default (\w+):", detail)
        if number:
            options[name] = ("number", int(number.group(3)), int(number.group(1)), int(number.group(2)))
        elif negated:
            options[name] = ("flag", default.group(1), None, None)
        elif value == " white|black":
            options[name] = ("choice", default.group(1), None, None)
        else:
            options[name] = ("plain", None, None, None)
    return options


def case_xml():
    root = ET.parse(XML).getroot()
    if root.tag != "screensaver" or root.get("name") != os.path.basename(HACK) or not root.get("_label"):
        fail("the screensaver element names %r, not the program" % root.get("name"))
    if not (root.findtext("_description") or "").strip():
        fail("no _description")
    program = program_options()
    covered = set()

    for command in root.iter("command"):
        arg = command.get("arg")
        if not accepted([arg]):
            fail("command %s is refused" % arg)
        covered.add(arg)
    for number in root.iter("number"):
        arg = number.get("arg")
        name = arg.split()[0]
        low, high, default = int(number.get("low")), int(number.get("high")), int(number.get("default"))
        if number.get("type") != "slider":
            fail("%s is not a slider" % name)
        if name not in program or program[name][0] != "number":
            fail("the program has no number option %s" % name)
        if program[name][1:] != (default, low, high):
            fail("%s: the XML says %d..%d default %d, the program %s" % (name, low, high, default, program[name]))
        for value in (low, high, default):
            if not accepted(arg.replace("%", str(value)).split()):
                fail("%s is refused" % arg.replace("%", str(value)))
        for value in (low - 1, high + 1):
            if accepted(arg.replace("%", str(value)).split()):
                fail("%s is accepted beyond the slider" % arg.replace("%", str(value)))
        covered.add(name)
    for boolean in root.iter("boolean"):
        arg_set, arg_unset = boolean.get("arg-set"), boolean.get("arg-unset")
        if bool(arg_set) == bool(arg_unset):
            fail("boolean %s needs exactly one of arg-set and arg-unset" % boolean.get("id"))
        arg = arg_set or arg_unset
        name = arg if arg_set else "-" + arg[len("-no-"):]
        if name not in program or program[name][0] != "flag":
            fail("the program has no flag %s" % name)
        if program[name][1] != ("off" if arg_set else "on"):
            fail("%s: the check box assumes the default %s" % (name, "off" if arg_set else "on"))
        if not accepted([arg]):
            fail("%s is refused" % arg)
        covered.add(name)
    for select in root.iter("select"):
        names = set()
        for option in select.iter("option"):
            arg = option.get("arg-set")
            if arg:
                if not accepted(arg.split()):
                    fail("%s is refused" % arg)
                names.add(arg.split()[0])
        for name in names:
            defaults = [o.get("id") for o in select.iter("option") if not o.get("arg-set")]
            if program.get(name, ("",))[0] != "choice" or defaults != [program[name][1]]:
                fail("%s: the option without arg-set is %s, the program's default %s" % (name, defaults, program.get(name)))
        covered |= names

    # -window and -window-id are the daemon's business, not the settings dialog's.
    missing = set(program) - covered - {"-window", "-window-id", "-help"}
    if missing:
        fail("options the XML does not describe: %s" % sorted(missing))
    print("ok: the XML and the program agree on %d options" % len(covered))


def case_install():
    build = os.environ["BUILD_DIR"]
    with tempfile.TemporaryDirectory() as prefix:
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True, capture_output=True)
        program = os.path.join(prefix, "libexec", "xscreensaver", "fractalrosacle")
        config = os.path.join(prefix, "share", "xscreensaver", "config", "fractalrosacle.xml")
        if not os.access(program, os.X_OK) or not os.path.isfile(config):
            fail("cmake --install did not put the program and its XML in place")
    print("ok: installed to libexec/xscreensaver and share/xscreensaver/config")


def case_daemon():
    import daemon_test  # Debian's daemon running the installed program: a file of its own
    daemon_test.main()


if __name__ == "__main__":
    globals()["case_" + sys.argv[1].replace("-", "_")]()
