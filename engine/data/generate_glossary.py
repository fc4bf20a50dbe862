#!/usr/bin/env python3
"""Builds Morvane's shipped glossary, GB-BIG5.txt, from OpenCC's phrase dictionaries.

Writes GB-BIG5.txt (GBK bytes, CR LF lines) and glossary_log.txt (its figures) beside this
script. Needs the Debian package opencc and the character table st_characters.inc beside it;
uses only the standard library and glibc's iconv program.

    python3 engine/data/generate_glossary.py

The glossary mends the character table: it keeps only the pairs whose removal would change how
Morvane converts some phrase of OpenCC's lists, and orders the file so that the glossary's
first-match rule acts as longest match.
"""

import heapq
import os
import re
import sys
import tempfile

sys.dont_write_bytecode = True  # importing the table generator must leave no cache in the tree
import generate_st_table as chars  # noqa: E402  (OpenCC export and glibc's view of GBK/BIG5)

HERE = os.path.dirname(os.path.abspath(__file__))
GLOSSARY_PATH = os.path.join(HERE, "GB-BIG5.txt")
LOG_PATH = os.path.join(HERE, "glossary_log.txt")
TABLE_PATH = os.path.join(HERE, "st_characters.inc")

TO_SIMPLIFIED = 1  # "<": the key is the Traditional word
TO_TRADITIONAL = 2  # ">": the key is the Simplified word


def read_character_table(path):
    """The character mapping compiled into Morvane, as two dicts of characters."""
    tables = {}
    current = None
    codes = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            found = re.match(r"constexpr GbkPair (\w+)\[\]", line)
            if found:
                current = tables.setdefault(found.group(1), [])
                continue
            pair = re.match(r"\s*\{0x([0-9A-F]{4}), 0x([0-9A-F]{4})\}", line)
            if pair and current is not None:
                current.append((int(pair.group(1), 16), int(pair.group(2), 16)))
                codes += [int(pair.group(1), 16), int(pair.group(2), 16)]
    # Decode the codes the way the program does, through glibc's CP936.
    unique = sorted(set(codes))
    decoded = chars.glibc_convert([bytes([c >> 8, c & 0xFF]) for c in unique], "CP936", "UTF-8")
    char_of = {c: d.decode("utf-8") for c, d in zip(unique, decoded)}
    if any(len(v) != 1 for v in char_of.values()):
        sys.exit(f"{path}: a code that is not one GBK character")
    to_trad = {char_of[a]: char_of[b] for a, b in tables.get("kSimplifiedToTraditional", [])}
    to_simp = {char_of[a]: char_of[b] for a, b in tables.get("kTraditionalToSimplified", [])}
    if not to_trad or not to_simp:
        sys.exit(f"{path}: no character table found")
    return to_trad, to_simp


def map_chars(text, table):
    return "".join(table.get(c, c) for c in text)


class Glossary:
    """One direction of the glossary, matched as Morvane matches the ordered file: at each
    double-byte character the longest key that starts there wins (the file's order makes the
    first match in list order the longest), and the scan goes on after it."""

    def __init__(self, pairs):
        self.words = dict(pairs)
        self.longest = max((len(k) for k in self.words), default=0)

    def apply(self, text, used=None):
        """The text as (piece, written by the glossary) segments: copied text between the
        replacements, and each replacement on its own."""
        out = []
        copied = []
        i = 0
        while i < len(text):
            # A single-byte character never starts a match.
            if text[i].isascii():
                copied.append(text[i])
                i += 1
                continue
            for length in range(min(self.longest, len(text) - i), 0, -1):
                replacement = self.words.get(text[i:i + length])
                if replacement is not None:
                    if copied:
                        out.append(("".join(copied), False))
                        copied = []
                    out.append((replacement, True))
                    if used is not None:
                        used.append(text[i:i + length])
                    i += length
                    break
            else:
                copied.append(text[i])
                i += 1
        if copied:
            out.append(("".join(copied), False))
        return out


class Chain:
    """One way a conversion runs: the glossary and the character table in the program's order."""

    def __init__(self, name, table, glossary_first):
        self.name = name
        self.table = table
        self.glossary_first = glossary_first

    def source(self, text):
        """The text the glossary sees."""
        return text if self.glossary_first else map_chars(text, self.table)

    def finish(self, segments):
        """The result from the glossary's output. A glossary that runs first has its
        replacements left alone by the table, which maps only the text between them."""
        if not self.glossary_first:
            return "".join(piece for piece, _ in segments)
        return "".join(piece if written else map_chars(piece, self.table)
                       for piece, written in segments)

    def run(self, text, glossary, used=None):
        return self.finish(glossary.apply(self.source(text), used))

    def plain(self, text):
        return map_chars(text, self.table)


def prune(glossary, chains, texts):
    """Drops every pair whose removal changes no result of the chains on the texts.

    Longer keys go first: a long pair that shorter pairs already reproduce is dead weight, while
    one that keeps a shorter, wrong pair from matching inside it changes a result and stays.
    Returns the keys dropped.
    """
    # Per chain: each text's source and current result, the keys each text uses, and the
    # texts each key is used in.
    state = []
    for chain in chains:
        sources = [chain.source(t) for t in texts]
        results, keys_used, users = [], [], {}
        for n, s in enumerate(sources):
            used = []
            results.append(chain.finish(glossary.apply(s, used)))
            keys_used.append(used)
            for key in used:
                users.setdefault(key, set()).add(n)
        state.append((chain, sources, results, keys_used, users))

    dropped = []
    for key in sorted(glossary.words, key=lambda k: (-len(k), k)):
        replacement = glossary.words.pop(key)
        changes = []
        same = True
        for chain, sources, results, keys_used, users in state:
            for n in users.get(key, ()):
                used = []
                if chain.finish(glossary.apply(sources[n], used)) != results[n]:
                    same = False
                    break
                changes.append((keys_used, users, n, used))
            if not same:
                break
        if not same:
            glossary.words[key] = replacement
            continue
        dropped.append(key)
        # The texts that used the key now match other keys; their results are unchanged.
        for keys_used, users, n, used in changes:
            for k in keys_used[n]:
                users[k].discard(n)
            keys_used[n] = used
            for k in used:
                users.setdefault(k, set()).add(n)
    return dropped


def file_order(lines):
    """Orders (simplified, traditional, directions) lines so that in each direction a key comes
    after every shorter key that starts it; otherwise shorter lines first, then by their words."""
    keys_of = []
    line_of_key = ({}, {})
    for n, (s, t, d) in enumerate(lines):
        keys = []
        if d & TO_TRADITIONAL:
            keys.append((0, s))
        if d & TO_SIMPLIFIED:
            keys.append((1, t))
        keys_of.append(keys)
        for slot, key in keys:
            line_of_key[slot][key] = n
    after = [[] for _ in lines]  # after[p]: lines that must come after line p
    waiting = [0] * len(lines)
    for n, keys in enumerate(keys_of):
        for slot, key in keys:
            for length in range(1, len(key)):
                p = line_of_key[slot].get(key[:length])
                if p is not None and p != n:
                    after[p].append(n)
                    waiting[n] += 1
    priority = [(max(len(s), len(t)), s, t) for s, t, _ in lines]
    ready = [(priority[n], n) for n in range(len(lines)) if waiting[n] == 0]
    heapq.heapify(ready)
    order = []
    while ready:
        _, n = heapq.heappop(ready)
        order.append(n)
        for m in after[n]:
            waiting[m] -= 1
            if waiting[m] == 0:
                heapq.heappush(ready, (priority[m], m))
    if len(order) != len(lines):
        sys.exit("the prefix rule has a cycle; no file order satisfies it")
    return [lines[n] for n in order]


def check_order(lines):
    """True when, in each direction, no key precedes a shorter key that starts it."""
    for slot, bit in ((0, TO_TRADITIONAL), (1, TO_SIMPLIFIED)):
        position = {}
        for n, (s, t, d) in enumerate(lines):
            if d & bit:
                position[s if slot == 0 else t] = n
        for key, n in position.items():
            for length in range(1, len(key)):
                p = position.get(key[:length])
                if p is not None and p > n:
                    return False
    return True


def score(pairs, convert=None, results=None):
    """(exact phrases, all phrases, right characters, all characters) on (text, answer) pairs,
    the results given or made by convert. Characters compare position by position, counting
    only the answer's double-byte ones, so that Latin text around Chinese does not pad them."""
    exact = right = total = 0
    for n, (text, answer) in enumerate(pairs):
        got = results[n] if results is not None else convert(text)
        exact += got == answer
        right += sum(1 for a, b in zip(got, answer) if a == b and not b.isascii())
        total += sum(1 for b in answer if not b.isascii())
    return exact, len(pairs), right, total


def figures(result):
    exact, phrases, right, total = result
    if not phrases:
        return "no phrases"
    return (f"{exact}/{phrases} = {100.0 * exact / phrases:.2f}% exact, "
            f"characters {100.0 * right / total:.2f}%")


def load_opencc(workdir, extra_texts=()):
    """OpenCC's phrase lists and Taiwan variants, and glibc's view of GBK and BIG5 over every
    character they, the character table and extra_texts use."""
    st_phrases = chars.load_dictionary("STPhrases", workdir)
    ts_phrases = chars.load_dictionary("TSPhrases", workdir)
    tw_list = chars.load_dictionary("TWVariants", workdir)
    tw_variants = {k: v[0] for k, v in tw_list if len(k) == 1 and len(v[0]) == 1}
    to_trad, to_simp = read_character_table(TABLE_PATH)
    seen = set(to_trad) | set(to_trad.values()) | set(to_simp) | set(to_simp.values())
    for entries in (st_phrases, ts_phrases, tw_list):
        for key, candidates in entries:
            seen.update(key)
            for c in candidates:
                seen.update(c)
    for text in extra_texts:
        seen.update(text)
    seen.discard("\n")
    return st_phrases, ts_phrases, tw_variants, to_trad, to_simp, chars.Charsets(seen)


def big5_former(cs, tw_variants):
    """A function giving a word as BIG5 can hold it: a character BIG5 lacks becomes its Taiwan
    form when GBK and BIG5 both hold that; None when a character would still be lost."""
    def big5_form(word):
        out = []
        for c in word:
            if c not in cs.big5 and not c.isascii():
                variant = tw_variants.get(c)
                if variant is None or variant not in cs.big5 or variant not in cs.gbk:
                    return None
                c = variant
            out.append(c)
        return "".join(out)
    return big5_form


class PhraseLists:
    """OpenCC's phrase lists as (source, answer) pairs that GBK holds on both sides, the
    Traditional side in its BIG5 form, with a count of what was left out and why."""

    def __init__(self, st_phrases, ts_phrases, cs, big5_form):
        self.left_out = {}
        self.taiwan_forms = {"STPhrases": 0, "TSPhrases": 0}
        self.st = self._pairs("STPhrases", st_phrases, cs, big5_form, traditional_first=False)
        self.ts = self._pairs("TSPhrases", ts_phrases, cs, big5_form, traditional_first=True)
        # Traditional -> Simplified on the bigger list, each answer read back to its phrase.
        self.st_backwards = [(t, s) for s, t in self.st]

    def _pairs(self, name, entries, cs, big5_form, traditional_first):
        pairs, keys = [], set()
        reasons = self.left_out.setdefault(name, {})
        for key, answers in entries:
            simplified, traditional = (answers[0], key) if traditional_first else (key, answers[0])
            reason = None
            if not (cs.in_gbk(simplified) and cs.in_gbk(traditional)):
                reason = "a word GBK lacks"
            elif big5_form(traditional) is None:
                reason = "a Traditional character BIG5 lacks with no Taiwan form it holds"
            elif simplified[0].isascii() or traditional[0].isascii():
                reason = "a word that starts with a single-byte character, which never matches"
            else:
                form = big5_form(traditional)
                pair = (form, simplified) if traditional_first else (simplified, form)
                if pair[0] in keys:
                    reason = "the same key as an earlier entry once in BIG5 forms"
                else:
                    self.taiwan_forms[name] += form != traditional
                    keys.add(pair[0])
                    pairs.append(pair)
            if reason:
                reasons[reason] = reasons.get(reason, 0) + 1
        return pairs


TO_TRADITIONAL_CHAIN = "Simplified -> Traditional (batch /B /T and the views)"
BATCH_G_CHAIN = "Traditional -> Simplified, batch /G /T (glossary first)"
WINDOW_CHAIN = "Traditional -> Simplified, the views' << (glossary last)"


def main():
    version = chars.opencc_version()
    with tempfile.TemporaryDirectory() as workdir:
        st_phrases, ts_phrases, tw_variants, to_trad, to_simp, cs = load_opencc(workdir)
    lists = PhraseLists(st_phrases, ts_phrases, cs, big5_former(cs, tw_variants))

    to_traditional = Chain(TO_TRADITIONAL_CHAIN, to_trad, True)
    batch_g = Chain(BATCH_G_CHAIN, to_simp, True)
    window = Chain(WINDOW_CHAIN, to_simp, False)

    st_glossary = Glossary(lists.st)
    ts_glossary = Glossary(lists.ts)
    # Each direction is judged on every phrase of both lists that it can convert.
    simplified_texts = sorted({s for s, _ in lists.st} | {s for _, s in lists.ts})
    traditional_texts = sorted({t for t, _ in lists.ts} | {t for _, t in lists.st})
    st_plain_right = {s for s, t in lists.st if map_chars(s, to_trad) == t}
    ts_plain_right = {t for t, s in lists.ts if map_chars(t, to_simp) == s}
    st_dropped = set(prune(st_glossary, [to_traditional], simplified_texts))
    ts_dropped = set(prune(ts_glossary, [batch_g, window], traditional_texts))

    # One line per word pair, "<>" where both directions keep it.
    lines = {}
    for s, t in st_glossary.words.items():
        lines[(s, t)] = TO_TRADITIONAL
    for t, s in ts_glossary.words.items():
        lines[(s, t)] = lines.get((s, t), 0) | TO_SIMPLIFIED
    ordered = file_order([(s, t, d) for (s, t), d in lines.items()])
    if not check_order(ordered):
        sys.exit("the file order breaks the prefix rule")

    def gbk(text):
        return b"".join(bytes([cs.gbk[c] >> 8, cs.gbk[c] & 0xFF]) if c in cs.gbk
                        else c.encode("ascii") for c in text)

    separators = {TO_TRADITIONAL: b">", TO_SIMPLIFIED: b"<", TO_SIMPLIFIED | TO_TRADITIONAL: b"<>"}
    heading = (f"[Morvane's shipped glossary: {len(ordered)} word pairs generated by "
               f"engine/data/generate_glossary.py from OpenCC {version} STPhrases and TSPhrases. "
               "Saving it here makes it your own.]")
    with open(GLOSSARY_PATH, "wb") as f:
        f.write(heading.encode("ascii") + b"\r\n")
        for s, t, d in ordered:
            f.write(gbk(s) + separators[d] + gbk(t) + b"\r\n")

    both = sum(1 for d in lines.values() if d == TO_SIMPLIFIED | TO_TRADITIONAL)
    log = [
        f"Shipped glossary GB-BIG5.txt from OpenCC {version} STPhrases/TSPhrases/TWVariants,",
        "written by generate_glossary.py over the character table st_characters.inc.",
        "GBK and BIG5 are glibc iconv's CP936 and CP950.",
        "",
    ]
    for name, entries, pairs in (("STPhrases", st_phrases, lists.st),
                                 ("TSPhrases", ts_phrases, lists.ts)):
        log.append(f"{name} entries: {len(entries)}")
        log += [f"  left out, {reason}: {n}" for reason, n in sorted(lists.left_out[name].items())]
        log.append(f"  candidate pairs: {len(pairs)} "
                   f"({lists.taiwan_forms[name]} with Taiwan forms for BIG5)")
        if name == "STPhrases":
            log += [
                f"  dropped as changing no phrase's result: {len(st_dropped)}",
                f"    the character table alone gets them right: "
                f"{len(st_dropped & st_plain_right)}",
                f"    shorter pairs give the same: "
                f"{len(st_dropped - st_plain_right)}",
                f"  kept: {len(st_glossary.words)}",
            ]
        else:
            log += [
                f"  dropped as changing no phrase's result in either order: {len(ts_dropped)}",
                f"    the character table alone gets them right: "
                f"{len(ts_dropped & ts_plain_right)}",
                f"  kept: {len(ts_glossary.words)}",
            ]
    log += [
        "",
        f"Lines: {len(ordered)} pairs ({both} both ways) and the heading.",
        "Order: within each direction every key comes after the shorter keys that start it.",
        "",
        "Phrase exactness and character accuracy against OpenCC's answer (Taiwan forms where",
        "BIG5 lacks OpenCC's character), phrases that GBK and BIG5 both hold:",
    ]
    measures = [
        ("STPhrases", to_traditional, st_glossary, lists.st),
        ("TSPhrases", batch_g, ts_glossary, lists.ts),
        ("STPhrases read backwards", batch_g, ts_glossary, lists.st_backwards),
        ("TSPhrases", window, ts_glossary, lists.ts),
        ("STPhrases read backwards", window, ts_glossary, lists.st_backwards),
    ]
    for list_name, chain, glossary, pairs in measures:
        log += [f"  {chain.name}, {list_name} ({len(pairs)} phrases):",
                f"    without the glossary: {figures(score(pairs, chain.plain))}",
                "    with the glossary:    "
                + figures(score(pairs, lambda x, c=chain, g=glossary: c.run(x, g)))]
    with open(LOG_PATH, "w", encoding="utf-8") as f:
        f.write("\n".join(log) + "\n")
    print(f"wrote {GLOSSARY_PATH} and {LOG_PATH}")


if __name__ == "__main__":
    main()
