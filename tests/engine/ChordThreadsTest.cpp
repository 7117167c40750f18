// A large song's chords are worked out on two threads: the notes, the beat
// grid, the profile of every beat and the chord events must be the very ones
// a single thread finds, to the bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "ArrangerSong.h"
#include "ChordRecognition.h"
#include "LoadFixture.h"
#include "chords/ChordBeats.h"
#include "chords/SideBySide.h"
#include "lists/Hauptcontainer.h"

namespace tonalux {
namespace {

using testing::ArrangerSong;

// Everything the recognition works out on the way, as bytes where it is numbers.
struct Worked {
    std::vector<detail::Note> Notes;
    std::vector<std::uint32_t> FirstBeats;
    std::vector<detail::Beat> Beats;
    std::vector<detail::BeatProfile> Profiles;
    std::uint32_t SoundEnd = 0;
    std::vector<std::vector<std::uint8_t>> Chords;  // tick, then the data bytes
};

Worked Work(StandardMidifile& midi, bool twoThreads) {
    detail::SecondThreadAllowed = twoThreads;
    const auto& lists = detail::Lists();
    Worked worked;
    worked.Notes = detail::CollectNotes(lists.ChannelEvents);
    worked.Beats = detail::NoteGrid(detail::MetreMap(midi.Division, lists.MessureEvents), worked.Notes,
                                    detail::ProfileWeights{}.MaxBeatsPerNote, worked.FirstBeats);
    worked.Profiles = detail::ProfileNotes(worked.Beats, worked.Notes, worked.FirstBeats, detail::ProfileWeights{},
                                           worked.SoundEnd);
    for (const MetaEvent& chord : RecogniseChords(midi)) {
        std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(chord.Tick >> 24), static_cast<std::uint8_t>(chord.Tick >> 16),
                                        static_cast<std::uint8_t>(chord.Tick >> 8), static_cast<std::uint8_t>(chord.Tick)};
        bytes.insert(bytes.end(), chord.Data.get(), chord.Data.get() + chord.Length);
        worked.Chords.push_back(bytes);
    }
    detail::SecondThreadAllowed = true;
    return worked;
}

// 2,000 bars of 4/4 at 96 ticks a quarter: a bass note on each first beat
// under the chord on the other three (the bass carried over them, across
// the middle of the bar), a chord a bar through C F G7 Am, and two silent
// bars in every sixteen (beats left out of the grid). The bars all start
// with a pushed note, as the profile's halves do.
testing::Bytes OomPahSong() {
    constexpr std::uint32_t kBeat = 96, kBar = 4 * kBeat;
    constexpr std::uint8_t kChords[4][4] = {{36, 60, 64, 67}, {41, 60, 65, 69}, {43, 59, 62, 65}, {45, 60, 64, 69}};
    std::vector<testing::arranger::ChannelMessage> messages;
    const auto play = [&](std::uint32_t from, std::uint32_t to, std::uint8_t key) {
        messages.push_back({from, 0x90, key, 80, true});
        messages.push_back({to, 0x80, key, 64, true});
    };
    for (std::uint32_t bar = 0; bar < 2000; ++bar) {
        if (bar % 16 >= 14) continue;
        const auto& chord = kChords[bar % 4];
        const std::uint32_t at = bar * kBar;
        // The bass comes an eighth ahead of the bar, except after a rest: pushed into it.
        play(bar % 16 == 0 ? at : at - kBeat / 2, at + kBeat, chord[0]);
        for (std::uint32_t beat = 1; beat < 4; ++beat)
            for (int k = 1; k < 4; ++k) play(at + beat * kBeat, at + (beat + 1) * kBeat - (beat == 3 ? kBeat / 2 : 0), chord[k]);
    }
    std::stable_sort(messages.begin(), messages.end(), [](const auto& x, const auto& y) { return x.tick < y.tick; });
    return testing::SongBuilder(0, kBeat).AddTrack(testing::arranger::ChannelTrack(messages).End()).Bytes();
}

class ChordThreads : public testing::LoadTest {};

TEST_F(ChordThreads, TwoThreadsFindWhatOneFinds) {
    struct Song {
        const char* Name;
        testing::Bytes Bytes;
    };
    const std::vector<Song> songs{
        {"an arranger song", ArrangerSong(150'000, 7)},
        {"oom-pah with silent bars", OomPahSong()},
    };
    for (const Song& song : songs) {
        SCOPED_TRACE(song.Name);
        ASSERT_TRUE(Load(song.Bytes));
        const Worked one = Work(midi, false);
        const Worked two = Work(midi, true);
        // Large enough that every stage splits its work.
        ASSERT_GE(one.Notes.size(), detail::kSideBySideWork);
        ASSERT_GE(one.Beats.size(), detail::kSideBySideWork / 8);
        ASSERT_FALSE(one.Chords.empty());

        ASSERT_EQ(one.Notes.size(), two.Notes.size());
        for (std::size_t i = 0; i < one.Notes.size(); ++i) {
            const detail::Note& a = one.Notes[i];
            const detail::Note& b = two.Notes[i];
            ASSERT_TRUE(a.Start == b.Start && a.End == b.End && a.Pitch == b.Pitch && a.Velocity == b.Velocity)
                << "note " << i;
        }
        EXPECT_EQ(one.FirstBeats, two.FirstBeats);
        ASSERT_EQ(one.Beats.size(), two.Beats.size());
        for (std::size_t b = 0; b < one.Beats.size(); ++b)
            ASSERT_TRUE(one.Beats[b].Tick == two.Beats[b].Tick && one.Beats[b].Index == two.Beats[b].Index &&
                        one.Beats[b].Strength == two.Beats[b].Strength)
                << "beat " << b;
        EXPECT_EQ(one.SoundEnd, two.SoundEnd);
        ASSERT_EQ(one.Profiles.size(), two.Profiles.size());
        for (std::size_t b = 0; b < one.Profiles.size(); ++b) {
            const detail::BeatProfile& a = one.Profiles[b];
            const detail::BeatProfile& p = two.Profiles[b];
            ASSERT_TRUE(std::memcmp(a.Chroma.data(), p.Chroma.data(), sizeof a.Chroma) == 0 &&
                        std::memcmp(a.Bass.data(), p.Bass.data(), sizeof a.Bass) == 0 &&
                        std::memcmp(&a.Total, &p.Total, sizeof a.Total) == 0 && a.Lowest == p.Lowest &&
                        a.Highest == p.Highest && a.Classes == p.Classes && a.BassKey == p.BassKey && a.Heard == p.Heard)
                << "profile of beat " << b;
        }
        EXPECT_EQ(one.Chords, two.Chords);
    }
}

}  // namespace
}  // namespace tonalux
