#!/usr/bin/env python3
"""Writes the factory preset documents in resources/presets/ from tools/factory_presets.txt.

Each row of the table becomes "<name>.xml", laid out exactly as the framework's XML writer writes a
parameter tree: declaration, empty line, "Parameters" root, one "PARAM" per line, CR LF line ends.
Values are stored as 32-bit floats and written as the framework writes a double, so a document reads
the same as one saved from the plug-in. Documents without a row are removed.

Run it after editing the table and commit the documents; the build only embeds them.
With --check it writes nothing and fails when the committed documents differ from the table.
"""

import math
import pathlib
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TABLE = ROOT / "tools" / "factory_presets.txt"
OUT_DIR = ROOT / "resources" / "presets"

BASE_NAME = "(base)"
LEGACY_CATEGORY = "Pinned"
NO_VALUE = "-"
NEWLINE = "\r\n"


def as_float32(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def serialise_double(value):
    """Text of a double as the framework's XML attribute writer produces it (15 to 17 significant
    digits, trailing zeros dropped, at least one decimal)."""
    magnitude = abs(value)
    if magnitude == 0.0:
        return "0.0"
    if magnitude >= 1.0e6 or magnitude <= 1.0e-5:
        raise ValueError(f"{value!r}: no preset value needs exponent notation")
    if math.floor(value) == value:
        return f"{value:.1f}"
    if magnitude < 1.0:
        decimals = 16 if magnitude >= 0.1 else 17 if magnitude >= 0.01 else 18 if magnitude >= 1.0e-3 \
            else 19 if magnitude >= 1.0e-4 else 20
    else:
        decimals = 15 if magnitude < 10 else 14 if magnitude < 100 else 13 if magnitude < 1000 \
            else 12 if magnitude < 1.0e4 else 11 if magnitude < 1.0e5 else 10
    text = f"{value:.{decimals}f}".rstrip("0")
    return text + "0" if text.endswith(".") else text


def parse_settings(text, where):
    settings = []
    for item in text.split():
        key, sep, value = item.partition("=")
        if not sep or not key or not value:
            sys.exit(f"{where}: malformed setting '{item}'")
        if any(key == seen for seen, _ in settings):
            sys.exit(f"{where}: '{key}' set twice")
        settings.append((key, value))
    return settings


def read_table():
    rows = []
    for number, line in enumerate(TABLE.read_text(encoding="ascii").splitlines(), start=1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        cells = [cell.strip() for cell in line.split("|")]
        if len(cells) != 4 or not all(cells[:3]):
            sys.exit(f"{TABLE.name}:{number}: expected 'name | category | intent | settings'")
        name, category, _intent, settings = cells
        rows.append((name, category, parse_settings(settings, f"{TABLE.name}:{number}")))
    return rows


def value_text(value, where):
    try:
        return serialise_double(as_float32(float(value)))
    except ValueError as error:
        sys.exit(f"{where}: {error}")


def document(children):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "", "<Parameters>"]
    for key, value in children:
        if value is None:
            lines.append(f'  <PARAM id="{key}"/>')
        else:
            lines.append(f'  <PARAM id="{key}" value="{value}"/>')
    lines.append("</Parameters>")
    return NEWLINE.join(lines) + NEWLINE


def children_of(name, category, settings, base):
    """Legacy rows are written as listed; every other row names each base parameter once, in base
    order, with its own setting where it has one."""
    where = f"{TABLE.name}: '{name}'"
    if category == LEGACY_CATEGORY:
        return [(key, None if value == NO_VALUE else value_text(value, where)) for key, value in settings]
    own = dict(settings)
    unknown = [key for key in own if key not in base]
    if unknown:
        sys.exit(f"{where}: unknown parameter(s) {', '.join(unknown)}")
    children = []
    for key, base_value in base.items():
        value = own.get(key, base_value)
        children.append((key, None if value == NO_VALUE else value_text(value, f"{where} {key}")))
    return children


def check(documents):
    existing = {path.name for path in OUT_DIR.glob("*.xml")}
    problems = [f"missing: {name}" for name in sorted(documents.keys() - existing)]
    problems += [f"not in the table: {name}" for name in sorted(existing - documents.keys())]
    problems += [f"differs from the table: {name}" for name in sorted(documents.keys() & existing)
                 if (OUT_DIR / name).read_bytes() != documents[name].encode("ascii")]
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        sys.exit(f"run {pathlib.Path(__file__).relative_to(ROOT)} and commit the documents")
    print(f"{len(documents)} documents match {TABLE.relative_to(ROOT)}")


def main():
    rows = read_table()
    if not rows or rows[0][0] != BASE_NAME:
        sys.exit(f"{TABLE.name}: the first row must be '{BASE_NAME}'")
    base = dict(rows[0][2])
    documents = {}
    for name, category, settings in rows[1:]:
        file_name = f"{name}.xml"
        if file_name in documents:
            sys.exit(f"{TABLE.name}: '{name}' appears twice")
        documents[file_name] = document(children_of(name, category, settings, base))

    if sys.argv[1:] == ["--check"]:
        check(documents)
        return
    if sys.argv[1:]:
        sys.exit(f"usage: {sys.argv[0]} [--check]")

    OUT_DIR.mkdir(parents=True, exist_ok=True)
    for stale in OUT_DIR.glob("*.xml"):
        if stale.name not in documents:
            stale.unlink()
    for file_name, text in documents.items():
        (OUT_DIR / file_name).write_bytes(text.encode("ascii"))
    print(f"wrote {len(documents)} documents to {OUT_DIR.relative_to(ROOT)}")


if __name__ == "__main__":
    main()
