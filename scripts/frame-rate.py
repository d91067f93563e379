#!/usr/bin/env python3
"""Counts the frames a window shows: the X server's damage reports on it, once per second.

frame-rate.py WINDOW_ID SECONDS [SETTLE]
Prints one line per second ("frames N") and at the end the median and the lowest count.
Each frame the saver draws reaches the server as one image put; between two reads of the
damage only the first put reports, so a count is the number of frames that reached the
screen in that second, measured from outside the program.
"""
import ctypes
import ctypes.util
import statistics
import sys
import time

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
damage = ctypes.CDLL(ctypes.util.find_library("Xdamage") or "libXdamage.so.1")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
damage.XDamageCreate.restype = ctypes.c_ulong
damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
damage.XDamageSubtract.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]

REPORT_NON_EMPTY = 3  # one report when the damage goes from empty to non-empty
DAMAGE_NOTIFY = 0


def main():
    window = int(sys.argv[1], 0)
    seconds = int(sys.argv[2])
    settle = float(sys.argv[3]) if len(sys.argv) > 3 else 2.0
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("frame-rate: no X display")
    event_base, error_base = ctypes.c_int(), ctypes.c_int()
    if not damage.XDamageQueryExtension(display, ctypes.byref(event_base), ctypes.byref(error_base)):
        sys.exit("frame-rate: the X server has no damage extension")
    handle = damage.XDamageCreate(display, window, REPORT_NON_EMPTY)
    x11.XSync(display, 0)
    event = (ctypes.c_long * 24)()
    counts = []
    second_end = time.monotonic() + settle  # the frames before it are not counted
    settled = False
    frames = 0
    while len(counts) < seconds:
        while x11.XPending(display):
            x11.XNextEvent(display, event)
            if ctypes.c_int.from_buffer(event).value == event_base.value + DAMAGE_NOTIFY:
                frames += 1
                damage.XDamageSubtract(display, handle, 0, 0)
        now = time.monotonic()
        if now >= second_end:
            if settled:
                counts.append(frames)
                print(f"frames {frames}", flush=True)
            settled = True
            frames = 0
            second_end = now + 1.0
        time.sleep(0.001)
    print(f"median {statistics.median(counts)} frames/s, lowest {min(counts)}")


if __name__ == "__main__":
    main()
