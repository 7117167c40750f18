#!/usr/bin/env python3
"""Chord sheets of songs with words, measured.

MMA renders songs with words in six languages (karaoke text events with
Lyric Karmode=On, or lyric events ending lines with CR), four bars of 4/4 or
3/4 a line; the tool's set-chords gives each song keyboard chord events at
known ticks (on the beats of the chart, some on off-beats); instrumental
songs get no words. Then for every song:

  - the sheet (tonalux-cli sheet) has every chord event, in order, named;
  - each chord stands at the syllable sounding when it begins (the last
    syllable that began at or before it, or inside that syllable);
  - its lyric lines are the song's lines;
  - chordii renders it (exit status 0, no error; its warnings are counted
    by kind).

Without mma or chordii the part that needs it is reported and passed over.

    sheet_bench.py TOOL OUT
"""
import collections
import os
import re
import shutil
import struct
import subprocess
import sys

TICKS_PER_BEAT = 192  # MMA's division

# Lines of words per language; syllables split by "-", words by blanks.
WORDS = {
    "en": ["Hel-lo my friend to-night", "all the stars are shi-ning bright", "come and sing a song with me",
           "un-der-neath the ap-ple tree", "when the mor-ning comes a-gain", "we will walk a-long the lane"],
    "de": ["Der Mond ist auf-ge-gan-gen", "die gold-nen Stern-lein pran-gen", "am Him-mel hell und klar",
           "der Wald steht schwarz und schwei-get", "und aus den Wie-sen stei-get", "der wei-ße Ne-bel wun-der-bar"],
    "fr": ["Au clair de la lu-ne", "mon a-mi Pier-rot", "prê-te-moi ta plu-me", "pour é-crire un mot",
           "ma chan-delle est mor-te", "je n'ai plus de feu"],
    "es": ["La ma-ña-na sa-le el sol", "can-ta el ga-llo su can-ción", "el ni-ño cor-re por el cam-po",
           "y la ma-dre lo lla-ma", "co-ra-zón de me-lo-dí-a", "can-ta-re-mos to-do el dí-a"],
    "cs": ["Ach sy-nku sy-nku", "doma-li ta-ti-nek", "ži-ju-li ješ-tě", "naš-te ma-mič-ka",
           "pí-seň zní přes le-sy", "a po-to-ky ši-ro-ké"],
    "ru": ["Ка-тю-ша вы-хо-ди-ла", "на вы-со-кий бе-рег кру-той", "рас-цве-та-ли яб-ло-ни и гру-ши",
           "по-плы-ли ту-ма-ны над ре-кой", "вы-хо-ди-ла пес-ню за-во-ди-ла", "про сте-по-го си-зо-го ор-ла"],
}

# Chords of the charts: (MMA name, set-chords name, ChordPro name).
CHORDS = [("C", "C", "C"), ("Am", "Am", "Am"), ("F", "F", "F"), ("G7", "G7", "G7"), ("Dm7", "Dm7", "Dm7"),
          ("Em", "Em", "Em"), ("Cmaj7", "CMaj7", "Cmaj7"), ("Bb", "Bb", "Bb"), ("D7", "D7", "D7"),
          ("Gsus4", "Gsus4", "Gsus4"), ("Bm7b5", "Bm7b5", "Bm7b5"), ("Cdim7", "Cd7", "Cdim7"), ("Caug", "Caug", "Caug"),
          ("C6", "C6", "C6"), ("Cadd9", "CMaj(9)", "Cadd9"), ("G7sus4", "G7sus4", "G7sus4")]

# The charset each language's words are written in (MMA_ENCODING).
CHARSETS = {"en": "cp1252", "de": "cp1252", "fr": "utf-8", "es": "cp1252", "cs": "cp1250", "ru": "cp1251"}

GROOVES = {4: ["Folk", "8Beat", "Ballad", "SoftRock"], 3: ["Waltz", "CountryWaltz"]}


def syllables_of(line):
    return [s for word in line.split() for s in word.split("-")]


def song(index, language, karaoke, beats):
    """The MMA text and the chord list of one song: (tick, set-chords name, ChordPro name)."""
    groove = GROOVES[beats][index % len(GROOVES[beats])]
    lines = WORDS[language]
    mma = ["Tempo %d" % (88 + index * 5 % 50), "Groove " + groove, "RndSeed %d" % (index + 1)]
    if karaoke:
        mma.append("Lyric Karmode=On")
    chords = []
    bar = 0
    for number, line in enumerate(lines):
        # Two bars a line: the words in the first, held into the second.
        words = line if karaoke else line
        if karaoke:
            mark = "\\" if number % 4 == 0 else "/"
            text = mark + words
        else:
            text = words.replace("-", "- ") + "\\r" if False else words
        for half in range(2):
            first = CHORDS[(index + number * 2 + half) % len(CHORDS)]
            second = CHORDS[(index + number * 2 + half + 5) % len(CHORDS)]
            tick = bar * beats * TICKS_PER_BEAT
            chords.append((tick, first[1], first[2]))
            cells = [first[0]] + ["/"] * (beats - 1)
            if (index + number + half) % 3 == 0 and beats == 4:
                # A second chord on beat 3, or just before it (an off-beat).
                offbeat = (index + number) % 2 == 0
                at = tick + 2 * TICKS_PER_BEAT - (TICKS_PER_BEAT // 2 if offbeat else 0)
                chords.append((at, second[1], second[2]))
                cells[2] = second[0]
            lyric = ""
            if half == 0:
                lyric = " [%s]" % (text if karaoke else lyric_events_text(words))
            mma.append("%d %s%s" % (bar + 1, " ".join(cells), lyric))
            bar += 1
    return "\n".join(mma) + "\n", chords


def lyric_events_text(words):
    # Lyric events: one per syllable, a hyphen keeps a word's syllables
    # together, and the line ends with a CR.
    return " ".join(w.replace("-", "- ") for w in words.split()) + "\\r"


def instrumental(index, beats):
    groove = GROOVES[beats][index % len(GROOVES[beats])]
    mma = ["Tempo 110", "Groove " + groove, "RndSeed %d" % (index + 7)]
    chords = []
    for bar in range(10):
        name = CHORDS[(index + bar) % len(CHORDS)]
        chords.append((bar * beats * TICKS_PER_BEAT, name[1], name[2]))
        mma.append("%d %s" % (bar + 1, " ".join([name[0]] + ["/"] * (beats - 1))))
    return "\n".join(mma) + "\n", chords


def read_words(path, charset):
    """(tick, text) of the song's syllables: text events (not "@" headers) or lyric events."""
    data = open(path, "rb").read()
    pos = 14
    found = {1: [], 5: []}
    while pos + 8 <= len(data):
        kind, length = data[pos:pos + 4], struct.unpack(">I", data[pos + 4:pos + 8])[0]
        body, pos = data[pos + 8:pos + 8 + length], pos + 8 + length
        if kind != b"MTrk":
            continue
        i, tick, status = 0, 0, 0
        while i < len(body):
            delta = 0
            while True:
                b = body[i]; i += 1
                delta = delta << 7 | (b & 0x7F)
                if b < 0x80:
                    break
            tick += delta
            b = body[i]
            if b == 0xFF:
                kind_, i = body[i + 1], i + 2
                n = 0
                while True:
                    c = body[i]; i += 1
                    n = n << 7 | (c & 0x7F)
                    if c < 0x80:
                        break
                if kind_ in found:
                    found[kind_].append((tick, body[i:i + n].decode(charset, "replace")))
                i += n
            elif b in (0xF0, 0xF7):
                i += 1
                n = 0
                while True:
                    c = body[i]; i += 1
                    n = n << 7 | (c & 0x7F)
                    if c < 0x80:
                        break
                i += n
            else:
                if b & 0x80:
                    status, i = b, i + 1
                i += 1 if (status & 0xF0) in (0xC0, 0xD0) else 2
    # MMA's own texts ("DURATION: 32", "Created by MMA...") are no words.
    texts = [(t, s) for t, s in found[1] if not s.startswith(("@", "DURATION:", "Created by MMA"))]
    words = found[5] if found[5] else texts
    # Marks alone ("\r", "/") are no sung syllables.
    return sorted([w for w in words if stripped(w[1])], key=lambda w: w[0])


MMA_DURATION = r"DURATION: \d+"


def stripped(text):
    return re.sub(r"[\s\\/\r\n-]", "", text)


def check_placement(sheet, words, chords):
    """Counts of chords at their syllable, and the sheet's chord names in order."""
    body = sheet.split("\n\n", 1)[1] if "\n\n" in sheet else ""
    # MMA's text event "DURATION: n" among the words is counted apart (see main).
    body = re.sub(MMA_DURATION, "", body)
    names, positions, text = [], [], ""
    for part in re.split(r"(\[[^\]]*\])", body):
        if part.startswith("["):
            names.append(part[1:-1])
            positions.append(len(text))
        else:
            text += stripped(part)
    starts, at = [], 0
    for _, syllable in words:
        starts.append(at)
        at += len(stripped(syllable))
    right = 0
    for (tick, _, _), position in zip(chords, positions):
        k = max([i for i, (t, _) in enumerate(words) if t <= tick] or [0])
        end = starts[k + 1] if k + 1 < len(starts) else at
        if starts[k] <= position < max(end, starts[k] + 1):
            right += 1
    return right, names


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    tool, out = os.path.abspath(sys.argv[1]), sys.argv[2]
    if not shutil.which("mma"):
        print("sheet bench: mma is not installed; passed over")
        return 0
    songs_dir = os.path.join(out, "songs")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(songs_dir)
    cases = []
    index = 0
    for language in WORDS:
        for karaoke in (True, False):
            for beats in (4, 3):
                cases.append(("%02d-%s-%s-%d" % (index, language, "kar" if karaoke else "lyr", beats),
                              song(index, language, karaoke, beats), language))
                index += 1
    for n in range(6):
        cases.append(("%02d-instrumental-%d" % (index, 4 if n % 2 else 3), instrumental(n, 4 if n % 2 else 3), None))
        index += 1

    totals = collections.Counter()
    warnings = collections.Counter()
    chordii = shutil.which("chordii")
    for name, (text, chords), language in cases:
        base = os.path.join(songs_dir, name)
        charset = CHARSETS.get(language, "cp1252")
        open(base + ".mma", "w", encoding=charset).write(text)
        made = subprocess.run(["mma", "-f", base + ".rendered.mid", base + ".mma"], capture_output=True, text=True,
                              env=dict(os.environ, MMA_ENCODING=charset))
        if made.returncode != 0:
            print("%s: mma failed: %s" % (name, (made.stdout + made.stderr).strip().splitlines()[-1:]))
            totals["mma failed"] += 1
            continue
        listing = "".join("%d %s\n" % (tick, chord) for tick, chord, _ in sorted(chords))
        subprocess.run([tool, "-q", "set-chords", base + ".rendered.mid", "-", base + ".mid"], input=listing,
                       text=True, check=True)
        sheet = subprocess.run([tool, "sheet", base + ".mid"], capture_output=True, text=True)
        open(base + ".cho", "w", encoding="utf-8").write(sheet.stdout)
        chords = sorted(chords)
        totals["songs"] += 1
        totals["chord events"] += len(chords)
        if language:
            words = read_words(base + ".mid", charset)
            right, names = check_placement(sheet.stdout, words, chords)
            totals["chords of songs with words"] += len(chords)
            totals["chords at their syllable"] += right
            expected_lines = [" ".join(l.replace("-", "").split()) for l in WORDS[language]]
            body = sheet.stdout.split("\n\n", 1)[1] if "\n\n" in sheet.stdout else ""
            sheet_lines = [" ".join(re.sub(r"\[[^\]]*\]", "", l).split()) for l in body.split("\n")]
            sheet_lines = [l for l in sheet_lines if l]
            if any(re.search(MMA_DURATION, l) for l in sheet_lines):
                totals["sheets showing MMA's DURATION text as words"] += 1
            totals["songs whose lines are the song's lines"] += sheet_lines == expected_lines
            if sheet_lines != expected_lines and os.environ.get("SHEET_BENCH_VERBOSE"):
                print("%s: lines differ: %r" % (name, sheet_lines[:2]))
        else:
            names = re.findall(r"[^\s|.~]+", "\n".join(l for l in sheet.stdout.splitlines()
                                                      if l.startswith("|")))
            names = [n for part in names for n in part.split("~")]
        totals["songs with every chord in the sheet"] += names == [c[2] for c in chords]
        if chordii:
            rendered = subprocess.run(["chordii", "-o", base + ".ps", base + ".cho"], capture_output=True, text=True)
            failed = rendered.returncode != 0 or "ERROR" in rendered.stderr.upper().replace("ERROR:", "ERROR")
            failed = rendered.returncode != 0 or re.search(r"\berror\b", rendered.stderr, re.I) is not None
            totals["sheets chordii rendered"] += not failed
            for kind in re.findall(r"WARNING: (.*?)(?: :|\n)", rendered.stderr):
                warnings[kind.strip()] += 1
            for directive in re.findall(r"Invalid Directive : \[(\w+)\]", rendered.stderr):
                warnings["directive {%s:} not known to chordii" % directive] += 1

    print("sheet bench: %d songs (%d with words in %d languages, %d instrumental), %d chord events"
          % (totals["songs"], totals["songs"] - 6, len(WORDS), 6, totals["chord events"]))
    with_words = totals["chords of songs with words"]
    if with_words:
        print("  chords at the syllable sounding when they begin: %d of %d (%.1f %%)"
              % (totals["chords at their syllable"], with_words, 100.0 * totals["chords at their syllable"] / with_words))
    print("  sheets with every chord event, in order: %d of %d" % (totals["songs with every chord in the sheet"],
                                                                     totals["songs"]))
    print("  sheets whose lyric lines are the song's lines: %d of %d" % (totals["songs whose lines are the song's lines"],
                                                                       totals["songs"] - 6))
    if totals["sheets showing MMA's DURATION text as words"]:
        print("  sheets whose words show MMA's text event \"DURATION: n\" as a syllable: %d (the placement"
              " above leaves it out)" % totals["sheets showing MMA's DURATION text as words"])
    if chordii:
        print("  sheets chordii rendered without an error: %d of %d" % (totals["sheets chordii rendered"], totals["songs"]))
        for kind, count in sorted(warnings.items()):
            if kind.startswith("directive"):
                print("    chordii warning, %s: %d sheets" % (kind, count))
    else:
        print("  chordii is not installed; the sheets were not rendered")
    return 0


if __name__ == "__main__":
    sys.exit(main())
