#!/usr/bin/env python3
"""Karaoke songs made by MMA, read and converted by tonalux-cli.

Songs: public-domain texts in German, French, Spanish, Polish, Russian and
English, each rendered by MMA twice: as Soft Karaoke text ("Lyric
Karmode=On", syllables) and as lyric events (plain "Lyric", words), with CR
ending a line and LF a page. MMA writes the Windows code page of the song's
language (cp1252, cp1250, cp1251); every song is also stored in UTF-8 by
rewriting its text and lyric events.

Measured:
  - syllables read right by 'lyrics --json': text, tick, line and page
    against the source text (ticks: the word events of MMA's file in order,
    read by the small reader below, which knows nothing of the tool);
  - the charset 'lyrics' chose against the one the song was stored in
    (songs of plain ASCII count as cp1252);
  - 'karaoke' (keyboard marks, the input's charset kept) read back by the
    tool and by the reader below: equal to the source's words;
  - 'convert --karaoke' against plain 'convert' on 1,000 songs (goal: at
    most 1.5 times the time).

    lyrics_bench.py TOOL WORKDIR [--songs N]

Without the mma program nothing is measured and the exit status is 0.
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import time

TICKS_PER_BEAT = 192

# (name, language code page, title, chords per bar, lines; a line is the
# syllables of one bar or more, "-" joins the syllables of a word, "|" ends
# a page after the line). Traditional texts, or authors dead long since.
SONGS = [
    ("stille_nacht", "cp1252", "Stille Nacht", ["C", "C", "G", "C", "F", "C", "G", "C"], [
        "Stil-le Nacht, hei-li-ge Nacht,", "Al-les schläft, ein-sam wacht", "Nur das trau-te hoch-hei-li-ge Paar.|",
        "Hol-der Kna-be im lo-cki-gen Haar,", "Schlaf in himm-li-scher Ruh!"]),
    ("der_mond", "cp1252", "Der Mond ist aufgegangen", ["F", "C", "F", "Bb", "F", "C", "F", "F"], [
        "Der Mond ist auf-ge-gan-gen,", "die gold-nen Stern-lein pran-gen|", "am Him-mel hell und klar;",
        "der Wald steht schwarz und schwei-get"]),
    ("frere_jacques", "cp1252", "Frère Jacques", ["C", "C", "C", "C", "G7", "C", "G7", "C"], [
        "Frè-re Jac-ques, frè-re Jac-ques,", "dor-mez-vous? dor-mez-vous?|", "Son-nez les ma-ti-nes,",
        "son-nez les ma-ti-nes,", "ding, daing, dong."]),
    ("au_clair", "cp1252", "Au clair de la lune", ["C", "G7", "C", "G7", "C", "G7", "C", "C"], [
        "Au clair de la lu-ne,", "mon a-mi Pier-rot,", "prê-te-moi ta plu-me|", "pour é-crire un mot.",
        "Ma chan-delle est mor-te,", "je n'ai plus de feu."]),
    ("cielito_lindo", "cp1252", "Cielito lindo", ["D", "A7", "A7", "D", "D", "G", "A7", "D"], [
        "De la Sie-rra Mo-re-na,", "cie-li-to lin-do, vie-nen ba-jan-do|", "¡Ay, ay, ay, ay! Can-ta y no llo-res,",
        "por-que can-tan-do se a-le-gran,", "cie-li-to lin-do, los co-ra-zo-nes."]),
    ("de_colores", "cp1252", "De colores", ["C", "G7", "G7", "C", "C", "G7", "G7", "C"], [
        "De co-lo-res, de co-lo-res", "se vis-ten los cam-pos en la pri-ma-ve-ra.|", "¿Quién can-ta-rá ma-ña-na?",
        "Los pa-ja-ri-tos que vie-nen de a-fue-ra."]),
    ("wlazl_kotek", "cp1250", "Wlazł kotek na płotek", ["G", "D", "D", "G", "G", "D", "D", "G"], [
        "Wlazł ko-tek na pło-tek", "i mru-ga, ślicz-na to pio-sen-ka|", "nie dłu-ga. Nie dłu-ga,",
        "nie krót-ka, lecz w sam raz, za-śpie-waj ko-tecz-ku", "jesz-cze je-den raz."]),
    ("szla_dzieweczka", "cp1250", "Szła dzieweczka do laseczka", ["C", "G", "G", "C", "C", "F", "G", "C"], [
        "Szła dzie-wecz-ka do la-secz-ka,", "do zie-lo-ne-go, do zie-lo-ne-go.|", "Na-po-tka-ła my-śli-we-go,",
        "bar-dzo szwar-cow-ne-go, ha ha ha."]),
    ("kalinka", "cp1251", "Калинка", ["Am", "E7", "E7", "Am", "Am", "Dm", "E7", "Am"], [
        "Ка-лин-ка, ка-лин-ка, ка-лин-ка мо-я!", "В са-ду я-го-да ма-лин-ка, ма-лин-ка мо-я!|",
        "Ах, под сос-но-ю, под зе-лё-ною", "спать по-ло-жи-те вы ме-ня!"]),
    ("oi_to_ne_vecher", "cp1251", "Ой, то не вечер", ["Am", "Dm", "E7", "Am", "Am", "Dm", "E7", "Am"], [
        "Ой, то не ве-чер, то не ве-чер,", "мне ма-лым-ма-ло спа-ло-ся.|", "Мне ма-лым-ма-ло спа-ло-ся,",
        "ох, да во сне при-ви-де-ло-ся."]),
    ("twinkle", "cp1252", "Twinkle, twinkle, little star", ["C", "F", "C", "G7", "C", "G7", "C", "C"], [
        "Twin-kle, twin-kle, lit-tle star,", "how I won-der what you are!|", "Up a-bove the world so high,",
        "like a dia-mond in the sky."]),
    ("amazing_grace", "cp1252", "Amazing Grace", ["G", "C", "G", "D", "G", "C", "D", "G"], [
        "A-ma-zing grace! How sweet the sound", "that saved a wretch like me!|", "I once was lost, but now am found;",
        "was blind, but now I see."]),
]


def lines_of(song):
    """The source as [(syllables, ends_page)] per line; a syllable keeps "-"
    joins out and carries the word's closing space."""
    out = []
    for raw in song[4]:
        page = raw.endswith("|")
        words = raw.rstrip("|").split()
        syllables = []
        for w, word in enumerate(words):
            parts = word.split("-")
            for p, part in enumerate(parts):
                syllables.append(part + (" " if p == len(parts) - 1 else ""))
        out.append((syllables, page))
    return out


def truth_syllables(song, karaoke):
    """(text, line, page) per sung syllable, as the tool is to read them: a
    line's last syllable without its space; words whole for lyric events."""
    result = []
    start_page = True
    for syllables, ends_page in lines_of(song):
        units = syllables if karaoke else words_of(syllables)
        for i, text in enumerate(units):
            if i == len(units) - 1:
                text = text.rstrip(" ")
            result.append((text, i == 0, i == 0 and start_page))
        start_page = ends_page
    return result


def words_of(syllables):
    words, current = [], ""
    for s in syllables:
        current += s
        if s.endswith(" "):
            words.append(current)
            current = ""
    if current:
        words.append(current)
    return words


def mma_text(song, karaoke):
    """An MMA file: one line of the song per bar, CR after a line, LF after a page."""
    name, _, title, chords, _ = song
    out = ["Tempo 100", "Groove Folk", "Lyric Karmode=On" if karaoke else "", "Lyric Event=Lyric" if not karaoke else ""]
    for bar, (syllables, page) in enumerate(lines_of(song)):
        units = syllables if karaoke else words_of(syllables)
        text = " ".join(u.strip(" ") for u in units) if not karaoke else join_syllables(syllables)
        mark = "\\n" if page else "\\r"
        out.append("%d %s [%s %s]" % (bar + 1, chords[bar % len(chords)], text, mark))
    return "\n".join(out) + "\n"


def join_syllables(syllables):
    text = ""
    for s in syllables:
        text += s if s.endswith(" ") else s + "-"
    return text.strip(" ")


# ---- a small reader of Standard MIDI Files, independent of the tool ----

def vlq(data, pos):
    value = 0
    while True:
        b = data[pos]
        pos += 1
        value = (value << 7) | (b & 0x7F)
        if b < 0x80:
            return value, pos


def events(data):
    """(track, tick, type or None, bytes) of every meta event; the raw track
    chunks as (start of body, body length) too, for rewriting."""
    pos = 14
    found = []
    track = 0
    while pos + 8 <= len(data):
        length = struct.unpack(">I", data[pos + 4:pos + 8])[0]
        body_start, end = pos + 8, pos + 8 + length
        p, tick, status = body_start, 0, 0
        while p < end:
            delta, p = vlq(data, p)
            tick += delta
            b = data[p]
            if b == 0xFF:
                kind = data[p + 1]
                n, q = vlq(data, p + 2)
                found.append((track, tick, kind, data[q:q + n], p, q, q + n))
                p = q + n
            elif b in (0xF0, 0xF7):
                n, q = vlq(data, p + 1)
                p = q + n
            else:
                if b & 0x80:
                    status = b
                    p += 1
                p += 1 if (status & 0xF0) in (0xC0, 0xD0) else 2
        pos = end
        track += 1
    return found


def notes(data):
    """(tick, channel, key) of every note-on of the song, in order."""
    found = []
    pos = 14
    while pos + 8 <= len(data):
        length = struct.unpack(">I", data[pos + 4:pos + 8])[0]
        p, end, tick, status = pos + 8, pos + 8 + length, 0, 0
        while p < end:
            delta, p = vlq(data, p)
            tick += delta
            b = data[p]
            if b == 0xFF:
                n, q = vlq(data, p + 2)
                p = q + n
            elif b in (0xF0, 0xF7):
                n, q = vlq(data, p + 1)
                p = q + n
            else:
                if b & 0x80:
                    status = b
                    p += 1
                if (status & 0xF0) == 0x90 and data[p + 1] > 0:
                    found.append((tick, status & 0x0F, data[p]))
                p += 1 if (status & 0xF0) in (0xC0, 0xD0) else 2
        pos = end
    return sorted(found)


def recode(data, source, charset):
    """The song with its text and lyric events in `charset` instead of `source`."""
    out = bytearray(data[:14])
    pos = 14
    while pos + 8 <= len(data):
        length = struct.unpack(">I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + length]
        new = bytearray()
        p, status = 0, 0
        while p < len(body):
            start = p
            _, p = vlq(body, p)
            b = body[p]
            if b == 0xFF:
                kind = body[p + 1]
                n, q = vlq(body, p + 2)
                text = body[q:q + n]
                if kind in (1, 5):
                    text = text.decode(source).encode(charset)
                    new += body[start:p + 2] + encode_vlq(len(text)) + text
                else:
                    new += body[start:q + n]
                p = q + n
                continue
            if b in (0xF0, 0xF7):
                n, q = vlq(body, p + 1)
                p = q + n
            else:
                if b & 0x80:
                    status = b
                    p += 1
                p += 1 if (status & 0xF0) in (0xC0, 0xD0) else 2
            new += body[start:p]
        out += b"MTrk" + struct.pack(">I", len(new)) + new
        pos += 8 + length
    return bytes(out)


def encode_vlq(value):
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append((value & 0x7F) | 0x80)
        value >>= 7
    return bytes(reversed(groups))


def word_ticks(data, karaoke):
    """The ticks of MMA's word events in order: text events (karaoke) or
    lyric events, without headers, the play-time note and bare CR / LF."""
    kind = 1 if karaoke else 5
    ticks = []
    for _, tick, k, text, *_ in events(data):
        if k != kind or text.startswith(b"@") or text.startswith(b"DURATION:") or text.strip(b"\r\n") == b"":
            continue
        ticks.append(tick)
    return ticks


def read_keyboard_lyrics(data, charset):
    """(tick, text, line, page) of the lyric events of a song written with
    the keyboard marks: "/" after a syllable ends the line, "<" the page."""
    result = []
    line = page = True
    for _, tick, k, text, *_ in events(data):
        if k != 5:
            continue
        t = text.decode(charset)
        next_line = next_page = False
        while t and t[-1] in "/<":
            next_line = True
            next_page = next_page or t[-1] == "<"
            t = t[:-1]
        result.append((tick, t, line, page))
        line, page = next_line, next_page
    return result


# ---- the measurement ----

def run(tool, *args):
    return subprocess.run([tool] + list(args), capture_output=True)


def expected_charset(song_text_bytes, charset):
    if charset == "utf-8":
        return "utf-8" if any(b >= 0x80 for b in song_text_bytes) else "cp1252"
    return charset if any(b >= 0x80 for b in song_text_bytes) else "cp1252"


def make_songs(work):
    """Renders every song in both kinds and stores it in both charsets; the
    list of (path, song, karaoke, charset, truth)."""
    made = []
    render = os.path.join(work, "mma")
    songs = os.path.join(work, "songs")
    os.makedirs(render, exist_ok=True)
    os.makedirs(songs, exist_ok=True)
    for song in SONGS:
        for karaoke in (True, False):
            base = "%s_%s" % (song[0], "kar" if karaoke else "lyr")
            source = os.path.join(render, base + ".mma")
            # MMA reads and writes its texts in MMA_ENCODING (cp1252 unless
            # set); it counts a text's length in characters, so only an 8-bit
            # code page gives whole events. The UTF-8 song is made from it.
            code_page = song[1]
            with open(source, "w", encoding=code_page) as f:
                f.write(mma_text(song, karaoke))
            subprocess.run(["mma", os.path.basename(source)], cwd=render, capture_output=True, check=True,
                           env=dict(os.environ, MMA_ENCODING=code_page))
            rendered = os.path.join(render, base + (".kar" if karaoke else ".mid"))
            with open(rendered, "rb") as f:
                native = f.read()
            texts = truth_syllables(song, karaoke)
            ticks = word_ticks(native, karaoke)
            if len(ticks) != len(texts):
                print("%s: MMA wrote %d word events for %d syllables; left out" % (base, len(ticks), len(texts)))
                continue
            truth = [(tick, t, l, p) for tick, (t, l, p) in zip(ticks, texts)]
            for charset in (song[1], "utf-8"):
                data = native if charset == code_page else recode(native, code_page, charset)
                path = os.path.join(songs, "%s_%s.mid" % (base, charset))
                with open(path, "wb") as f:
                    f.write(data)
                all_text = b"".join(t for _, _, k, t, *_ in events(data) if k in (1, 5))
                made.append((path, song, karaoke, charset, truth, expected_charset(all_text, charset)))
    return made


def measure_reading(tool, made):
    syllables = right = songs_right = charsets_right = 0
    for path, song, karaoke, charset, truth, expected in made:
        result = run(tool, "lyrics", "--json", path)
        doc = json.loads(result.stdout.decode("utf-8"))
        got = [(s["tick"], s["text"], s["line"], s["page"]) for s in doc["syllables"]]
        syllables += len(truth)
        good = sum(1 for a, b in zip(got, truth) if a == b)
        right += good
        songs_right += good == len(truth) == len(got)
        charsets_right += doc["charset"] == expected
        if good != len(truth) or len(got) != len(truth) or doc["charset"] != expected:
            wrong = next((i for i, (a, b) in enumerate(zip(got, truth)) if a != b), min(len(got), len(truth)))
            print("  %s: %d of %d right, charset %s (stored %s); first difference at %d: %s / %s" % (
                os.path.basename(path), good, len(truth), doc["charset"], expected, wrong,
                got[wrong] if wrong < len(got) else None, truth[wrong] if wrong < len(truth) else None))
    print("reading: %d of %d syllables right (text, tick, line, page), %d of %d songs whole, "
          "charset right in %d of %d songs" % (right, syllables, songs_right, len(made), charsets_right, len(made)))


def measure_round_trip(tool, made, work):
    out_dir = os.path.join(work, "karaoke")
    os.makedirs(out_dir, exist_ok=True)
    tool_right = independent_right = clean = 0
    for path, song, karaoke, charset, truth, expected in made:
        out = os.path.join(out_dir, os.path.basename(path))
        result = run(tool, "karaoke", "--charset", expected, path, out)
        if result.returncode != 0:
            print("  %s: karaoke failed: %s" % (path, result.stderr.decode()))
            continue
        doc = json.loads(run(tool, "lyrics", "--json", out).stdout.decode("utf-8"))
        got = [(s["tick"], s["text"], s["line"], s["page"]) for s in doc["syllables"]]
        tool_right += got == truth
        with open(out, "rb") as f:
            data = f.read()
        independent = read_keyboard_lyrics(data, expected)
        independent_right += independent == truth
        karaoke_left = [t for _, _, k, t, *_ in events(data) if karaoke and k == 1 and not t.startswith(b"@")
                        and not t.startswith(b"DURATION:")]
        if karaoke_left:
            print("  %s: %d karaoke text events left" % (out, len(karaoke_left)))
        with open(path, "rb") as f:
            same_notes = notes(f.read()) == notes(data)
        if not same_notes:
            print("  %s: the notes differ from the input's" % out)
        clean += same_notes and not karaoke_left
        if independent != truth:
            print("  %s: the independent reader reads other words" % out)
    print("keyboard lyrics written and read back: %d of %d songs equal by the tool, %d of %d by the "
          "independent reader; %d of %d with every note and no karaoke text event left" % (
              tool_right, len(made), independent_right, len(made), clean, len(made)))


def line_song(syllables, charset):
    """A format 0 song of one sung line as lyric events."""
    body = b""
    for i, text in enumerate(syllables):
        data = text.encode(charset)
        body += encode_vlq(0 if i == 0 else 96) + b"\xff\x05" + encode_vlq(len(data)) + data
    body += b"\x00\xff\x2f\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(body)) + body


def measure_short_lines(tool, work):
    """The charset chosen for every line of every song on its own: short
    lyrics, a few words each."""
    folder = os.path.join(work, "lines")
    os.makedirs(folder, exist_ok=True)
    right = total = 0
    wrong = []
    for song in SONGS:
        for charset in (song[1], "utf-8"):
            for n, (syllables, _) in enumerate(lines_of(song)):
                if not any(ord(c) >= 0x80 for c in "".join(syllables)):
                    continue
                path = os.path.join(folder, "%s_%d_%s.mid" % (song[0], n, charset))
                with open(path, "wb") as f:
                    f.write(line_song(syllables, charset))
                doc = json.loads(run(tool, "lyrics", "--json", path).stdout.decode("utf-8"))
                total += 1
                if doc["charset"] == charset:
                    right += 1
                else:
                    wrong.append("%s (%s read as %s)" % ("".join(syllables).strip(), charset, doc["charset"]))
    print("charset of single lines with accented letters: %d of %d right" % (right, total))
    for line in wrong:
        print("  " + line)


def measure_uchardet(work):
    """The same lines and songs, as plain text, through uchardet (when it is
    installed): the detection library the engine could have used."""
    if shutil.which("uchardet") is None:
        print("uchardet is not installed; not compared")
        return
    accepted = {"cp1252": {"WINDOWS-1252", "ISO-8859-1", "ISO-8859-15"}, "cp1250": {"WINDOWS-1250"},
                "cp1251": {"WINDOWS-1251"}, "utf-8": {"UTF-8"}}
    path = os.path.join(work, "uchardet.txt")

    def detect(text, charset):
        with open(path, "wb") as f:
            f.write(text.encode(charset))
        return subprocess.run(["uchardet", path], capture_output=True, text=True).stdout.strip().upper()

    lines = lines_right = songs = songs_right = 0
    for song in SONGS:
        for charset in (song[1], "utf-8"):
            texts = ["".join(syllables).strip() for syllables, _ in lines_of(song)]
            for line in texts:
                if any(ord(c) >= 0x80 for c in line):
                    lines += 1
                    lines_right += detect(line, charset) in accepted[charset]
            whole = "\n".join(texts)
            if any(ord(c) >= 0x80 for c in whole):
                songs += 1
                songs_right += detect(whole, charset) in accepted[charset]
    print("uchardet on the same words (ISO-8859-1 counted as cp1252): %d of %d single lines, %d of %d songs" % (
        lines_right, lines, songs_right, songs))


def best_time(tool, args, runs=5):
    best = None
    for _ in range(runs):
        started = time.perf_counter()
        result = run(tool, *args)
        elapsed = time.perf_counter() - started
        if result.returncode != 0:
            print("  convert failed: %s" % result.stderr.decode()[-400:])
        best = elapsed if best is None else min(best, elapsed)
    return best


def measure_speed(tool, made, work, count):
    base = os.path.join(work, "speed")
    shutil.rmtree(base, ignore_errors=True)
    os.makedirs(os.path.join(base, "Midifile"))
    os.makedirs(os.path.join(base, "Convert"))
    for i in range(count):
        path = made[i % len(made)][0]
        shutil.copy(path, os.path.join(base, "Midifile", "%04d_%s" % (i, os.path.basename(path))))
    plain = best_time(tool, ["convert", "--quiet", base])
    karaoke = best_time(tool, ["convert", "--quiet", "--karaoke", base])
    print("convert %d songs: %.3f s; convert --karaoke: %.3f s; ratio %.2f (goal at most 1.50)" % (
        count, plain, karaoke, karaoke / plain))


def main():
    args = sys.argv[1:]
    count = 1000
    if "--songs" in args:
        at = args.index("--songs")
        count = int(args[at + 1])
        del args[at:at + 2]
    if len(args) != 2:
        print(__doc__)
        return 2
    tool, work = os.path.abspath(args[0]), args[1]
    if shutil.which("mma") is None:
        print("lyrics bench: mma is not installed; nothing measured")
        return 0
    made = make_songs(work)
    print("%d songs (%d texts, karaoke text and lyric events, each in its code page and in UTF-8)" % (
        len(made), len(SONGS)))
    measure_reading(tool, made)
    measure_round_trip(tool, made, work)
    measure_short_lines(tool, work)
    measure_uchardet(work)
    measure_speed(tool, made, work, count)
    return 0


if __name__ == "__main__":
    sys.exit(main())
