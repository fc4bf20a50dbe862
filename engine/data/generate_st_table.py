#!/usr/bin/env python3
"""Builds the Simplified/Traditional character table over GBK from OpenCC's dictionaries.

Writes st_characters.inc (the table compiled into the engine) and st_table_log.txt (its
figures) beside this script. Needs the Debian package opencc; uses only the standard library.

    python3 engine/data/generate_st_table.py
"""

import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OPENCC_DIR = "/usr/share/opencc"
TABLE_PATH = os.path.join(HERE, "st_characters.inc")
LOG_PATH = os.path.join(HERE, "st_table_log.txt")


def opencc_version():
    try:
        out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "opencc"],
                             capture_output=True, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return "(unknown version)"
    # Debian's "1.1.6+ds1-1" names upstream 1.1.6; the repack suffix says nothing about the data.
    return out.split("+")[0].split("-")[0]


def load_dictionary(name, workdir):
    """Exports one OpenCC dictionary and returns its lines as (key, [candidates]) in file order."""
    out = os.path.join(workdir, name + ".txt")
    try:
        subprocess.run(["opencc_dict", "-i", os.path.join(OPENCC_DIR, name + ".ocd2"), "-o", out,
                        "-f", "ocd2", "-t", "text"], check=True)
    except (OSError, subprocess.CalledProcessError) as error:
        sys.exit(f"cannot export OpenCC's {name} (is the Debian package opencc installed?): "
                 f"{error}")
    entries = []
    with open(out, encoding="utf-8") as f:
        for line in f:
            key, _, values = line.rstrip("\n").partition("\t")
            if key and values:
                entries.append((key, values.split(" ")))
    return entries


def glibc_convert(items, source, target):
    """Converts each item with the iconv program (glibc), one call for the whole list.

    Returns the converted bytes per item; b"" where glibc could not convert it. Items must not
    contain a newline, and neither code page may use byte 0x0A inside a character, so that lines
    stay aligned: -c drops an unconvertible character and leaves its line empty.
    """
    data = b"\n".join(items) + b"\n"
    done = subprocess.run(["iconv", "-c", "-f", source, "-t", target], input=data,
                          capture_output=True)
    lines = done.stdout.split(b"\n")[:-1]
    if len(lines) != len(items):
        sys.exit(f"iconv {source} -> {target} lost line alignment: {done.stderr.decode()}")
    return lines


def is_double_byte_gbk(code):
    return (len(code) == 2 and 0x81 <= code[0] <= 0xFE and 0x40 <= code[1] <= 0xFE
            and code[1] != 0x7F)


class Charsets:
    """Which characters GBK and BIG5 hold, as the runtime's glibc CP936 and CP950 decide."""

    def __init__(self, chars):
        chars = sorted(set(chars))
        utf8 = [c.encode("utf-8") for c in chars]
        cp936 = glibc_convert(utf8, "UTF-8", "CP936")
        cp950 = glibc_convert(utf8, "UTF-8", "CP950")
        self.gbk = {}  # character -> GBK code (lead*256+trail), double-byte characters only
        self.big5 = set()
        self.python_disagrees = []
        encoded = [(c, b) for c, b in zip(chars, cp936) if is_double_byte_gbk(b)]
        back = glibc_convert([b for _, b in encoded], "CP936", "UTF-8")
        for (c, b), decoded in zip(encoded, back):
            if decoded.decode("utf-8") != c:
                continue  # not a round trip: the runtime would not give the character back
            self.gbk[c] = b[0] * 256 + b[1]
        for c, b in zip(chars, cp950):
            if b:
                self.big5.add(c)
        # Python's codec is the second opinion; any disagreement is reported, glibc wins.
        for c in chars:
            try:
                py = c.encode("gbk")
            except UnicodeEncodeError:
                py = None
            mine = self.gbk.get(c)
            py_code = py[0] * 256 + py[1] if py and is_double_byte_gbk(py) else None
            if py_code != mine:
                self.python_disagrees.append((c, py_code, mine))

    def in_gbk(self, text):
        return all(c in self.gbk or (c.isascii() and c != "\n") for c in text)


def build_st(st_chars, tw_variants, cs, big5_rule):
    """Simplified -> Traditional: first candidate GBK holds, moved to a BIG5 one if needed."""
    table, replaced = {}, []
    for key, candidates in st_chars:
        if len(key) != 1 or key not in cs.gbk:
            continue
        usable = [c for c in candidates if len(c) == 1 and c in cs.gbk]
        if not usable:
            continue
        choice = usable[0]
        if big5_rule and choice != key and choice not in cs.big5:
            # A Traditional character that BIG5 lacks turns into "?" on the way to BIG5. The Taiwan
            # form of the same character keeps its meaning, so it comes before other candidates.
            variants = tw_variants.get(choice, [])
            alternatives = variants + [c for c in usable if c != choice]
            better = next((c for c in alternatives if c in cs.gbk and c in cs.big5), None)
            if better is not None:
                replaced.append((key, choice, better))
                choice = better
        # A first candidate equal to the key means OpenCC keeps the character in most words.
        if choice != key:
            table[key] = choice
    return table, replaced


def build_ts(ts_chars, cs):
    """Traditional -> Simplified: the first candidate GBK holds."""
    table = {}
    for key, candidates in ts_chars:
        if len(key) != 1 or key not in cs.gbk:
            continue
        usable = [c for c in candidates if len(c) == 1 and c in cs.gbk]
        if usable and usable[0] != key:
            table[key] = usable[0]
    return table


def phrase_accuracy(phrases, table, cs, answer_forms=None):
    """Phrases whose character-by-character mapping gives OpenCC's first answer, and all counted.

    answer_forms, when given, rewrites characters of both results before comparing.
    """
    forms = answer_forms or {}
    total = right = 0
    for key, answers in phrases:
        answer = answers[0]
        if not (cs.in_gbk(key) and cs.in_gbk(answer)):
            continue
        total += 1
        mapped = "".join(forms.get(c, c) for c in "".join(table.get(c, c) for c in key))
        if mapped == "".join(forms.get(c, c) for c in answer):
            right += 1
    return right, total


def write_table(path, version, st, ts, cs):
    def rows(table):
        pairs = sorted((cs.gbk[k], cs.gbk[v], k, v) for k, v in table.items())
        return "".join(f"    {{0x{a:04X}, 0x{b:04X}}}, // {k} → {v}\n" for a, b, k, v in pairs)

    with open(path, "w", encoding="utf-8") as f:
        f.write(f"// Generated by generate_st_table.py from OpenCC {version} "
                "STCharacters/TSCharacters/TWVariants; do not edit.\n"
                "// Pairs {from, to} of GBK codes (lead * 256 + trail), sorted by from. The\n"
                "// includer defines GbkPair with two GbkCode members, from and to.\n\n"
                "constexpr GbkPair kSimplifiedToTraditional[] = {\n")
        f.write(rows(st))
        f.write("};\n\nconstexpr GbkPair kTraditionalToSimplified[] = {\n")
        f.write(rows(ts))
        f.write("};\n")


def percent(right, total):
    return f"{right}/{total} = {100.0 * right / total:.1f}%" if total else "no phrases"


def main():
    version = opencc_version()
    with tempfile.TemporaryDirectory() as workdir:
        st_chars = load_dictionary("STCharacters", workdir)
        ts_chars = load_dictionary("TSCharacters", workdir)
        tw_list = load_dictionary("TWVariants", workdir)
        st_phrases = load_dictionary("STPhrases", workdir)
        ts_phrases = load_dictionary("TSPhrases", workdir)
    tw_variants = {k: v for k, v in tw_list if len(k) == 1}

    chars = set()
    for entries in (st_chars, ts_chars, tw_list, st_phrases, ts_phrases):
        for key, candidates in entries:
            chars.update(key)
            for c in candidates:
                chars.update(c)
    chars.discard("\n")
    cs = Charsets(chars)

    st, replaced = build_st(st_chars, tw_variants, cs, big5_rule=True)
    st_plain, _ = build_st(st_chars, tw_variants, cs, big5_rule=False)
    ts = build_ts(ts_chars, cs)
    write_table(TABLE_PATH, version, st, ts, cs)

    # TSPhrases lists only words that characters alone map wrongly, so it says little about
    # everyday text; STPhrases read backwards is the fairer Traditional -> Simplified measure.
    st_backwards = [(answers[0], [key]) for key, answers in st_phrases]
    # The BIG5 rule trades OpenCC's standard form for the Taiwan one (爲 -> 為); counting that
    # trade as right shows what the rule costs beyond spelling.
    big5_forms = {first: better for _, first, better in replaced}
    accuracy = [
        ("STPhrases, this table", phrase_accuracy(st_phrases, st, cs)),
        ("STPhrases, this table, BIG5 forms counted right",
         phrase_accuracy(st_phrases, st, cs, big5_forms)),
        ("STPhrases, first candidates without the BIG5 rule",
         phrase_accuracy(st_phrases, st_plain, cs)),
        ("STPhrases read backwards, Traditional -> Simplified",
         phrase_accuracy(st_backwards, ts, cs)),
        ("TSPhrases, Traditional -> Simplified (words that need phrases)",
         phrase_accuracy(ts_phrases, ts, cs)),
    ]
    no_big5 = sorted(v for v in set(st.values()) if v not in cs.big5)
    round_trip = sum(1 for k, v in st.items() if ts.get(v, v) == k)

    lines = [
        f"Simplified/Traditional table over GBK, from OpenCC {version} "
        "STCharacters/TSCharacters/TWVariants.",
        "Written by generate_st_table.py; GBK and BIG5 are glibc iconv's CP936 and CP950.",
        "",
        f"Simplified -> Traditional pairs: {len(st)}",
        f"Traditional -> Simplified pairs: {len(ts)}",
        f"Simplified -> Traditional pairs that Traditional -> Simplified maps back: "
        f"{round_trip} of {len(st)}",
        "",
        f"First candidates replaced so that BIG5 holds the result: {len(replaced)}",
    ]
    lines += [f"  {k} -> {first} replaced by {better}"
              + (" (so it stays as it is)" if better == k else "")
              for k, first, better in replaced]
    lines += [
        f"Traditional values BIG5 lacks, with no candidate or Taiwan form it holds: "
        f"{len(no_big5)}",
        "  " + " ".join(no_big5) if no_big5 else "  (none)",
        "",
        "Phrase accuracy, character by character, against OpenCC's first phrase answer",
        "(only phrases that GBK holds on both sides):",
    ]
    lines += [f"  {name + ':':<66} {percent(*figures)}" for name, figures in accuracy]
    lines += [
        "",
        f"Characters where Python's gbk codec and glibc CP936 disagree: "
        f"{len(cs.python_disagrees)}",
    ]
    lines += [f"  U+{ord(c):04X} {c}: python {'-' if p is None else f'0x{p:04X}'}, "
              f"glibc {'-' if g is None else f'0x{g:04X}'}" for c, p, g in cs.python_disagrees]
    with open(LOG_PATH, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    print(f"wrote {TABLE_PATH} and {LOG_PATH}")


if __name__ == "__main__":
    main()
