#!/usr/bin/env python3
"""Builds the benchmark inputs from Debian packages.

Text: words of rime-essay's frequency list (Traditional), made Simplified with OpenCC, drawn by
frequency into sentences with Chinese punctuation, encoded as GBK; a base of BASE_MIB is
written in shuffled line orders until the file has the requested size.
Glossary: OpenCC's STPhrases as GBK lines "Simplified>Traditional" (first candidate).

Usage: make_corpus.py OUT_DIR SIZE_MIB
"""
import os
import random
import subprocess
import sys

ESSAY = "/usr/share/rime-data/essay.txt"
ST_PHRASES = "/usr/share/opencc/STPhrases.ocd2"
BASE_MIB = 16


def simplified_words():
    words, weights = [], []
    with open(ESSAY, encoding="utf-8") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if len(parts) >= 2 and parts[0] and parts[1].isdigit():
                words.append(parts[0])
                weights.append(int(parts[1]))
    simplified = subprocess.run(["opencc", "-c", "t2s"], input="\n".join(words),
                                capture_output=True, text=True, check=True).stdout.split("\n")
    pairs = []
    for word, weight in zip(simplified, weights):
        try:
            pairs.append((word.encode("gbk"), weight))
        except UnicodeEncodeError:
            pass
    return [p[0] for p in pairs], [p[1] for p in pairs]


def base_lines(words, weights, size):
    rng = random.Random(20261211)
    stops = [mark.encode("gbk") for mark in "，，，，，。。。？！"]
    lines, total = [], 0
    drawn = iter(())
    while total < size:
        parts = []
        for _ in range(rng.randint(1, 4)):
            try:
                chosen = [next(drawn) for _ in range(rng.randint(3, 16))]
            except StopIteration:
                drawn = iter(rng.choices(words, weights, k=1 << 20))
                continue
            parts.append(b"".join(chosen) + rng.choice(stops))
        line = b"".join(parts) + b"\r\n"
        lines.append(line)
        total += len(line)
    return lines


def glossary(path):
    text = subprocess.run(["opencc_dict", "-i", ST_PHRASES, "-o", "/dev/stdout", "-f", "ocd2",
                           "-t", "text"], capture_output=True, check=True).stdout.decode("utf-8")
    count = 0
    with open(path, "wb") as out:
        for line in text.splitlines():
            parts = line.split("\t")
            if len(parts) < 2 or not parts[1]:
                continue
            try:
                first = parts[1].split(" ")[0]
                out.write(parts[0].encode("gbk") + b">" + first.encode("gbk") + b"\r\n")
                count += 1
            except UnicodeEncodeError:
                pass
    return count


def main():
    out_dir, size_mib = sys.argv[1], int(sys.argv[2])
    os.makedirs(out_dir, exist_ok=True)
    words, weights = simplified_words()
    lines = base_lines(words, weights, BASE_MIB << 20)
    rng = random.Random(7)
    target = size_mib << 20
    written = 0
    with open(os.path.join(out_dir, "corpus-gbk.txt"), "wb") as out:
        while written < target:
            rng.shuffle(lines)
            for line in lines:
                if written + len(line) > target:
                    break
                out.write(line)
                written += len(line)
            else:
                continue
            break
    config = os.path.join(out_dir, "config", "Morvane")
    os.makedirs(config, exist_ok=True)
    pairs = glossary(os.path.join(config, "GB-BIG5.txt"))
    print(f"corpus: {written} bytes of GBK text; glossary: {pairs} pairs")


if __name__ == "__main__":
    main()
