#!/usr/bin/env python3
"""Writes README.txt of the Windows package: packaging/windows/README.txt.in
with each plug-in's suffixes and property table filled in, English then
Japanese, as UTF-8 with a byte-order mark and CRLF line ends.

The tables come from the sources the DLLs are built from: the catalogue rows
(key and title ID, in the plug-in's order), the title lists, the English
names of common/PropertyKeys.h and the claimed suffixes. What each property
holds comes from packaging/windows/properties.tsv; a property without a
description there, or a description without a property, fails the build.

usage: make_windows_readme.py SOURCE_DIR VERSION OUTPUT
"""
import re
import sys
import unicodedata
from pathlib import Path

PLUGINS = {
    # name: (catalogue source, plug-in source, name table, own title list)
    "zavaudio": ("audio/AudioOpen.cpp", "audio/AudioPlugin.cpp", "kAudioPropertyNames", "audio/titles.txt"),
    "zavrtfp": ("rtf/RtfOpen.cpp", "rtf/RtfPlugin.cpp", "kRtfPropertyNames", "rtf/titles.txt"),
}


class Fault(Exception):
    pass


def read(source, path):
    return (source / path).read_text(encoding="utf-8")


def block(text, start, what):
    """The text from `start` to the end of its braced initialiser."""
    begin = text.find(start)
    if begin < 0:
        raise Fault(f"{what}: '{start}' not found")
    end = text.find("}};", begin)
    end = end if end >= 0 else text.find("};", begin)
    return text[begin:end]


def titles(source, path):
    found = {}
    for line in read(source, path).splitlines():
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        number, _, title = line.partition("\t")
        found[int(number)] = title
    return found


def keys(source):
    header = read(source, "common/PropertyKeys.h")
    enum = block(header, "enum class PropertyKey", "PropertyKeys.h")
    numbers = {name: int(number) for name, number in re.findall(r"(\w+) = (\d+),", enum)}
    names = {}
    for table in ("kCommonPropertyNames", "kAudioPropertyNames", "kRtfPropertyNames"):
        rows = re.findall(r'\{PropertyKey::(\w+), "(\w+)"\}', block(header, table, "PropertyKeys.h"))
        if not rows:
            raise Fault(f"PropertyKeys.h: no rows in {table}")
        names[table] = dict(rows)
    return numbers, names


def catalogue(source, path, numbers):
    rows = re.findall(r"row\((?:PropertyKey::)?(\w+), (\d+)", block(read(source, path), "kCatalogue", path))
    if not rows:
        raise Fault(f"{path}: no catalogue rows")
    return [(enumerator, numbers[enumerator], int(title)) for enumerator, title in rows]


def suffixes(source, path):
    found = re.search(r"kSuffixes\[\] = \{([^}]*)\}", read(source, path))
    if not found:
        raise Fault(f"{path}: no kSuffixes")
    return re.findall(r'"(\w+)"', found.group(1))


def descriptions(source):
    table = {}
    for line in read(source, "packaging/windows/properties.tsv").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        plugin, name, english, japanese = line.split("\t")
        table[(plugin, name)] = (english, japanese)
    return table


def width(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def padded(text, columns):
    return text + " " * (columns - width(text))


def render(header, rows):
    columns = [max(width(row[i]) for row in [header] + rows) for i in range(len(header))]
    lines = []
    for row in [header, ["-" * c for c in columns]] + rows:
        key = " " * (columns[0] - width(row[0])) + row[0]  # numbers to the right
        cells = [key] + [padded(cell, c) for cell, c in zip(row[1:], columns[1:])]
        lines.append("  ".join(cells).rstrip())
    return "\n".join(lines)


def tables(source):
    numbers, names = keys(source)
    common_titles = titles(source, "common/titles.txt")
    described = descriptions(source)
    used = set()
    fields = {}
    for plugin, (catalogue_path, plugin_path, name_table, title_path) in PLUGINS.items():
        own_titles = {**common_titles, **titles(source, title_path)}
        own_names = {**names["kCommonPropertyNames"], **names[name_table]}
        english, japanese = [], []
        for enumerator, key, title_id in catalogue(source, catalogue_path, numbers):
            name = own_names[enumerator]
            if (plugin, name) not in described:
                raise Fault(f"properties.tsv: nothing says what {plugin}'s {name} holds")
            used.add((plugin, name))
            holds_en, holds_ja = described[(plugin, name)]
            english.append([str(key), own_titles[title_id], name, holds_en])
            japanese.append([str(key), own_titles[title_id], name, holds_ja])
        prefix = "AUDIO" if plugin == "zavaudio" else "RTF"
        claimed = suffixes(source, plugin_path)
        fields[f"{prefix}_SUFFIXES"] = ", ".join(claimed)
        fields[f"{prefix}_SUFFIXES_JA"] = "、".join(claimed)
        fields[f"{prefix}_TABLE_EN"] = render(["Key", "Title", "Name", "Holds"], english)
        fields[f"{prefix}_TABLE_JA"] = render(["キー", "タイトル", "名前", "内容"], japanese)
    unused = sorted(set(described) - used)
    if unused:
        raise Fault(f"properties.tsv: no such property: {unused}")
    return fields


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    source, version, output = Path(sys.argv[1]), sys.argv[2], Path(sys.argv[3])
    try:
        fields = tables(source)
    except (Fault, KeyError, ValueError) as fault:
        sys.exit(f"make_windows_readme.py: {fault}")
    fields["VERSION"] = version
    fields["LICENSE"] = read(source, "LICENSE").rstrip("\n")
    text = read(source, "packaging/windows/README.txt.in")
    text = re.sub(r"@(\w+)@", lambda m: fields[m.group(1)], text)
    output.write_bytes(b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8"))


if __name__ == "__main__":
    main()
