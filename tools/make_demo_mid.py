#!/usr/bin/env python3
"""Writes examples/demo.mid and examples/tour.mid: short pieces for listening to the synthesizer
(standard library only).

About 25 seconds at 100 BPM, format 1 with a tempo track and three parts: sustained chords, a melody, and a
legato line whose notes overlap (each starts before the previous one ends) so that glide has something to
connect. A mod-wheel swell rides on the legato line. The last bar slows down.

examples/tour.mid is a tour of the factory bank: ten two-bar sections, each choosing its program with a
program change (the renderer turns it into the host's program selection), some riding the mod wheel.

Usage: python3 tools/make_demo_mid.py [OUTPUT [TOUR_OUTPUT]]   (default: examples/ beside this repository)
"""
import os
import struct
import sys

TPQ = 480  # ticks per quarter note
BAR = 4 * TPQ


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def track(events):
    """events: (tick, order, bytes); order breaks ties so note-offs come before note-ons at the same tick."""
    body = bytearray()
    now = 0
    for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
        body += vlq(tick - now) + data
        now = tick
    body += vlq(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def name(text):
    return (0, -1, b"\xff\x03" + vlq(len(text)) + text.encode("ascii"))


def note(channel, key, velocity, start, length):
    return [(start, 1, bytes([0x90 | channel, key, velocity])), (start + length, 0, bytes([0x80 | channel, key, 0]))]


def tempo(tick, bpm):
    micros = round(60_000_000 / bpm)
    return (tick, -1, b"\xff\x51\x03" + micros.to_bytes(3, "big"))


def tempo_track():
    events = [name("Quenvale demo"), (0, -1, b"\xff\x58\x04\x04\x02\x18\x08"), tempo(0, 100)]
    # The last bar slows down in three steps.
    events += [tempo(9 * BAR, 92), tempo(9 * BAR + TPQ, 84), tempo(9 * BAR + 2 * TPQ, 76)]
    return track(events)


# A minor: Am F C G | Am F G E | F G Am Am (bars 9 and 10 share the closing chord).
CHORDS = [
    (57, 60, 64), (53, 57, 60), (55, 60, 64), (55, 59, 62),
    (57, 60, 64), (53, 57, 60), (55, 59, 62), (52, 56, 59),
    (53, 57, 60), (57, 60, 64),
]


def chord_track():
    events = [name("Chords")]
    for bar, chord in enumerate(CHORDS):
        length = BAR - 30 if bar < len(CHORDS) - 1 else 2 * BAR
        for key in chord:
            events += note(0, key, 70, bar * BAR, length)
    return track(events)


# (key, length in eighths), one line per bar; 0 is a rest.
MELODY = [
    [(76, 2), (74, 1), (72, 1), (71, 2), (72, 2)],
    [(69, 3), (72, 1), (77, 4)],
    [(79, 2), (77, 1), (76, 1), (74, 2), (76, 2)],
    [(74, 4), (71, 2), (74, 2)],
    [(76, 1), (77, 1), (79, 2), (81, 2), (79, 2)],
    [(77, 2), (76, 1), (74, 1), (72, 4)],
    [(71, 2), (72, 1), (74, 1), (76, 2), (74, 2)],
    [(71, 6), (0, 2)],
    [(72, 2), (74, 2), (76, 2), (79, 2)],
    [(81, 8)],
]


def melody_track():
    events = [name("Melody")]
    for bar, line in enumerate(MELODY):
        tick = bar * BAR
        for key, eighths in line:
            length = eighths * TPQ // 2
            if key:
                events += note(1, key, 96, tick, length - 20)
            tick += length
    return track(events)


# Legato line in bars 3 to 8: each note lasts a sixteenth longer than its step, so notes overlap.
LEGATO = [45, 52, 57, 60, 59, 55, 53, 57, 60, 65, 64, 60, 55, 59, 62, 67, 64, 57, 52, 56, 59, 64, 62, 59]


def legato_track():
    events = [name("Legato")]
    start = 2 * BAR
    step = TPQ  # one note a quarter
    overlap = TPQ // 4
    for i, key in enumerate(LEGATO):
        tick = start + i * step
        events += note(2, key, 84, tick, step + overlap)
    # Mod wheel swell across the line, then back to zero.
    end = start + len(LEGATO) * step
    for i in range(0, 25):
        value = round(127 * (1 - abs(i - 12) / 12))
        events.append((start + i * (end - start) // 24, 0, bytes([0xB2, 1, value])))
    return track(events)


# The tour: (factory program number, its name, notes as (key, start in eighths, length in eighths, velocity),
# mod wheel ramp to this value over the section or None). Each section is two bars; a quarter of rest at
# its end lets the sound ring before the next program change silences it.
def arpeggio(keys, velocity=90, step=1, length=2):
    return [(k, i * step, length, velocity) for i, k in enumerate(keys)]


def held(keys, start, length, velocity=80):
    return [(k, start, length, velocity) for k in keys]


TOUR = [
    (1, "Tine Piano", held([57, 60, 64, 67], 0, 7, 70) + held([53, 57, 60, 64], 8, 6, 100), None),
    (23, "Marimba", arpeggio([57, 60, 64, 69, 72, 69, 64, 60, 53, 57, 60, 65, 69, 65, 60], 100), None),
    (30, "String Section", held([45, 57, 60, 64], 0, 7) + held([41, 53, 57, 60], 8, 6), 127),
    (35, "Aah Choir", held([57, 60, 64], 0, 7, 90) + held([55, 59, 62], 8, 6, 90), None),
    (19, "Acid Steps", [(33, 0, 6, 110), (36, 6, 2, 110), (31, 8, 6, 110)], 100),
    (43, "Steel String", arpeggio([45, 52, 57, 60, 64, 60, 57, 52, 41, 48, 53, 57, 60, 57], 95), None),
    (21, "Glass Bell", [(76, 0, 2, 100), (79, 2, 2, 90), (81, 4, 4, 110), (84, 8, 2, 90), (81, 10, 4, 100)], None),
    (37, "Vowel Morph", held([57, 64, 69], 0, 14, 90), None),
    (31, "Brass Section", held([57, 60, 64], 0, 1, 120) + held([57, 60, 64], 2, 1, 100) +
     held([55, 59, 62], 4, 3, 120) + held([53, 57, 60], 8, 6, 127), 90),
    (6, "Evolving Pad", held([45, 57, 60, 64, 71], 0, 14, 90), None),
]
SECTION = 2 * BAR
EIGHTH = TPQ // 2


def tour_track():
    events = [name("Factory tour")]
    for section, (program, _, notes, wheel) in enumerate(TOUR):
        start = section * SECTION
        events.append((start, -1, bytes([0xC0, program])))
        events.append((start, -1, bytes([0xB0, 1, 0])))
        for key, at, length, velocity in notes:
            events += note(0, key, velocity, start + at * EIGHTH, length * EIGHTH - 20)
        if wheel is not None:
            for i in range(1, 9):
                events.append((start + i * SECTION // 10, 0, bytes([0xB0, 1, wheel * i // 8])))
    return track(events)


def write(path, tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), TPQ)
    with open(path, "wb") as f:
        f.write(header + b"".join(tracks))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    examples = os.path.join(here, "..", "examples")
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(examples, "demo.mid")
    tour_output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(examples, "tour.mid")
    write(output, [tempo_track(), chord_track(), melody_track(), legato_track()])
    tour_tempo = track([name("Quenvale factory tour"), (0, -1, b"\xff\x58\x04\x04\x02\x18\x08"), tempo(0, 100)])
    write(tour_output, [tour_tempo, tour_track()])


if __name__ == "__main__":
    main()
