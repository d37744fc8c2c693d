#!/usr/bin/env python3
"""Rebuilds fuzz/corpus from the statements the tests hold.

Every C++ string literal of tests/ (adjacent literals joined, escapes
resolved) that starts with SELECT becomes one seed file, named after its
SHA-1; the sample statements join them. Run from anywhere:

    fuzz/make_corpus.py
"""
import hashlib
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "fuzz" / "corpus"

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'", "0": "\0"}


def unescape(s):
    out, i = [], 0
    while i < len(s):
        c = s[i]
        if c == "\\" and i + 1 < len(s):
            n = s[i + 1]
            if n == "x":
                m = re.match(r"[0-9a-fA-F]+", s[i + 2:])
                out.append(chr(int(m.group(0), 16) & 0xFF))
                i += 2 + len(m.group(0))
                continue
            out.append(ESCAPES.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def statements(source):
    # Joins literals separated only by blanks and line breaks.
    text = source
    pieces, last_end, current = [], None, None
    for m in LITERAL.finditer(text):
        if current is not None and text[last_end:m.start()].strip() == "":
            current += unescape(m.group(1))
        else:
            if current is not None:
                pieces.append(current)
            current = unescape(m.group(1))
        last_end = m.end()
    if current is not None:
        pieces.append(current)
    return [p for p in pieces if re.match(r"\s*select\b", p, re.I)]


def main():
    seeds = set()
    for path in sorted((ROOT / "tests").rglob("*.cpp")):
        seeds.update(statements(path.read_text(encoding="latin-1")))
    for path in sorted((ROOT / "samples").glob("*.sql")):
        seeds.add(path.read_text(encoding="latin-1"))
    OUT.mkdir(parents=True, exist_ok=True)
    for old in OUT.iterdir():
        old.unlink()
    for s in seeds:
        data = s.encode("latin-1")
        (OUT / hashlib.sha1(data).hexdigest()).write_bytes(data)
    print(f"{len(seeds)} seeds, {sum(len(s) for s in seeds)} bytes in {OUT}")


if __name__ == "__main__":
    main()
