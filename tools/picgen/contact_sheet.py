#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Contact sheet of decomposition pictures, for checking them by eye.

usage: contact_sheet.py BUILD_DIR OUT.png SCALE N [N ...]
Labels each picture with its number, character, code, how its split was decided and the
stroke groups (from BUILD_DIR/pictures/split-report.tsv). Needs ImageMagick's montage.
"""
import subprocess
import sys


def main():
    build, out, scale = sys.argv[1], sys.argv[2], int(sys.argv[3])
    numbers = [int(n) for n in sys.argv[4:]]
    report = {}
    with open(f"{build}/pictures/split-report.tsv", encoding="utf-8") as f:
        for line in f:
            cols = line.rstrip("\n").split("\t")
            if cols[0].isdigit():
                report[int(cols[0])] = cols
    args = ["montage", "-font", "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "-pointsize", "14"]
    for n in numbers:
        cols = report.get(n)
        label = f"{n} {cols[1]} {cols[2]} {cols[3]} {cols[6]}" if cols else str(n)
        args += ["-label", label, f"{build}/pictures/MYWBGIF{n}.gif"]
    args += ["-tile", "3x", "-geometry", f"{220 * scale}x{56 * scale}+6+2", "-filter", "point",
             "-background", "#ffe0e0", out]
    subprocess.run(args, check=True)


if __name__ == "__main__":
    main()
