// How well the chords recognised from the notes match the true chords: for
// each folder given (songs/NAME.mid with truth/NAME.txt), the share of beats
// whose true chord is major or minor on which the chord event in force has
// the right root and major/minor class; the same over the beats whose true
// quality is maj, min, 7, maj7 or min7 with the quality exact ("sevenths");
// the chord events written per true change of chord; the share of chord
// roots on the scale of the key in force (a minor key's raised sixth and
// seventh included) spelled with another letter than their degree's; and the
// events that do not lie on a beat of the truth. A fixed part of each folder,
// chosen by the song's name, is held out of tuning; both parts are printed.
//
//   chord_accuracy [--show SONG|all] [--weights] [--trials] [NAME=VALUE ...] FOLDER...
//
// NAME=VALUE sets a weight of the recogniser (see ChordBeats.h), for trying
// weights without a new build; --weights prints every weight in force;
// --show prints every true beat of one song (or of all) with the chord found;
// --trials reads the folders once and then scores each line of weight settings
// on standard input over all their songs (tune_weights.py fits with it),
// leaving out songs whose true chords lie a beat late throughout.
// A missing folder is reported and passed over. tune_weights.py searches the
// weights with this program.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "chords/ChordBeats.h"
#include "ChordRecognition.h"
#include "EngineHost.h"
#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace {

using namespace tonalux;
namespace fs = std::filesystem;

enum class ChordClass { None, Major, Minor, Other };

// Qualities of the sevenths score.
enum class Quality { Major, Minor, Seventh, MajorSeventh, MinorSeventh, Other };

struct TrueBeat {
    std::uint32_t Tick;
    int Root;
    ChordClass Class;
    Quality Kind;
};

// A song as the recogniser needs it, kept so that every weight setting runs
// on the same lists without reading the files again.
struct Song {
    std::string Name;
    bool HeldOut = false;
    std::uint16_t Division = 0;
    std::vector<MetaEvent> TimeSignatures;
    std::vector<MetaEvent> Meta;
    std::array<std::vector<MidiEvent>, 16> Channels;
    std::vector<TrueBeat> Truth;
};

// The held-out part: three songs in ten, by a hash of the name.
bool HeldOut(const std::string& name) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    return hash % 10 < 3;
}

ChordClass ClassOfText(const std::string& text) {
    if (text == "maj") return ChordClass::Major;
    if (text == "min") return ChordClass::Minor;
    if (text == "N") return ChordClass::None;
    return ChordClass::Other;
}

// Major and minor as the scoring counts them: sevenths by their third.
ChordClass ClassOfType(std::uint8_t type) {
    switch (type) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 19: case 22: case 23: case 24: case 25: case 26:
    case 27:
        return ChordClass::Major;
    case 8: case 9: case 10: case 12: case 13: case 14: case 15: case 16:
        return ChordClass::Minor;
    case 34:
        return ChordClass::None;
    default:
        return ChordClass::Other;
    }
}

Quality QualityOfText(const std::string& text) {
    if (text == "maj") return Quality::Major;
    if (text == "min") return Quality::Minor;
    if (text == "7") return Quality::Seventh;
    if (text == "maj7") return Quality::MajorSeventh;
    if (text == "min7") return Quality::MinorSeventh;
    return Quality::Other;
}

// The quality of a chord type as the sevenths score counts it: an added ninth
// as its triad or seventh, a sixth as none of them.
Quality QualityOfType(std::uint8_t type) {
    switch (type) {
    case 0: case 4: return Quality::Major;
    case 8: case 12: return Quality::Minor;
    case 19: case 22: case 24: return Quality::Seventh;
    case 2: case 5: return Quality::MajorSeventh;
    case 10: case 13: return Quality::MinorSeventh;
    default: return Quality::Other;
    }
}

int PitchClassOfRoot(std::uint8_t root) {
    static constexpr int kLetters[] = {0, 0, 2, 4, 5, 7, 9, 11};
    const int letter = root & 0x0F;
    if (letter < 1 || letter > 7) return -1;
    return ((kLetters[letter] + (root >> 4) - 3) % 12 + 12) % 12;
}

std::vector<TrueBeat> ReadTruth(const fs::path& file) {
    std::vector<TrueBeat> beats;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::uint32_t tick = 0;
        std::string root, kind, quality = "x";
        if (!(fields >> tick >> root >> kind)) continue;
        fields >> quality;
        beats.push_back({tick, root == "N" ? -1 : std::atoi(root.c_str()), ClassOfText(kind), QualityOfText(quality)});
    }
    return beats;
}

std::vector<Song> ReadFolder(const fs::path& folder) {
    std::vector<Song> songs;
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder / "songs", error))
        if (entry.path().extension() == ".mid") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    StandardMidifile engine(nullptr);
    for (const fs::path& file : files) {
        const fs::path truth = folder / "truth" / (file.stem().string() + ".txt");
        if (!fs::exists(truth) || !engine.LoadMidifile(file.string())) continue;
        const auto& lists = detail::Lists();
        Song song{file.stem().string(), HeldOut(file.stem().string()), engine.Division, lists.MessureEvents,
                  lists.MetaEvents, lists.ChannelEvents, ReadTruth(truth)};
        songs.push_back(std::move(song));
    }
    return songs;
}

struct Score {
    std::size_t Beats = 0, Right = 0, Events = 0, Changes = 0, Songs = 0;
    std::size_t SeventhBeats = 0, SeventhRight = 0;
    std::size_t ScaleRoots = 0, Misspelled = 0, OffBeat = 0;
    void Print(const char* part) const {
        std::printf("  %-9s %3zu songs  accuracy %.3f (%zu of %zu beats)  events per change %.3f (%zu / %zu)"
                    "  sevenths %.3f (%zu of %zu)  scale roots misspelled %.4f (%zu of %zu)  off the beats %zu\n",
                    part, Songs, Beats ? double(Right) / double(Beats) : 0.0, Right, Beats,
                    Changes ? double(Events) / double(Changes) : 0.0, Events, Changes,
                    SeventhBeats ? double(SeventhRight) / double(SeventhBeats) : 0.0, SeventhRight, SeventhBeats,
                    ScaleRoots ? double(Misspelled) / double(ScaleRoots) : 0.0, Misspelled, ScaleRoots, OffBeat);
    }
    void Add(const Score& other) {
        Beats += other.Beats, Right += other.Right, Events += other.Events, Changes += other.Changes;
        Songs += other.Songs, SeventhBeats += other.SeventhBeats, SeventhRight += other.SeventhRight;
        ScaleRoots += other.ScaleRoots, Misspelled += other.Misspelled, OffBeat += other.OffBeat;
    }
};

// The letter (C = 0 ... B = 6) a root on the scale of a key must have, or -1
// for a root off the scale. Key: sharps (positive) or flats, and the mode.
int ScaleLetter(int pitchClass, int fifths, bool minor) {
    static constexpr int kMajor[12] = {0, -1, 1, -1, 2, 3, -1, 4, -1, 5, -1, 6};
    static constexpr int kMinor[12] = {0, -1, 1, 2, -1, 3, -1, 4, 5, 5, 6, 6};
    int tonic = ((fifths * 7) % 12 + 12) % 12;
    int letter = ((fifths * 4) % 7 + 7) % 7;
    if (minor) tonic = (tonic + 9) % 12, letter = (letter + 5) % 7;
    const int degree = (minor ? kMinor : kMajor)[(pitchClass - tonic + 12) % 12];
    return degree < 0 ? -1 : (letter + degree) % 7;
}

// The roots of the chord events on the scale of the key signature in force
// (before the first, the first), and those written with another letter.
void ScoreSpelling(const Song& song, const std::vector<MetaEvent>& events, Score& score) {
    std::vector<const MetaEvent*> keys;
    for (const MetaEvent& meta : song.Meta)
        if (meta.Type == 0x59 && meta.Data && meta.Length >= 2) keys.push_back(&meta);
    if (keys.empty()) return;
    std::size_t key = 0;
    for (const MetaEvent& event : events) {
        if (event.Data[4] == kNoChordType) continue;
        while (key + 1 < keys.size() && keys[key + 1]->Tick <= event.Tick) ++key;
        const int fifths = static_cast<std::int8_t>(keys[key]->Data[0]);
        const int pc = PitchClassOfRoot(event.Data[3]);
        const int letter = ScaleLetter(pc, fifths, keys[key]->Data[1] == 1);
        if (pc < 0 || letter < 0) continue;
        ++score.ScaleRoots;
        if ((event.Data[3] & 0x0F) - 1 != letter) ++score.Misspelled;
    }
}

// The chord event in force at a beat: its root's pitch class (-1 none), its
// major/minor class and its type number.
struct InForce {
    int Root = -1;
    ChordClass Class = ChordClass::None;
    std::uint8_t Type = kNoChordType;
};

// The chord in force at each true beat of the song: the last event at or
// before its tick.
std::vector<InForce> ChordsInForce(const Song& song, const std::vector<MetaEvent>& events) {
    std::vector<InForce> chords(song.Truth.size());
    InForce current;
    std::size_t next = 0;
    for (std::size_t i = 0; i < song.Truth.size(); ++i) {
        for (; next < events.size() && events[next].Tick <= song.Truth[i].Tick; ++next)
            current = {PitchClassOfRoot(events[next].Data[3]), ClassOfType(events[next].Data[4]), events[next].Data[4]};
        chords[i] = current;
    }
    return chords;
}

// With `show`, one line per true beat: tick, truth, the chord in force with its
// type number, and "x" where wrong.
void ScoreSong(const Song& song, const std::vector<MetaEvent>& events, Score& score, bool show) {
    ++score.Songs;
    score.Events += events.size();
    ScoreSpelling(song, events, score);
    std::size_t onBeat = 0;  // the truth's beats, walked with the events
    for (const MetaEvent& event : events) {
        while (onBeat < song.Truth.size() && song.Truth[onBeat].Tick < event.Tick) ++onBeat;
        if (onBeat < song.Truth.size() ? song.Truth[onBeat].Tick != event.Tick : false) ++score.OffBeat;
    }
    const std::vector<InForce> found = ChordsInForce(song, events);
    for (std::size_t i = 0; i < song.Truth.size(); ++i) {
        const TrueBeat& beat = song.Truth[i];
        const InForce& chord = found[i];
        if (i > 0 ? (beat.Root != song.Truth[i - 1].Root || beat.Class != song.Truth[i - 1].Class)
                  : beat.Class != ChordClass::None)
            ++score.Changes;
        const bool right = chord.Root == beat.Root && chord.Class == beat.Class;
        if (show)
            std::printf("%s %u true %d/%d found %d/%d type %d%s\n", song.Name.c_str(), beat.Tick, beat.Root,
                        static_cast<int>(beat.Class), chord.Root, static_cast<int>(chord.Class), chord.Type,
                        right ? "" : " x");
        if (beat.Kind != Quality::Other) {
            ++score.SeventhBeats;
            if (chord.Root == beat.Root && QualityOfType(chord.Type) == beat.Kind) ++score.SeventhRight;
        }
        if (beat.Class != ChordClass::Major && beat.Class != ChordClass::Minor) continue;
        ++score.Beats;
        if (right) ++score.Right;
    }
}

// The share of the song's major and minor beats whose chord in force is
// right when each beat is scored against the true chord `shift` beats later.
double ShareRight(const Song& song, const std::vector<MetaEvent>& events, std::size_t shift) {
    const std::vector<InForce> found = ChordsInForce(song, events);
    std::size_t beats = 0, right = 0;
    for (std::size_t i = 0; i + shift < song.Truth.size(); ++i) {
        const TrueBeat& truth = song.Truth[i + shift];
        if (truth.Class != ChordClass::Major && truth.Class != ChordClass::Minor) continue;
        ++beats;
        if (found[i].Root == truth.Root && found[i].Class == truth.Class) ++right;
    }
    return beats ? double(right) / double(beats) : 0.0;
}

// Whether the truth of a song lies a beat late throughout: the chords found
// with the weights given match it 5 points better one beat later. A fit on
// such songs would learn to change chords late, so the fit leaves them out
// (22 of the 499 real songs, and one MMA chart of a lone arpeggio whose
// notes fit the next chord a beat early; no song is clearly a beat early).
bool TruthLate(const Song& song, const detail::ProfileWeights& p, const detail::ModelWeights& m) {
    const auto events = detail::RecogniseFromNotes(song.Division, song.TimeSignatures, song.Channels, song.Meta, p, m);
    return ShareRight(song, events, 1) > ShareRight(song, events, 0) + 0.05;
}

// Every weight by its name. CostT is the cost of chord template T, ToneT.I the
// weight of its tone I (1 to 3; the root's weight 1 is the measure of the
// others, and a triad has no tone 3).
std::map<std::string, float*> WeightFields(detail::ProfileWeights& p, detail::ModelWeights& m) {
    std::map<std::string, float*> fields{
        {"Onset", &p.Onset},           {"StrongOnset", &p.StrongOnset}, {"Held", &p.Held},
        {"Melody", &p.Melody},         {"BassOnset", &p.BassOnset},     {"HighWeight", &p.HighWeight},
        {"MinShare", &p.MinShare},     {"BarMargin", &p.BarMargin},     {"NonChordTone", &m.NonChordTone},
        {"BassRoot", &m.BassRoot},     {"BassTone", &m.BassTone},       {"BassOther", &m.BassOther},
        {"KeyOutside", &m.KeyOutside}, {"Change", &m.Change},           {"ChangeHalf", &m.ChangeHalf},
        {"ChangeOther", &m.ChangeOther}, {"MissingTone", &m.MissingTone}, {"Confidence", &m.Confidence}};
    for (std::size_t t = 0; t < m.Cost.size(); ++t) {
        fields["Cost" + std::to_string(t)] = &m.Cost[t];
        for (std::size_t i = 1; i < m.Tones[t].size(); ++i)
            if (m.Tones[t][i] != 0) fields["Tone" + std::to_string(t) + "." + std::to_string(i)] = &m.Tones[t][i];
    }
    return fields;
}

bool SetWeight(const std::string& setting, detail::ProfileWeights& p, detail::ModelWeights& m) {
    const auto equals = setting.find('=');
    if (equals == std::string::npos) return false;
    const auto fields = WeightFields(p, m);
    const auto field = fields.find(setting.substr(0, equals));
    if (field == fields.end()) return false;
    *field->second = std::strtof(setting.c_str() + equals + 1, nullptr);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    detail::ProfileWeights profile;
    detail::ModelWeights model;
    std::vector<std::string> folders;
    std::string show;  // --show NAME: the beats of one song
    bool weights = false;  // --weights: print every weight in force, one NAME=VALUE a line
    bool trials = false;   // --trials: weight settings from standard input, one line each
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--trials") {
            trials = true;
            continue;
        }
        if (arg == "--show" && i + 1 < argc) {
            show = argv[++i];
            continue;
        }
        if (arg == "--weights") {
            weights = true;
            continue;
        }
        if (arg.find('=') != std::string::npos) {
            if (!SetWeight(arg, profile, model)) std::fprintf(stderr, "unknown weight: %s\n", arg.c_str());
        } else {
            folders.push_back(arg);
        }
    }
    if (weights)
        for (const auto& [name, value] : WeightFields(profile, model)) std::printf("%s=%g\n", name.c_str(), *value);
    if (trials) {
        // The songs of every folder are read once; each line of standard input
        // ("NAME=VALUE ...", on top of the weights given) is scored over all
        // of them, one "all" line each.
        std::vector<Song> songs;
        for (const std::string& folder : folders) {
            std::vector<Song> read = ReadFolder(folder);
            for (Song& song : read) {
                if (TruthLate(song, profile, model))
                    std::fprintf(stderr, "chord accuracy: %s: its truth lies a beat late, left out\n", song.Name.c_str());
                else
                    songs.push_back(std::move(song));
            }
        }
        for (std::string line; std::getline(std::cin, line);) {
            detail::ProfileWeights p = profile;
            detail::ModelWeights m = model;
            std::istringstream settings(line);
            for (std::string setting; settings >> setting;)
                if (!SetWeight(setting, p, m)) std::fprintf(stderr, "unknown weight: %s\n", setting.c_str());
            Score all;
            for (const Song& song : songs)
                ScoreSong(song, detail::RecogniseFromNotes(song.Division, song.TimeSignatures, song.Channels, song.Meta, p, m),
                          all, false);
            all.Print("all");
            std::fflush(stdout);
        }
        return 0;
    }
    for (const std::string& folder : folders) {
        if (!fs::is_directory(fs::path(folder) / "songs")) {
            std::printf("chord accuracy: %s: no songs/ there, passed over\n", folder.c_str());
            continue;
        }
        const std::vector<Song> songs = ReadFolder(folder);
        Score tuning, heldOut;
        for (const Song& song : songs) {
            const auto events = detail::RecogniseFromNotes(song.Division, song.TimeSignatures, song.Channels, song.Meta,
                                                           profile, model);
            ScoreSong(song, events, song.HeldOut ? heldOut : tuning, show == song.Name || show == "all");
        }
        std::printf("chord accuracy: %s\n", folder.c_str());
        tuning.Print("tuning");
        heldOut.Print("held out");
        Score all = tuning;
        all.Add(heldOut);
        all.Print("all");
    }
    return 0;
}
