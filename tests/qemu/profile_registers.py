#!/usr/bin/env python3
"""Writes the register file of hid_bridge/smart_battery.h from a battery profile,
so that the emulated chip's battery and the simulated battery hold the same
registers. Answers that are error codes are left out: the battery then does
not acknowledge them, which the simulated battery reports as -9.

    profile_registers.py PROFILE.json [BLOCK=TEXT ...] > REGISTERS

BLOCK=TEXT (BLOCK in hex) replaces a block with a text, in the register file
and in the profile written beside it with --profile OUT.json."""
import json
import sys

TABLES = {"words": "word", "blocks": "block", "manufacturer_access": "ma",
          "manufacturer_data": "md", "data_flash": "df", "subclass": "sc"}


def block_bytes(value):
    if isinstance(value, dict):
        return list(value["text"].encode("latin-1"))
    return [int(b, 16) for b in value.split()]


def main(arguments):
    profile_out = None
    if "--profile" in arguments:
        at = arguments.index("--profile")
        profile_out = arguments[at + 1]
        del arguments[at:at + 2]
    profile = json.load(open(arguments[0]))
    # Its security answers as the tables say while nothing is written to unseal or seal it.
    profile.pop("security", None)
    for change in arguments[1:]:
        block, text = change.split("=", 1)
        profile.setdefault("blocks", {})["0x%02X" % int(block, 16)] = {"text": text}
    for table, name in TABLES.items():
        for key, value in profile.get(table, {}).items():
            if isinstance(value, list) or (isinstance(value, int) and value < 0):
                sys.exit("%s %s: sequences and error codes cannot be emulated" % (table, key))
            if name in ("word", "ma"):
                number = value if isinstance(value, int) else int(value, 16)
                print("%s %s %04X" % (name, key[2:], number))
            else:
                print("%s %s %s" % (name, key[2:], " ".join("%02X" % b for b in block_bytes(value))))
    if profile_out:
        json.dump(profile, open(profile_out, "w"), indent=1)


main(sys.argv[1:])
