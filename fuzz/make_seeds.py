#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/ (run from anywhere)."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---- project files: header, 64 ballasts, 16 scenes, 16 groups, 32 scene data entries ----

def text(s):
    b = s.encode("cp1252")
    return struct.pack("<H", len(b)) + b


def project(order="517104", version="11", dates=(45000.5, 44000.25, 0.0), ballasts=64, groups=16):
    h = text("Halle 3") + text("K-17") + text("/projects/hall.dal") + struct.pack("<i", 0x1105)
    h += text("1.1.5") + text(order) + text(version)
    h += b"".join(struct.pack("<d", d) for d in dates)
    h += text("erste Bemerkung") + struct.pack("<h", -12) + text("") + text("B2")
    body = b""
    for i in range(ballasts):
        body += bytes([i % 17, i, i + 1, 255 - i]) + text("EVG %d" % i) + text("Gruppe") + bytes([i])
        body += text("Flur" if i % 3 == 0 else "") + text("")
    for i in range(16):
        body += bytes([0xA0 | i, 0x0F, i])
    for i in range(groups):
        body += text("Gruppe %d" % i) + bytes([i, 100 + i, 255 - i]) + text("€ %d" % i) + bytes([i])
    for i in range(32):
        body += bytes([i, 2 * i, 3 * i, 0, 0, 0, 0, 255, i])
    return h + body


put("project_file", "model-517104.dal", project())
put("project_file", "model-517204.dal", project(order="517204"))
put("project_file", "unknown-model.dal", project(order="0", version=""))
put("project_file", "refused-firmware.dal", project(version="12"))
put("project_file", "header-only.dal", project()[:120])
put("project_file", "dates-no-dates.dal", project(dates=(math.nan, math.inf, -1e300)))
put("project_file", "dates-range-ends.dal", project(dates=(-657434.5, 2958465.99999, 2958466.0)))

# ---- menu-language files ----

put("menu_language", "header-and-records.m1",
    'Nr1,Nr2,Frei,Text\r\n1,10,x,"Men\xfc"\r\n  2 , 20 ,"a, b",Zeit  \r\n3,30,,"Datum, Uhr"\r\n'.encode("latin-1"))
put("menu_language", "cr-only.m1", b'Header\r1,2,3,"Licht"\r4,5,6,Aus\r')
put("menu_language", "written.m1", b'1,2,"Eins"\r\n-3,400,"Gr\xfcn, hell"\r\n5,6,""\r\n')
put("menu_language", "long-text.m1", b'h\n1,1,a,"Exactly 16 chars"\n2,2,b,"Seventeen chars!!"\n32767,-32768,c,x\n')

# ---- gateway replies: the first byte picks the operation (+ 0x80: with item logs) ----
# A reply is a tag byte (low nibble the shape, high nibble a length) and its bytes.


def count(n):  # a small Long
    return bytes([0x02, n])


def block(values):  # a byte array
    return bytes([(len(values) << 4) | 0x08]) + bytes(values)


def blocks(items):  # an array of variants
    return bytes([(len(items) << 4) | 0x0A]) + b"".join(items)


def ballast_table():
    out = count(64)
    for i in range(0, 64, 2):
        out += blocks([block([i % 16, i, 0x20, 0x30]), block([(i + 1) % 17, i + 1, 0x21, 0x31])])
    return out


def scene_table():
    out = count(16)
    for start in (0, 5, 10):
        out += blocks([block([0x80 >> (i % 8), i]) for i in range(start, start + 5)])
    return out + block([0x01, 0x0F])


put("gateway_replies", "tables-upload", bytes([0]) + ballast_table() + scene_table())
put("gateway_replies", "tables-upload-logged", bytes([0x80]) + ballast_table() + scene_table())
put("gateway_replies", "scene-upload", bytes([1]) + scene_table())
put("gateway_replies", "command-reply", bytes([2]) + block([0xFF, 5, 0]))
put("gateway_replies", "device-info",
    bytes([3]) + block([5, 1, 7, 1, 0, 4, 0xFF, 0xFF, 0xFF, 0xFF]) + block([0x11, 0, 0, 0, 1])
    + count(2) + count(1) + count(2) + count(1))
put("gateway_replies", "tables-download", bytes([4]) + bytes(38))
put("gateway_replies", "short-count", bytes([0]) + count(63) + bytes([0x0D, 5, 0, 0, 0]))
