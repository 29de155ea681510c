#!/usr/bin/env python3
"""Writes the seed inputs of fuzz_calcola into fuzz/corpus/calcola.

Layout (little-endian), as fuzz_calcola.cpp reads it: VALa, VALb, VALe as
doubles; Miocolor as a 16-bit integer; a flag byte (bits 0-1 and 2-3: the two
check boxes, 0 Empty, 1 clear, 2 ticked; bit 4 the chord command; bits 5-7:
VALa, VALb, VALe hold ""); the scroll position (0-30; 31 and above take the
factor from the next two bytes); the area's height in pixels less one (0-3999).
"""
import math
import pathlib
import struct

EMPTY, CLEAR, TICKED = 0, 1, 2
CHORDS = 0x10
REJECTED_A, REJECTED_B, REJECTED_E = 0x20, 0x40, 0x80


def seed(a=86.0, b=55.0, e=1.0, miocolor=0, boxes=(EMPTY, EMPTY), flags=0,
         scroll=2, fraction=0, height=550):
    flag_byte = boxes[0] | (boxes[1] << 2) | flags
    return struct.pack("<dddhBBHH", a, b, e, miocolor, flag_byte, scroll, fraction, height - 1)


SEEDS = {
    "worked_example": seed(),
    "worked_example_chords": seed(flags=CHORDS),
    "both_cosines_factor_1_11": seed(boxes=(TICKED, TICKED), scroll=30, height=4000),
    "vala_1000_one_pixel": seed(a=1000.0, boxes=(CLEAR, EMPTY), height=1),
    "vale_364": seed(e=364.0, flags=CHORDS),
    "vale_400": seed(e=400.0),
    "miocolor_32767": seed(miocolor=32767),
    "miocolor_14_nothing_drawn": seed(a=1.0e6, miocolor=14),
    "rejected_entries": seed(flags=REJECTED_A | REJECTED_E),
    "vala_nan_vale_subnormal": seed(a=math.nan, e=5.0e-324),
    "valb_infinite_any_factor": seed(b=math.inf, scroll=255, fraction=40000),
    "negative_zero_huge": seed(a=-1.0e308, b=-0.0, e=-1.0e-300, boxes=(TICKED, CLEAR)),
}

folder = pathlib.Path(__file__).resolve().parent / "corpus" / "calcola"
folder.mkdir(parents=True, exist_ok=True)
for name, data in SEEDS.items():
    (folder / name).write_bytes(data)
