#!/usr/bin/env python3
"""Times Morvane against iconv and uconv on the same files and prints the performance goals.

Each job runs RUNS times in turn with the others (so load changes hit all alike); the median
wall time gives MiB/s of source. Peak memory is GNU time's maximum resident set size.

Usage: compare.py MORVANE_BINARY WORK_DIR
"""
import os
import statistics
import subprocess
import sys
import time

SIZE_MIB = int(os.environ.get("MORVANE_BENCH_MIB", "256"))
RUNS = int(os.environ.get("MORVANE_BENCH_RUNS", "5"))
OUT = ""
WORK = ""
HERE = os.path.dirname(os.path.abspath(__file__))


def timed(command, env=None):
    """Wall seconds and peak resident KiB of one run into a new output file, dirty pages of
    earlier runs flushed first so that one job's writing does not slow the next one down."""
    for stale in (OUT,):
        if os.path.exists(stale):
            os.remove(stale)
    os.sync()
    rss_file = command_rss_file()
    start = time.perf_counter()
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", rss_file] + command, check=True, env=env,
                   stdout=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    with open(rss_file) as f:
        rss = int(f.read().split()[-1])
    return elapsed, rss


def command_rss_file():
    return os.path.join(WORK, "rss.txt")


def make_sparse(path, corpus):
    """A 4 GiB file of zero bytes with a MiB of text at its start, middle and end."""
    size = 4 << 30
    if os.path.exists(path) and os.path.getsize(path) == size:
        return
    with open(corpus, "rb") as f:
        text = f.read(1 << 20)
    with open(path, "wb") as f:
        f.truncate(size)
        for offset in (0, size // 2, size - len(text)):
            f.seek(offset)
            f.write(text)


def main():
    global WORK, OUT
    morvane, WORK = sys.argv[1], sys.argv[2]
    os.makedirs(WORK, exist_ok=True)
    corpus = os.path.join(WORK, "corpus-gbk.txt")
    if not os.path.exists(corpus) or os.path.getsize(corpus) < (SIZE_MIB << 20) - 4096:
        subprocess.run([sys.executable, os.path.join(HERE, "make_corpus.py"), WORK, str(SIZE_MIB)],
                       check=True)
    size_mib = os.path.getsize(corpus) / (1 << 20)
    out = OUT = os.path.join(WORK, "out.txt")
    glossary_env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(WORK, "config"))
    with open(os.path.join(WORK, "config", "Morvane", "GB-BIG5.txt"), "rb") as f:
        pairs = sum(1 for line in f if b">" in line)

    jobs = {
        "iconv": (["iconv", "-c", "-f", "CP936", "-t", "CP950", "-o", out, corpus], None),
        "uconv": (["uconv", "-c", "-f", "windows-936", "-t", "windows-950", "-o", out, corpus], None),
        "X": ([morvane, "/X", "936", "950", "/S", corpus, "/D", out], None),
        "B": ([morvane, "/B", "/S", corpus, "/D", out], None),
        "BT": ([morvane, "/B", "/T", "/S", corpus, "/D", out], glossary_env),
    }
    times = {name: [] for name in jobs}
    peak = {name: 0 for name in jobs}
    for _ in range(RUNS):
        for name, (command, env) in jobs.items():
            elapsed, rss = timed(command, env)
            times[name].append(elapsed)
            peak[name] = max(peak[name], rss)
    rate = {name: size_mib / statistics.median(t) for name, t in times.items()}

    # OpenCC, the usual tool for phrase conversion, for scale: UTF-8 in and out, 16 MiB.
    sample = os.path.join(WORK, "sample-utf8.txt")
    with open(corpus, "rb") as f:
        head = f.read(16 << 20)
    with open(sample, "wb") as f:
        f.write(head[:head.rfind(b"\n") + 1].decode("gbk").encode("utf-8"))
    opencc_seconds, _ = timed(["opencc", "-c", "s2t", "-i", sample, "-o", out])
    opencc_rate = (os.path.getsize(sample) / (1 << 20)) / opencc_seconds

    sparse = os.path.join(WORK, "sparse-4g.txt")
    make_sparse(sparse, corpus)
    big = {}
    for name, command, env in (
            ("B", [morvane, "/B", "/S", sparse, "/D", out], None),
            ("BT", [morvane, "/B", "/T", "/S", sparse, "/D", out], glossary_env)):
        elapsed, rss = timed(command, env)
        big[name] = (elapsed, rss)
    os.remove(out)

    print(f"Source: {size_mib:.0f} MiB of GBK text; glossary: {pairs} pairs; median of {RUNS} runs")
    print()
    print("| job | command | MiB/s | peak memory |")
    print("|---|---|---|---|")
    names = {
        "iconv": "`iconv -c -f CP936 -t CP950`",
        "uconv": "`uconv -c -f windows-936 -t windows-950`",
        "X": "`morvane /X 936 950`",
        "B": "`morvane /B`",
        "BT": f"`morvane /B /T` ({pairs} pairs)",
    }
    for name in jobs:
        print(f"| {name} | {names[name]} | {rate[name]:.0f} | {peak[name] / 1024:.1f} MiB |")
    print(f"| OpenCC | `opencc -c s2t` (phrases, UTF-8, a 16 MiB sample, one run) | "
          f"{opencc_rate:.1f} | |")
    for name, (elapsed, rss) in big.items():
        print(f"| {name}, 4 GiB sparse | {names[name]} | {4096 / elapsed:.0f} | "
              f"{rss / 1024:.1f} MiB |")
    print()

    def verdict(ok):
        return "met" if ok else "NOT met"

    goal1 = rate["X"] / rate["iconv"]
    goal2 = rate["B"] / rate["iconv"]
    goal3 = rate["BT"] / rate["B"]
    memory = max([peak["X"], peak["B"], peak["BT"]] + [rss for _, rss in big.values()]) / 1024
    print("| goal | target | measured | |")
    print("|---|---|---|---|")
    rows = [
        ("1. `/X 936 950` against iconv's code page step", "at least 5x", f"{goal1:.1f}x",
         goal1 >= 5),
        ("2. `/B` (mapping and code page step) against iconv's code page step", "at least 4x",
         f"{goal2:.1f}x", goal2 >= 4),
        (f"3. `/B /T` with {pairs} pairs against `/B`", "at least 0.5x", f"{goal3:.2f}x",
         goal3 >= 0.5),
        (f"4. peak memory, {size_mib:.0f} MiB and 4 GiB sources", "at most 32 MiB",
         f"{memory:.1f} MiB", memory <= 32),
    ]
    for goal, target, measured, ok in rows:
        print(f"| {goal} | {target} | {measured} | {verdict(ok)} |")
    print("| 5. window: converting a 16 MiB pane against filling it; progress after half a "
          "second, Cancel; the window keeps repainting | converting no longer than filling | "
          "printed by `build/tests/window/window_pane_timing`, not here | - |")


if __name__ == "__main__":
    main()
