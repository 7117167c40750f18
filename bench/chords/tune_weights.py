#!/usr/bin/env python3
"""Searches the weights of the chord recogniser, one weight at a time.

Starts from the weights in force (chord_accuracy --weights) and tries each
weight a little lower and higher (costs by steps, the others by factors),
keeping a change when it raises the score; stops after a round without one.
The score counts only the tuning part of each folder (never the held-out
part): the mean accuracy of REAL and MMA, plus TYPES times the share of beats
of the MMA tuning songs whose root and exact chord type are right (from the
charts mma_songs.py wrote beside them), less a penalty above 1.05 (REAL) and
1.08 (MMA) chord events per change. Prints every kept change and, at the end,
the weights as NAME=VALUE lines to put into ChordBeats.h.

    tune_weights.py CHORD_ACCURACY REAL MMA [--types 0.2] [--rounds 3] [NAME=VALUE ...]
"""
import argparse
import glob
import os
import re
import subprocess
import sys

NOTES = {"C": 0, "Db": 1, "D": 2, "Eb": 3, "E": 4, "F": 5, "Gb": 6, "G": 7, "Ab": 8, "A": 9, "Bb": 10, "B": 11}
# MMA's chord qualities as chord types.
TYPES = {"": 0, "m": 8, "7": 19, "m7": 10, "maj7": 2, "6": 1, "m6": 9, "dim": 17, "m7b5": 11, "sus4": 32,
         "7sus4": 20, "aug": 7, "dim7": 18}
TICKS_PER_BEAT = 192
SCORE = re.compile(r"accuracy ([0-9.]+) \((\d+) of (\d+) beats\)  events per change ([0-9.]+)")


def held_out(name):
    """The held-out part of chord_accuracy: three songs in ten, by an FNV-1a hash of the name."""
    value = 2166136261
    for byte in name.encode():
        value = ((value ^ byte) * 16777619) & 0xFFFFFFFF
    return value % 10 < 3


def chart_chords(folder):
    """(root, type) of every beat of every chart, by song name."""
    songs = {}
    for chart in glob.glob(os.path.join(folder, "charts", "*.mma")):
        lines = open(chart).read().split("\n")
        groove = next(line.split()[1] for line in lines if line.startswith("Groove"))
        beats = 3 if "altz" in groove else 4
        chords = []
        for line in lines:
            fields = line.split()
            if not fields or not fields[0].isdigit():
                continue
            cells = fields[1:] * beats if len(fields) == 2 else fields[1:]
            chord = None
            for cell in cells:
                chord = chord if cell == "/" else cell
                match = re.match(r"([A-G]b?)(.*)$", chord)
                chords.append((NOTES[match.group(1)], TYPES[match.group(2)]))
        songs[os.path.basename(chart)[:-4]] = chords
    return songs


def measure(program, folders, charts, weights):
    """Accuracy and events per change of the tuning parts, and the type share of the MMA tuning songs."""
    settings = ["%s=%g" % item for item in weights.items()]
    out = subprocess.run([program, "--show", "all"] + settings + folders, capture_output=True, text=True).stdout
    parts = [(float(a), float(e)) for a, _, _, e in SCORE.findall(out)]
    right = total = 0
    for line in out.split("\n"):
        fields = line.split()
        if len(fields) < 8 or fields[0] not in charts or held_out(fields[0]):
            continue
        root, kind = charts[fields[0]][int(fields[1]) // TICKS_PER_BEAT]
        total += 1
        right += int(fields[5].split("/")[0]) == root and int(fields[7]) == kind
    return parts[0], parts[2], right / total if total else 0.0


def score(result, types):
    (real, real_events), (mma, mma_events), kinds = result
    return 0.5 * real + 0.5 * mma + types * kinds - 2 * max(0, real_events - 1.05) - 2 * max(0, mma_events - 1.08)


def candidates(name, value):
    if name.startswith("Cost"):
        return [value - 0.06, value - 0.03, value + 0.03, value + 0.06]
    return [value * 0.7, value * 0.85, value * 1.15, value * 1.3] if value else [0.02, -0.02]


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("program")
    parser.add_argument("real")
    parser.add_argument("mma")
    parser.add_argument("--types", type=float, default=0.2)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("start", nargs="*", help="NAME=VALUE to start from instead of the weights in force")
    args = parser.parse_args()
    listed = subprocess.run([args.program, "--weights"], capture_output=True, text=True, check=True).stdout
    weights = {k: float(v) for k, v in (line.split("=") for line in listed.split())}
    weights.update({k: float(v) for k, v in (item.split("=") for item in args.start)})
    folders, charts = [args.real, args.mma], chart_chords(args.mma)
    best = measure(args.program, folders, charts, weights)
    best_score = score(best, args.types)
    print("start", round(best_score, 4), best, flush=True)
    for round_number in range(args.rounds):
        changed = False
        for name in sorted(weights):
            for value in candidates(name, weights[name]):
                trial = dict(weights, **{name: round(value, 4)})
                result = measure(args.program, folders, charts, trial)
                if score(result, args.types) > best_score + 1e-4:
                    weights, best, best_score, changed = trial, result, score(result, args.types), True
                    print("round", round_number, name, trial[name], round(best_score, 4), best, flush=True)
        if not changed:
            break
    print("\n".join("%s=%g" % item for item in sorted(weights.items())))
    return 0


if __name__ == "__main__":
    sys.exit(main())
