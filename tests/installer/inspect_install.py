#!/usr/bin/env python3
"""Reads what the installer left in a Wine prefix, for installer_test.sh.

  inspect_install.py shortcut FILE.lnk  -> target=..., workdir=..., arguments=...
  inspect_install.py task FILE.xml      -> command=..., arguments=..., workdir=...,
                                           start=..., days=..., months=..., user=...

A shell link is read as its binary format lays it out: the header, the item
list, the link information (whose local base path is the target) and the
counted strings, of which the working directory and the arguments are two.
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH = 0x1, 0x2, 0x4, 0x8
HAS_WORKING_DIR, HAS_ARGUMENTS, IS_UNICODE = 0x10, 0x20, 0x80


def read_shortcut(data):
    if struct.unpack_from("<I", data, 0)[0] != 0x4C:
        raise SystemExit("not a shell link")
    flags = struct.unpack_from("<I", data, 0x14)[0]
    position = 0x4C
    if flags & HAS_ID_LIST:
        position += 2 + struct.unpack_from("<H", data, position)[0]
    fields = {"target": ""}
    if flags & HAS_LINK_INFO:
        size, _, _, _, base_offset = struct.unpack_from("<IIIII", data, position)
        start = position + base_offset
        fields["target"] = data[start:data.index(b"\0", start)].decode("cp1252")
        position += size
    width = 2 if flags & IS_UNICODE else 1
    for flag, name in ((HAS_NAME, "name"), (HAS_RELATIVE_PATH, "relative"),
                       (HAS_WORKING_DIR, "workdir"), (HAS_ARGUMENTS, "arguments")):
        if flags & flag:
            count = struct.unpack_from("<H", data, position)[0]
            text = data[position + 2:position + 2 + count * width]
            # Wine counts the terminating null as well.
            fields[name] = text.decode("utf-16-le" if width == 2 else "cp1252").rstrip("\0")
            position += 2 + count * width
    return fields


def read_task(data):
    namespace = {"t": "http://schemas.microsoft.com/windows/2004/02/mit/task"}
    root = ElementTree.fromstring(data.decode("utf-16"))

    def text(path):
        found = root.find(path, namespace)
        return "" if found is None or found.text is None else found.text

    months = root.find("t:Triggers/t:CalendarTrigger/t:ScheduleByMonth/t:Months", namespace)
    return {
        "command": text("t:Actions/t:Exec/t:Command"),
        "arguments": text("t:Actions/t:Exec/t:Arguments"),
        "workdir": text("t:Actions/t:Exec/t:WorkingDirectory"),
        "start": text("t:Triggers/t:CalendarTrigger/t:StartBoundary"),
        "days": ",".join(day.text for day in root.findall(
            "t:Triggers/t:CalendarTrigger/t:ScheduleByMonth/t:DaysOfMonth/t:Day", namespace)),
        "months": str(0 if months is None else len(list(months))),
        "user": text("t:Principals/t:Principal/t:UserId"),
        "late_start": text("t:Settings/t:StartWhenAvailable"),
    }


def main():
    kind, path = sys.argv[1], sys.argv[2]
    with open(path, "rb") as stream:
        data = stream.read()
    fields = read_shortcut(data) if kind == "shortcut" else read_task(data)
    for key, value in fields.items():
        print(f"{key}={value}")


if __name__ == "__main__":
    main()
