#!/usr/bin/env python3
"""fractalrosacle under Debian's screen-saver daemon, on a private X display (DISPLAY).

The daemon refuses to run hacks as root, so it runs as user 1000 in a user namespace; a
mount namespace lays the installed program (cmake --install into a temporary prefix) over
the daemon's own hack folder, where `cmake --install --prefix /usr` would put it. Its
programs list holds the README's entry and then command lines built from the XML the way
the daemon's settings dialog writes them, every knob at its extremes. Each one is
activated, must draw the rosette, and must end when the daemon deactivates.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

from hack_test import BLACK, WHITE, XML, Shot, fail, wait_until

HACK_NAME = "fractalrosacle"
HACK_FOLDER = "/usr/libexec/xscreensaver"
README_ENTRY = HACK_NAME + " -root"
USER = "1000"


def settings_lines():
    """Command lines as the settings dialog writes them: the command's own argument, then
    each knob that differs from its default, in the order of the XML. Four lines: sliders
    at low and at high, each with every check box and choice at its default and flipped."""
    root = ET.parse(XML).getroot()
    lines = []
    for end in ("low", "high"):
        for flipped in (False, True):
            words = [HACK_NAME]
            for element in root.iter():
                if element.tag == "command":
                    words.append(element.get("arg"))
                elif element.tag == "number":
                    value = element.get(end)
                    if value != element.get("default"):
                        words.append(element.get("arg").replace("%", value))
                elif element.tag == "boolean" and flipped:
                    words.append(element.get("arg-set") or element.get("arg-unset"))
                elif element.tag == "select" and flipped:
                    words += [o.get("arg-set") for o in element.iter("option") if o.get("arg-set")][:1]
            lines.append(" ".join(words))
    return lines


def write_settings(home, entries):
    # The programs entry as the README shows it: one program per line, each ending in \n\.
    programs = "".join("\t\t%s\t\t\t\\n\\\n" % entry for entry in entries)
    with open(os.path.join(home, ".xscreensaver"), "w") as f:
        f.write("mode:\t\tone\nselected:\t0\ntimeout:\t1:00:00\ncycle:\t\t0:00:00\nlock:\t\tFalse\n"
                "fade:\t\tFalse\nunfade:\t\tFalse\nsplash:\t\tFalse\ndpmsEnabled:\tFalse\n"
                "grabDesktopImages:\tFalse\n"
                "programs:\t\t\t\t\t\t\t\t      \\\n" + programs + "\n")


def children(pid):
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            if int(fields[1]) == pid:
                found.append(int(entry))
    return found


def hacks_under(pid):
    """The (pid, argv) of every fractalrosacle that descends from process pid."""
    found, todo = [], [pid]
    while todo:
        for child in children(todo.pop()):
            todo.append(child)
            try:
                with open("/proc/%d/cmdline" % child, "rb") as f:
                    argv = f.read().decode().split("\0")[:-1]
            except OSError:
                continue
            if argv and os.path.basename(argv[0]) == HACK_NAME:
                found.append((child, argv))
    return found


def ended(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] == "Z"
    except OSError:
        return True


def command(*args):
    return subprocess.run(["xscreensaver-command"] + list(args), capture_output=True, text=True, timeout=30)


class Daemon:
    def __init__(self, folder, stage, entries):
        self.home = os.path.join(folder, "home")
        os.mkdir(self.home)
        write_settings(self.home, entries)
        self.log_path = os.path.join(folder, "daemon.log")
        # The outer namespace may mount; the inner one is user 1000, which the daemon needs.
        # The overlay is read-only: nothing is written to the real folder.
        inner = "exec unshare --user --map-user=%s --map-group=%s xscreensaver -no-splash -verbose" % (USER, USER)
        script = ("mount -t overlay overlay -o lowerdir=%s:%s %s && %s"
                  % (os.path.join(stage, "libexec", "xscreensaver"), HACK_FOLDER, HACK_FOLDER, inner))
        env = dict(os.environ, HOME=self.home, PATH="/usr/bin:/bin")
        env.pop("XSCREENSAVER_WINDOW", None)
        self.log = open(self.log_path, "w")
        self.process = subprocess.Popen(["unshare", "--user", "--map-root-user", "--mount", "sh", "-c", script],
                                        env=env, stdout=self.log, stderr=subprocess.STDOUT)

    def log_text(self, last=None):
        with open(self.log_path) as f:
            lines = f.read().splitlines(True)
        return "".join(lines[-last:] if last else lines)

    def alive(self):
        if self.process.poll() is not None:
            fail("the daemon ended (status %d):\n%s" % (self.process.returncode, self.log_text(25)))
        return True

    def stop(self):
        if self.process.poll() is None:
            command("-exit")
            try:
                self.process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()


def rosette_on_screen(shot):
    """The screen shows a drawn rosette: the corners are the background (white or black), and
    what differs from it is a disc as tall as the screen, centred, in many colours. The
    top-left corner is left out (the frame rate may be there)."""
    background = shot.pixel(shot.width - 1, shot.height - 1)
    if background not in (WHITE, BLACK) or shot.pixel(0, shot.height - 1) != background:
        return None
    rows = [y for y in range(20, shot.height, 4) if shot.row(y, 0, shot.width) != bytes(background) * shot.width]
    columns = [x for x in range(0, shot.width, 4)
               if any(shot.pixel(x, y) != background for y in range(20, shot.height, 4))]
    if not rows or not columns:
        return None
    middle = ((columns[0] + columns[-1]) / 2, shot.height / 2)
    colours = shot.colours(columns[0], 20, columns[-1], shot.height, step=5)
    width = columns[-1] - columns[0]
    if abs(middle[0] - shot.width / 2) > 6 or not shot.height - 16 <= width <= shot.height or len(colours) < 8:
        return None
    return "%d wide, centred at %s, %d colours, background %s" % (width, middle, len(colours), background)


def run_entry(daemon, number, entry, activate):
    """Activates the daemon with programs entry number (1 = first), checks the hack and its
    picture, deactivates, checks that the hack ended."""
    result = command(*activate)
    if result.returncode != 0:
        fail("xscreensaver-command %s: %s" % (" ".join(activate), result.stderr))

    def started():
        daemon.alive()
        if "exited abnormally" in daemon.log_text():
            fail("the hack stopped at once for %r:\n%s" % (entry, daemon.log_text(6)))
        hacks = hacks_under(daemon.process.pid)
        return hacks[0] if len(hacks) == 1 else None
    pid, argv = wait_until(started, "the daemon to start %r" % entry)
    # The daemon may hand an option over with two dashes.
    if [w[1:] if w.startswith("--") else w for w in argv[1:]] != entry.split()[1:]:
        fail("entry %d: the hack runs as %s, not with the options of %r" % (number, argv, entry))

    def drawn():
        daemon.alive()
        shot = Shot()
        return rosette_on_screen(shot)
    what = wait_until(drawn, "a rosette on the screen for %r" % entry, 60)
    if os.environ.get("SHOT_DIR"):
        subprocess.run(["import", "-window", "root", os.path.join(os.environ["SHOT_DIR"], "daemon-%d.png" % number)])
    print("ok: %s: pid %d, %s" % (" ".join(argv), pid, what))

    result = command("-deactivate")
    if result.returncode != 0:
        fail("xscreensaver-command -deactivate: %s" % result.stderr)
    wait_until(lambda: ended(pid), "the hack to end after -deactivate")
    wait_until(lambda: not hacks_under(daemon.process.pid), "no hack left after -deactivate")
    if "exited abnormally" in daemon.log_text():
        fail("the hack did not end cleanly:\n%s" % daemon.log_text(6))
    print("ok: -deactivate ended it")


def main():
    for tool in ("xscreensaver", "xscreensaver-command", "unshare"):
        if not shutil.which(tool):
            print("SKIP: %s is not installed (scripts/deps.sh installs it)" % tool)
            sys.exit(77)
    lines = settings_lines()
    with tempfile.TemporaryDirectory() as folder:
        stage = os.path.join(folder, "stage")
        subprocess.run(["cmake", "--install", os.environ["BUILD_DIR"], "--prefix", stage], check=True,
                       capture_output=True)
        daemon = Daemon(folder, stage, [README_ENTRY] + lines)
        try:
            wait_until(lambda: daemon.alive() and command("-time").returncode == 0, "the daemon to answer")
            run_entry(daemon, 1, README_ENTRY, ["-activate"])
            for number, line in enumerate(lines, 2):
                run_entry(daemon, number, line, ["-select", str(number)])
        finally:
            daemon.stop()


if __name__ == "__main__":
    main()
