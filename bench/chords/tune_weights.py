#!/usr/bin/env python3
"""Fits the weights of the chord recogniser on songs with known chords.

Starts from the weights in force (chord_accuracy --weights) and tries each
weight a little lower and higher (costs by steps, the others by factors),
keeping a change when it raises the score; after a round without one the
moves are halved, twice at most, then it stops.
The score is taken over the songs of each folder given (the 499 songs of
../shared/chords/train and the MMA songs of mma_songs.py --fitting; never
the songs kept for checking) and averaged over the folders: the share of
beats with the right root and major/minor class, plus SEVENTHS times the
share with the right root and sevenths quality, less a penalty above 1.10
chord events per true change. chord_accuracy reads the songs once and scores
each trial it is sent (--trials). Prints every kept change and, at the end,
the weights as NAME=VALUE lines for ModelWeights and ProfileWeights in
engine/src/chords/ChordBeats.h.

With --write HEADER every gain is written into that header (ChordBeats.h) and
kept only when the command of --check (the chord tests: the chords a player
names, which the songs above do not score, such as diminished and augmented
chords) then passes; otherwise the header is put back and the change dropped.

    tune_weights.py CHORD_ACCURACY FOLDER... [--sevenths 0.5] [--rounds 2] [--only NAME,...]
                    [--write HEADER --check COMMAND] [NAME=VALUE ...]
"""
import argparse
import re
import subprocess
import sys


def number(value):
    """A float as C++ source writes it: with a point, and the f suffix."""
    text = "%g" % value
    return (text if ("." in text or "e" in text) else text + ".0") + "f"


def write_weights(path, weights):
    """Writes the weights into the defaults of ProfileWeights and ModelWeights."""
    with open(path) as f:
        text = f.read()
    for name, value in weights.items():
        if name.startswith(("Cost", "Tone")):
            continue
        text, found = re.subn(r"(float %s = )[-0-9.e]+f;" % re.escape(name), lambda m: m.group(1) + number(value) + ";",
                              text, count=1)
        if not found:
            raise SystemExit("tune_weights: %s not found in %s" % (name, path))
    costs = re.search(r"std::array<float, kChordTemplates> Cost = \{([^}]*)\};", text)
    values = [float(v.strip().rstrip("f")) for v in costs.group(1).split(",")]
    for name, value in weights.items():
        if name.startswith("Cost"):
            values[int(name[4:])] = value
    cells = [number(v) for v in values]
    text = text[:costs.start()] + "std::array<float, kChordTemplates> Cost = {" + ", ".join(cells[:7]) + ",\n" + \
        " " * 47 + ", ".join(cells[7:]) + "};" + text[costs.end():]
    tones = re.search(r"(Tones = \{\{\n)(.*?)(    \}\};)", text, re.S)
    rows = [[float(v.strip().rstrip("f")) for v in row.split(",")] for row in re.findall(r"\{([^{}]*)\}", tones.group(2))]
    for name, value in weights.items():
        if name.startswith("Tone"):
            template, tone = name[4:].split(".")
            rows[int(template)][int(tone)] = value
    cells = ["{" + ", ".join(number(v) for v in row) + "}" for row in rows]
    body = "".join("        " + ", ".join(cells[i:i + 4]) + ",\n" for i in range(0, len(cells), 4))
    text = text[:tones.start()] + tones.group(1) + body + tones.group(3) + text[tones.end():]
    with open(path, "w") as f:
        f.write(text)

# The counts behind each share, so that the fit sees changes below the printed precision.
SCORE = re.compile(r"accuracy [0-9.]+ \(([0-9]+) of ([0-9]+) beats\)  events per change [0-9.]+ \(([0-9]+) / ([0-9]+)\)"
                   r"  sevenths [0-9.]+ \(([0-9]+) of ([0-9]+)\)")


class Trials:
    """chord_accuracy --trials, kept running: one weight setting in, one score line out."""

    def __init__(self, program, folders):
        self.process = subprocess.Popen([program, "--trials"] + folders, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)

    def measure(self, weights):
        self.process.stdin.write(" ".join("%s=%g" % item for item in weights.items()) + "\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        right, beats, events, changes, sevenths, seventh_beats = (int(x) for x in SCORE.search(line).groups())
        return right / max(beats, 1), events / max(changes, 1), sevenths / max(seventh_beats, 1)


def score(result, sevenths):
    accuracy, events, seventh_share = result
    # The goal allows 1.15 events per true change; the fit keeps 0.05 below it.
    return accuracy + sevenths * seventh_share - 2 * max(0.0, events - 1.10)


def candidates(name, value, step):
    """The values tried for a weight: costs by steps, the others by factors; `step` shrinks the moves."""
    if name.startswith("Cost"):
        return [value - 0.04 * step, value + 0.04 * step]
    return [value * (1 - 0.2 * step), value * (1 + 0.2 * step)] if value else [0.05 * step]


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("program")
    parser.add_argument("folders", nargs="+", help="folders of songs, and NAME=VALUE to start from")
    parser.add_argument("--sevenths", type=float, default=0.5)
    parser.add_argument("--rounds", type=int, default=2)
    parser.add_argument("--only", default="", help="the weights to fit, by name (all without)")
    parser.add_argument("--write", default="", help="the header to write each gain into")
    parser.add_argument("--check", default="", help="the command a gain must pass, with --write")
    args = parser.parse_args()
    listed = subprocess.run([args.program, "--weights"], capture_output=True, text=True, check=True).stdout
    weights = {k: float(v) for k, v in (line.split("=") for line in listed.split())}
    weights.update({k: float(v) for k, v in (item.split("=") for item in args.folders if "=" in item)})
    folders = [item for item in args.folders if "=" not in item]
    names = [n for n in sorted(weights) if not args.only or n in args.only.split(",")]
    # Each folder is scored on its own and the scores averaged, so that a
    # small folder of another kind of song counts as much as a large one.
    trials = [Trials(args.program, [folder]) for folder in folders]

    def measure(setting):
        results = [t.measure(setting) for t in trials]
        return tuple(round(sum(r[k] for r in results) / len(results), 5) for k in range(3)), \
            sum(score(r, args.sevenths) for r in results) / len(results)

    def passes(setting):
        """With --write: the setting written and checked; put back when the check fails."""
        if not args.write:
            return True
        with open(args.write) as f:
            kept = f.read()
        write_weights(args.write, setting)
        if not args.check or subprocess.run(args.check, shell=True, capture_output=True).returncode == 0:
            return True
        print("  check failed, dropped", flush=True)
        with open(args.write, "w") as f:
            f.write(kept)
        return False

    best, best_score = measure(weights)
    print("start", round(best_score, 4), best, flush=True)
    step = 1.0
    for round_number in range(args.rounds):
        changed = False
        for name in names:
            for value in candidates(name, weights[name], step):
                trial = dict(weights, **{name: round(value, 4)})
                result, trial_score = measure(trial)
                if trial_score > best_score + 1e-4 and passes(trial):
                    weights, best, best_score, changed = trial, result, trial_score, True
                    print("round", round_number, name, trial[name], round(best_score, 4), best, flush=True)
        if not changed:
            # A round without a gain: smaller moves, twice at most.
            if step < 0.3:
                break
            step /= 2
    print("\n".join("%s=%g" % item for item in sorted(weights.items())))
    return 0


if __name__ == "__main__":
    sys.exit(main())
