#!/usr/bin/env python3
"""Differential check of Morvane's code page conversion against Python's codecs.

Every character that Python's codec for a code page decodes (every byte and every
double-byte pair) is converted by `morvane /X <cp> 65001`, and every character it can
encode is converted back by `morvane /X 65001 <cp>`; the two sides must agree. Known
differences between the two sets of tables are listed in codec_differences.txt beside
this script; anything else fails the check.

Usage: compare_codecs.py MORVANE_BINARY [--report]
"""
import os
import subprocess
import sys
import tempfile

CODE_PAGES = {
    874: "cp874", 932: "cp932", 936: "gbk", 949: "cp949", 950: "cp950",
    1250: "cp1250", 1251: "cp1251", 1252: "cp1252", 1253: "cp1253", 1254: "cp1254",
    1255: "cp1255", 1256: "cp1256", 1257: "cp1257", 1258: "cp1258", 1361: "johab",
}
DOUBLE_BYTE = {932, 936, 949, 950, 1361}


def valid_sequences(codec, double_byte):
    """(bytes, char) for every byte sequence that decodes strictly to one character."""
    found = []
    for b in range(256):
        try:
            ch = bytes([b]).decode(codec)
            if len(ch) == 1 and b != 0x0A:
                found.append((bytes([b]), ch))
                continue
        except UnicodeDecodeError:
            pass
        if double_byte and b >= 0x80:
            for t in range(0x21, 0x100):
                seq = bytes([b, t])
                try:
                    ch = seq.decode(codec)
                except UnicodeDecodeError:
                    continue
                if len(ch) == 1:
                    found.append((seq, ch))
    return found


def run(binary, src_cp, dst_cp, data, folder):
    src = os.path.join(folder, "in.txt")
    dst = os.path.join(folder, "out.txt")
    with open(src, "wb") as f:
        f.write(data)
    subprocess.run([binary, "/X", str(src_cp), str(dst_cp), "/S", src, "/D", dst], check=True)
    with open(dst, "rb") as f:
        return f.read()


def compare(binary, cp, codec, folder):
    sequences = valid_sequences(codec, cp in DOUBLE_BYTE)
    differences = []
    decoded = run(binary, cp, 65001, b"\n".join(s for s, _ in sequences), folder)
    for (seq, ch), got in zip(sequences, decoded.decode("utf-8").split("\n")):
        if got != ch:
            differences.append(f"decode {cp} {seq.hex()} python=U+{ord(ch):04X} "
                               f"morvane={' '.join(f'U+{ord(c):04X}' for c in got)}")
    chars = sorted({ch for _, ch in sequences})
    encoded = run(binary, 65001, cp, "\n".join(chars).encode("utf-8"), folder)
    for ch, got in zip(chars, encoded.split(b"\n")):
        want = ch.encode(codec)
        if got != want:
            differences.append(f"encode {cp} U+{ord(ch):04X} python={want.hex()} "
                               f"morvane={got.hex()}")
    return len(sequences), differences


def main():
    binary = sys.argv[1]
    report = "--report" in sys.argv
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "codec_differences.txt"), encoding="utf-8") as f:
        known = {line.strip() for line in f if line.strip() and not line.startswith("#")}
    unexpected = []
    total = 0
    with tempfile.TemporaryDirectory() as folder:
        for cp, codec in CODE_PAGES.items():
            count, differences = compare(binary, cp, codec, folder)
            total += count
            new = [d for d in differences if d not in known]
            unexpected += new
            print(f"{cp:>5} {codec:<7} {count:>6} characters, "
                  f"{count * 2 - len(differences):>6} of {count * 2} conversions agree"
                  f", {len(differences) - len(new)} known differences, {len(new)} unexpected")
            if report:
                for d in differences:
                    print("   ", d)
    for d in unexpected:
        print("UNEXPECTED", d)
    print(f"{total} characters compared both ways; "
          f"{0 if unexpected else 1} passed, {1 if unexpected else 0} failed")
    return 1 if unexpected else 0


if __name__ == "__main__":
    sys.exit(main())
