#!/usr/bin/env python3
# soakstack.py GLIM.EXE < LOG: names the function of each "glim.exe+0xOFFSET"
# the soak driver wrote for a fault or a stopped window, from the symbols.
import bisect
import re
import subprocess
import sys

exe = sys.argv[1]
nm = subprocess.run(["x86_64-w64-mingw32-nm", "-C", "--defined-only", exe], capture_output=True, text=True)
symbols = sorted((int(address, 16), name) for address, kind, name in
                 (line.split(" ", 2) for line in nm.stdout.splitlines() if line.count(" ") >= 2) if kind in "tT")
starts = [address for address, _ in symbols]
objdump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], capture_output=True, text=True).stdout
base = int(re.search(r"ImageBase\s+([0-9a-fA-F]+)", objdump).group(1), 16)
for line in sys.stdin:
    found = re.search(r"glim\.exe\+0x([0-9a-f]+)", line)
    if found:
        i = bisect.bisect_right(starts, base + int(found.group(1), 16)) - 1
        line = line.rstrip("\n") + "  " + (symbols[i][1] if i >= 0 else "?") + "\n"
    sys.stdout.write(line)
