#!/usr/bin/env python3
"""Writes the "units" section of XMLData/DTMDictionary.xml from the unit table.

One entry "unit_NNNN" per profile unit of model/elements/clsPROFIBUSProfil3Units.cpp (its
text as the table has it) and per constant unit that the block builders register.
Every <units> section of the file (one per language) is replaced.

    python3 scripts/make_units_section.py          rewrite the file
    python3 scripts/make_units_section.py --check  exit 1 when the file is out of date
"""
import pathlib
import re
import sys
from xml.sax.saxutils import quoteattr

ROOT = pathlib.Path(__file__).resolve().parent.parent
TABLE = ROOT / "model" / "elements" / "clsPROFIBUSProfil3Units.cpp"
DICTIONARY = ROOT / "XMLData" / "DTMDictionary.xml"

# Constant units registered by the block builders while the model is built.
CONSTANT_UNITS = [(900, "s"), (901, "ms"), (902, "days"), (903, "%"), (904, "g/sec")]

ROW = re.compile(r'\{(\d{4}),\s*"((?:[^"\\]|\\.)*)"')
SECTION = re.compile(r"( *)<units>.*?</units>", re.S)


def profile_units():
    source = TABLE.read_text(encoding="utf-8")
    start = source.index("kProfileUnits[]")
    body = source[start:source.index("};", start)]
    rows = [(int(code), text.replace('\\"', '"').replace("\\\\", "\\")) for code, text in ROW.findall(body)]
    if not rows:
        sys.exit(f"no unit rows found in {TABLE}")
    return rows


def units_section(indent):
    lines = [f"{indent}<units>"]
    for code, text in CONSTANT_UNITS + profile_units():
        lines.append(f'{indent}  <entry key="unit_{code}" text={quoteattr(text)}/>')
    lines.append(f"{indent}</units>")
    return "\n".join(lines)


def main():
    old = DICTIONARY.read_text(encoding="utf-8")
    new, count = SECTION.subn(lambda m: units_section(m.group(1)), old)
    if count == 0:
        sys.exit(f"no <units> section in {DICTIONARY}")
    if "--check" in sys.argv[1:]:
        if new != old:
            sys.exit(f"{DICTIONARY} is out of date: run {pathlib.Path(__file__).name}")
        return
    if new != old:
        DICTIONARY.write_text(new, encoding="utf-8")


if __name__ == "__main__":
    main()
