#!/usr/bin/env python3
"""Measures how right Morvane's Chinese conversions come out, with and without the shipped
glossary, against OpenCC's own answers.

    python3 bench/measure_glossary.py build/morvane [--no-real-text]

Converts, through the built program's batch mode, OpenCC's phrase lists (STPhrases Simplified to
Traditional with /B, TSPhrases and STPhrases read backwards Traditional to Simplified with /G)
and, unless told not to, real text: the Chinese translations of the installed Debian packages
(/usr/share/locale/zh_CN and zh_TW), with OpenCC's s2t and t2s conversions as the answers. Each
phrase or line is one line of one file. A Taiwan form that the program writes where BIG5 lacks
OpenCC's character counts as right. Only phrases that GBK and BIG5 both hold are counted.

Each list runs three ways, the user's own glossary always absent (XDG_CONFIG_HOME is an empty
folder): with the shipped glossary (/T, MORVANE_DATA_DIR at engine/data), without it (/T,
MORVANE_DATA_DIR at an empty folder) and without /T; the last two must agree. How the views'
Traditional-to-Simplified order does is in engine/data/glossary_log.txt, which the generator
works out on its model of the chain.
"""

import argparse
import gettext
import glob
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA_DIR = os.path.join(ROOT, "engine", "data")
sys.path.insert(0, DATA_DIR)
sys.dont_write_bytecode = True  # leave no cache in the source tree
import generate_glossary as glossary  # noqa: E402
from generate_st_table import glibc_convert  # noqa: E402

BAR = 99.0  # percent of STPhrases that /B /T must give exactly


def translations(language):
    """Every line of the installed translations into one language that holds a CJK character,
    each once, in a stable order."""
    lines = set()
    for path in sorted(glob.glob(f"/usr/share/locale/{language}/LC_MESSAGES/*.mo")):
        try:
            with open(path, "rb") as f:
                catalog = gettext.GNUTranslations(f)._catalog
        except (OSError, ValueError):  # not a catalogue this Python can read
            continue
        for msgid, text in catalog.items():
            if msgid == "" or not isinstance(text, str):
                continue
            for line in text.replace("\r", "\n").split("\n"):
                line = line.strip()
                if any("\u4e00" <= c <= "\u9fff" for c in line):
                    lines.add(line)
    return sorted(lines)


def opencc(lines, config, workdir):
    """OpenCC's conversion of each line, with its standard configuration file."""
    source, target = os.path.join(workdir, "opencc_in"), os.path.join(workdir, "opencc_out")
    with open(source, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    subprocess.run(["opencc", "-i", source, "-o", target, "-c", config], check=True)
    with open(target, encoding="utf-8") as f:
        out = f.read().split("\n")[:len(lines)]
    if len(out) != len(lines):
        sys.exit(f"opencc {config} lost line alignment")
    return out


def run_program(program, switches, lines, source_page, data_dir, workdir):
    """The program's batch conversion of the lines, one a line, read back as text."""
    target_page = "CP950" if source_page == "CP936" else "CP936"
    source, target = os.path.join(workdir, "in.txt"), os.path.join(workdir, "out.txt")
    with open(source, "wb") as f:
        f.write(b"\n".join(glibc_convert([x.encode("utf-8") for x in lines], "UTF-8",
                                         source_page)) + b"\n")
    config = os.path.join(workdir, "config")
    os.makedirs(config, exist_ok=True)
    env = dict(os.environ, XDG_CONFIG_HOME=config, MORVANE_DATA_DIR=data_dir, LC_ALL="C")
    done = subprocess.run([program, *switches, "/S", source, "/D", target], env=env,
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{program} {' '.join(switches)} failed: {done.stderr}")
    with open(target, "rb") as f:
        out = f.read().split(b"\n")[:len(lines)]
    if len(out) != len(lines):
        sys.exit(f"{program} {' '.join(switches)} changed the number of lines")
    return [x.decode("utf-8") for x in glibc_convert(out, target_page, "UTF-8")]


def percent(part, whole):
    return f"{100.0 * part / whole:6.2f}%" if whole else "    -  "


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program", help="the built morvane, e.g. build/morvane")
    parser.add_argument("--no-real-text", action="store_true",
                        help="measure OpenCC's phrase lists only")
    args = parser.parse_args()
    program = os.path.abspath(args.program)

    with tempfile.TemporaryDirectory() as workdir:
        simplified_text = [] if args.no_real_text else translations("zh_CN")
        traditional_text = [] if args.no_real_text else translations("zh_TW")
        st_phrases, ts_phrases, tw_variants, _, _, cs = glossary.load_opencc(
            workdir, simplified_text + traditional_text)
        big5_form = glossary.big5_former(cs, tw_variants)
        lists = glossary.PhraseLists(st_phrases, ts_phrases, cs, big5_form)

        # (name, /B or /G, [(source, answer)])
        measures = [
            ("STPhrases", "/B", lists.st),
            ("TSPhrases", "/G", lists.ts),
            ("STPhrases read backwards", "/G", lists.st_backwards),
        ]
        if simplified_text:
            pairs = []
            for line, answer in zip(simplified_text,
                                    opencc(simplified_text, "s2t.json", workdir)):
                answer = big5_form(answer)
                if cs.in_gbk(line) and answer is not None and cs.in_gbk(answer):
                    pairs.append((line, answer))
            measures.append(("zh_CN translations, OpenCC s2t", "/B", pairs))
        if traditional_text:
            pairs = []
            for line, answer in zip(traditional_text,
                                    opencc(traditional_text, "t2s.json", workdir)):
                if big5_form(line) == line and cs.in_gbk(answer):
                    pairs.append((line, answer))
            measures.append(("zh_TW translations, OpenCC t2s", "/G", pairs))

        empty = os.path.join(workdir, "empty")
        os.makedirs(empty)
        print(f"Morvane {program} against OpenCC {glossary.chars.opencc_version()}; "
              "exact lines, and characters right")
        print(f"{'':44} {'lines':>6}   {'without the glossary':>22}   {'with the glossary':>22}")
        bar_met = None
        for name, mode, pairs in measures:
            sources = [s for s, _ in pairs]
            page = "CP936" if mode == "/B" else "CP950"
            with_glossary = run_program(program, [mode, "/T"], sources, page, DATA_DIR, workdir)
            without = run_program(program, [mode, "/T"], sources, page, empty, workdir)
            plain = run_program(program, [mode], sources, page, empty, workdir)
            if without != plain:
                differ = sum(1 for a, b in zip(without, plain) if a != b)
                print(f"  {name}: /T without a glossary differs from no /T on {differ} lines")
            cells = []
            for results in (without, with_glossary):
                exact, total, right, chars = glossary.score(pairs, results=results)
                cells.append(f"{percent(exact, total)} ({percent(right, chars)})")
                if name == "STPhrases" and results is with_glossary:
                    bar_met = total and 100.0 * exact / total >= BAR
            label = f"{name} {mode} /T"
            print(f"{label:44} {len(pairs):6}   {cells[0]:>22}   {cells[1]:>22}")
        print(f"STPhrases /B /T at least {BAR:g}% exact: {'yes' if bar_met else 'no'}")


if __name__ == "__main__":
    main()
