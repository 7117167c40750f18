#!/usr/bin/env python3
"""Songs with known chords, rendered by MMA from chord charts.

Writes OUT/songs/NAME.mid and OUT/truth/NAME.txt (the true chord of every
beat, in the format of the shared chord songs: "TICK ROOT CLASS QUALITY").
Each song carries the key signature of its key. Each chart
is a progression of scale degrees, played in a key over a groove: 4/4 and
waltz grooves, one or two chords in a bar, sevenths, major and minor keys.
Without the mma program nothing is written and the exit status is 0. Each
groove plays half of the progressions; with --other-half it plays the other
half instead, songs the recogniser was never tuned on. With --fitting every groove
plays progressions of their own, songs for fitting the recogniser on.

    mma_songs.py [--other-half | --fitting] OUT
"""
import os
import shutil
import subprocess
import sys

TICKS_PER_BEAT = 192  # MMA's division

NOTE_NAMES = ["C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"]

# The key signatures MMA is given, by tonic: names whose signature has at most
# six sharps or flats.
MAJOR_KEYS = ["C", "Db", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"]
MINOR_KEYS = ["C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B"]

# Chord qualities: MMA's spelling, the class the scoring counts and the
# quality of the sevenths score.
QUALITIES = {
    "": ("", "maj", "maj"), "m": ("m", "min", "min"), "7": ("7", "maj", "7"), "m7": ("m7", "min", "min7"),
    "maj7": ("maj7", "maj", "maj7"), "6": ("6", "maj", "x"), "m6": ("m6", "min", "x"),
    "dim": ("dim", "other", "x"), "m7b5": ("m7b5", "other", "x"), "sus4": ("sus4", "other", "x"),
    "7sus4": ("7sus4", "other", "x"), "aug": ("aug", "other", "x"), "dim7": ("dim7", "other", "x"),
}

# Progressions: bars of chords; a chord is (semitones above the tonic, quality);
# a bar of two chords splits its beats (2+2 in 4/4, 2+1 in 3/4).
MAJOR = [
    [[(0, "")], [(9, "m")], [(5, "")], [(7, "7")]],
    [[(0, "maj7")], [(2, "m7")], [(7, "7")], [(0, "maj7")]],
    [[(0, "")], [(7, "")], [(9, "m")], [(5, "")]],
    [[(2, "m7"), (7, "7")], [(0, "maj7")], [(4, "m7"), (9, "7")], [(2, "m7"), (7, "7")]],
    [[(0, "")], [(0, "7")], [(5, "")], [(5, "m6")], [(0, "")], [(7, "sus4"), (7, "7")], [(0, "")], [(0, "")]],
    [[(0, "6")], [(9, "m7")], [(2, "m7")], [(7, "7")], [(4, "m")], [(5, "maj7")], [(2, "7")], [(7, "7sus4")]],
    [[(0, "")], [(4, "7")], [(9, "m")], [(2, "7")], [(5, ""), (7, "")], [(0, "")]],
    [[(5, "")], [(0, "")], [(7, "")], [(0, ""), (9, "m")], [(2, "m"), (7, "7")], [(0, "")]],
]
MINOR = [
    [[(0, "m")], [(8, "")], [(3, "")], [(10, "")]],
    [[(0, "m7")], [(5, "m7")], [(2, "m7b5"), (7, "7")], [(0, "m")]],
    [[(0, "m")], [(10, "")], [(8, "")], [(7, "7")]],
    [[(0, "m")], [(5, "m")], [(0, "m")], [(7, "7")], [(8, "maj7")], [(2, "dim"), (7, "7")], [(0, "m")], [(0, "m")]],
    [[(0, "m6")], [(3, "maj7")], [(5, "m7"), (10, "7")], [(3, "")], [(8, "")], [(7, "aug"), (7, "7")]],
]

# Progressions for fitting only (--fitting): the checking songs above are
# never fitted on, so the fit gets charts of its own, each on every groove.
MAJOR_FIT = [
    [[(0, "")], [(5, "")], [(0, "")], [(7, "")]],
    [[(0, "maj7")], [(9, "m7")], [(2, "m7")], [(7, "7")]],
    [[(0, ""), (4, "m")], [(5, ""), (7, "7")], [(9, "m"), (2, "m7")], [(7, "7sus4"), (7, "7")]],
    [[(5, "maj7")], [(4, "m7")], [(2, "m7")], [(0, "maj7")]],
    [[(0, "")], [(2, "7")], [(5, "")], [(0, "")], [(9, "7")], [(2, "m")], [(7, "7")], [(0, "6")]],
    [[(0, "")], [(10, "")], [(5, "")], [(0, "")]],
    [[(0, "7")], [(5, "7")], [(0, "7")], [(7, "7"), (5, "7")]],
    [[(4, "m7")], [(9, "7")], [(2, "m7")], [(7, "7")], [(0, "maj7")], [(1, "dim7")], [(2, "m7")], [(7, "7")]],
]
MINOR_FIT = [
    [[(0, "m")], [(7, "")], [(0, "m")], [(5, "m"), (7, "7")]],
    [[(0, "m7")], [(10, "7")], [(3, "maj7")], [(8, "maj7")], [(2, "m7b5")], [(7, "7")], [(0, "m")], [(0, "m")]],
    [[(0, "m")], [(3, "")], [(10, "")], [(5, "m")]],
    [[(0, "m"), (10, "")], [(8, ""), (7, "7")], [(0, "m"), (5, "m7")], [(7, "sus4"), (7, "7")]],
    [[(0, "m")], [(0, "m7")], [(5, "7")], [(5, "m6")], [(0, "m")], [(7, "7")]],
]

GROOVES_44 = ["50sRock", "8Beat", "Ballad", "BossaNova", "Folk", "PianoBallad", "SoftRock", "Swing",
              "CountrySwing", "PopBallad", "Rhumba", "Jazzcombo"]
GROOVES_34 = ["Waltz", "JazzWaltz", "CountryWaltz", "FrenchWaltz", "RockWaltz", "ArpeggioWaltz"]


def mma_name(root, quality):
    return NOTE_NAMES[root % 12] + QUALITIES[quality][0]


def split_beats(count, beats):
    if count == 1:
        return [beats]
    first = (beats + 1) // 2
    return [first, beats - first]


def chart(index, groove, beats, tonic, minor, progression):
    """The MMA text and the truth lines of one song."""
    # A seed of its own for MMA's random choices (walking bass, timing), so
    # that every run renders the same song.
    lines = ["// chart %d" % index, "RndSeed %d" % (index + 1), "Tempo %d" % (90 + (index * 7) % 60),
             "Groove " + groove,
             "KeySig %s %s" % ((MINOR_KEYS if minor else MAJOR_KEYS)[tonic], "minor" if minor else "major")]
    truth = ["# ticks per beat %d" % TICKS_PER_BEAT]
    beat = 0
    bar_number = 1
    for repeat in range(2):
        for bar in progression:
            cells = []
            for (step, quality), length in zip(bar, split_beats(len(bar), beats)):
                root = (tonic + step) % 12
                cells.append(mma_name(root, quality))
                cells.extend(["/"] * (length - 1))
                for _ in range(length):
                    truth.append("%d %d %s %s" % (beat * TICKS_PER_BEAT, root, QUALITIES[quality][1],
                                                  QUALITIES[quality][2]))
                    beat += 1
            lines.append("%d %s" % (bar_number, " ".join(cells)))
            bar_number += 1
    lines.append("%d %s" % (bar_number, mma_name(tonic, "m" if minor else "")))
    for _ in range(beats):
        truth.append("%d %d %s %s" % (beat * TICKS_PER_BEAT, tonic, "min" if minor else "maj", "min" if minor else "maj"))
        beat += 1
    return "\n".join(lines) + "\n", "\n".join(truth) + "\n"


def main():
    args = sys.argv[1:]
    other_half = "--other-half" in args
    fitting = "--fitting" in args
    args = [a for a in args if a not in ("--other-half", "--fitting")]
    if len(args) != 1:
        sys.stderr.write(__doc__)
        return 2
    out = args[0]
    mma = shutil.which("mma")
    if not mma:
        print("MMA songs: the mma program is not installed, no songs made")
        return 0
    os.makedirs(os.path.join(out, "songs"), exist_ok=True)
    os.makedirs(os.path.join(out, "truth"), exist_ok=True)
    os.makedirs(os.path.join(out, "charts"), exist_ok=True)
    index = 0
    made = 0
    grooves = [(g, 4) for g in GROOVES_44] + [(g, 3) for g in GROOVES_34]
    for groove_number, (groove, beats) in enumerate(grooves):
        for minor, progressions in ((False, MAJOR_FIT if fitting else MAJOR), (True, MINOR_FIT if fitting else MINOR)):
            for number, progression in enumerate(progressions):
                # Half of the progressions on each groove; every one when fitting.
                if not fitting and (number + groove_number + other_half) % 2:
                    continue
                tonic = (index * (7 if fitting else 5) + fitting) % 12
                name = "mma-%s-%s%d" % (groove.lower(), "minor" if minor else "major", number)
                text, truth = chart(index, groove, beats, tonic, minor, progression)
                index += 1
                chart_path = os.path.join(out, "charts", name + ".mma")
                with open(chart_path, "w") as f:
                    f.write(text)
                song = os.path.join(out, "songs", name + ".mid")
                result = subprocess.run([mma, chart_path, "-f", song], capture_output=True, text=True)
                if result.returncode != 0 or not os.path.exists(song):
                    print("MMA songs: %s not rendered: %s" % (name, result.stdout.strip().splitlines()[-1:]))
                    continue
                with open(os.path.join(out, "truth", name + ".txt"), "w") as f:
                    f.write(truth)
                made += 1
    print("MMA songs: %d rendered into %s" % (made, out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
