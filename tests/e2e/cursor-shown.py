#!/usr/bin/env python3
"""Whether the X server shows a cursor where the pointer is: "shown" when the current cursor
image (XFixes) has a pixel that is not fully transparent, else "hidden"."""
import ctypes
import ctypes.util
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
fixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
fixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
fixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cursor-shown: no X display")
image = fixes.XFixesGetCursorImage(display)
if not image:
    sys.exit("cursor-shown: no cursor image")
c = image.contents
shown = any(c.pixels[k] >> 24 for k in range(c.width * c.height))  # the alpha byte
print("shown" if shown else "hidden")
