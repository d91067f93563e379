#!/usr/bin/env python3
"""resident.py PID IMAGE: the resident KiB of the Windows program in process PID.

Natively that is the whole process. Under qemu-i386 the process also holds the emulator's own
memory (its translated code, its heap), which grows with the code it meets, not with the
program. The emulator reserves the program's 32-bit address space as one 4 GiB window, here at
host address 0 (every mapping of IMAGE must lie below 4 GiB, or the window is elsewhere and
this says so); the program's share is what is resident below 4 GiB.

Prints "KIB" natively, "KIB emulator KIB" under emulation.
"""
import os
import sys

WINDOW = 1 << 32


def mappings(pid):
    """(start, end, path, rss KiB) of each mapping in /proc/PID/smaps."""
    out, cur = [], None
    with open(f"/proc/{pid}/smaps") as f:
        for line in f:
            head = line.split()
            if "-" in head[0] and not head[0].endswith(":"):
                start, end = (int(x, 16) for x in head[0].split("-"))
                cur = [start, end, head[5] if len(head) > 5 else "", 0]
                out.append(cur)
            elif head[0] == "Rss:":
                cur[3] = int(head[1])
    return out


def main():
    pid, image = sys.argv[1], os.path.realpath(sys.argv[2])
    exe = os.path.basename(os.readlink(f"/proc/{pid}/exe"))
    maps = mappings(pid)
    total = sum(m[3] for m in maps)
    if not exe.startswith("qemu-"):
        print(total)
        return 0
    images = [m for m in maps if m[2] == image]
    if not images or any(m[1] > WINDOW for m in images):
        print(f"resident.py: {image} is not mapped in the emulator's low 4 GiB", file=sys.stderr)
        return 1
    program = sum(m[3] for m in maps if m[1] <= WINDOW)
    print(program, "emulator", total - program)
    return 0


if __name__ == "__main__":
    sys.exit(main())
