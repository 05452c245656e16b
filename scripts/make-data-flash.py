#!/usr/bin/env python3
"""Writes the simulated bq40z50's data flash into built-in profiles.

The data flash is 256 rows of 32 bytes, addresses 0x4000 to 0x5FE0, which the
simulated gauge answers as the profile's manufacturer_data entries of those
addresses. Rows already in a profile are replaced; nothing else changes.

The image is made up, not taken from a gauge: the values a reader of a backup
looks for (calibration, protections, the pack's data, Qmax, lifetime data) sit
in fixed places and agree with the profiles' other answers; every other word
is a fixed filler that differs from row to row, so that a row put at the
wrong address shows.

Usage: scripts/make-data-flash.py link/sim/profiles/bq40z50.json ...
"""

import json
import struct
import sys

FIRST_ROW = 0x4000
ROWS = 256
ROW_BYTES = 32

# (address, struct format, values); multi-byte values least significant byte
# first, texts with their length first.
FIELDS = [
    # Calibration: cell and pack voltage gains, coulomb counter and capacity
    # gains, cell offsets.
    (0x4000, "<HHHH", (12101, 12098, 12105, 12102)),
    (0x4008, "<HH", (49669, 48700)),
    (0x400C, "<ff", (3.6578, 1090866.0)),
    (0x4014, "<bbbb", (0, -1, 1, 0)),
    # Protections: cell under- and over-voltage with recovery (mV), charge
    # and discharge over-current (mA), charge and discharge over-temperature
    # with recovery (0.1 degC).
    (0x4400, "<HHHH", (2500, 3000, 4300, 4100)),
    (0x4408, "<hh", (6000, -6000)),
    (0x440C, "<hhhh", (550, 500, 600, 550)),
    # Pack data, as the Smart Battery words answer: design capacity (mAh),
    # design voltage (mV), manufacture date, serial number, charging voltage
    # (mV) and current (mA), specification info, cycle count.
    (0x4800, "<HHHH", (4800, 14400, 0x4A6F, 0x0A1B)),
    (0x4808, "<HHHH", (16800, 2000, 0x0031, 37)),
    (0x4820, "21p", (b"Texas Inst.",)),
    (0x4840, "21p", (b"bq40z50",)),
    (0x4860, "5p", (b"LION",)),
    # Gas gauging: Qmax of cells 1 to 4 and of the pack (mAh), update status.
    (0x4C00, "<HHHHHB", (4420, 4415, 4430, 4410, 4410, 0x0E)),
    # Lifetime data: highest and lowest cell voltage (mV), largest charge and
    # discharge current (mA), highest and lowest temperature (degC).
    (0x5000, "<HHhh", (4252, 2981, 3120, -4200)),
    (0x5008, "<bb", (47, 12)),
]


def filler(address):
    # The word's address through MurmurHash3's final mix, kept to the size of
    # a setting.
    h = address
    h = ((h ^ (h >> 16)) * 0x85EBCA6B) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 0xC2B2AE35) & 0xFFFFFFFF
    return (h ^ (h >> 16)) % 1024


def image():
    data = bytearray()
    for address in range(FIRST_ROW, FIRST_ROW + ROWS * ROW_BYTES, 2):
        data += struct.pack("<H", filler(address))
    for address, layout, values in FIELDS:
        packed = struct.pack(layout, *values)
        data[address - FIRST_ROW : address - FIRST_ROW + len(packed)] = packed
    return data


def rows():
    data = image()
    for row in range(ROWS):
        chunk = data[row * ROW_BYTES : (row + 1) * ROW_BYTES]
        yield "0x%04X" % (FIRST_ROW + row * ROW_BYTES), " ".join("%02X" % b for b in chunk)


def is_row(key):
    number = int(key, 16)
    return FIRST_ROW <= number < FIRST_ROW + ROWS * ROW_BYTES


def dump(value, indent=""):
    # As the profiles are written: two blanks per level, arrays on one line.
    if isinstance(value, dict):
        inner = indent + "  "
        members = [inner + json.dumps(key) + ": " + dump(member, inner) for key, member in value.items()]
        return "{\n" + ",\n".join(members) + "\n" + indent + "}" if members else "{}"
    if isinstance(value, list):
        return "[" + ", ".join(dump(item, indent) for item in value) + "]"
    return json.dumps(value)


def main(paths):
    if not paths:
        sys.exit(__doc__)
    for path in paths:
        with open(path, encoding="utf-8") as file:
            profile = json.load(file)
        table = profile.setdefault("manufacturer_data", {})
        for key in [key for key in table if is_row(key)]:
            del table[key]
        table.update(rows())
        with open(path, "w", encoding="utf-8") as file:
            file.write(dump(profile) + "\n")


if __name__ == "__main__":
    main(sys.argv[1:])
