// Loading from and saving to bytes in memory: the same song, report and
// messages as the file operations, the same bytes as the saved file, and no
// file touched.
#include <gtest/gtest.h>

#include <filesystem>

#include "LoadFixture.h"
#include "SongBuilder.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using MemoryLoadSave = LoadTest;

// What a load leaves: its result, its messages, its report, the header
// values, the song's end and the song as both writers give it.
struct Outcome {
    bool loaded = false;
    std::vector<std::string> messages;
    LoadReport report;
    std::uint16_t format = 0, tracks = 0, division = 0;
    std::uint32_t endTick = 0;
    int records = 0;
    Bytes format0, format1;

    void ExpectSame(const Outcome& other) const {
        EXPECT_EQ(loaded, other.loaded);
        EXPECT_EQ(messages, other.messages);
        EXPECT_EQ(report.Damaged, other.report.Damaged);
        EXPECT_EQ(report.DamageOffset, other.report.DamageOffset);
        EXPECT_EQ(report.DamageTrack, other.report.DamageTrack);
        EXPECT_EQ(report.Records, other.report.Records);
        EXPECT_EQ(format, other.format);
        EXPECT_EQ(tracks, other.tracks);
        EXPECT_EQ(division, other.division);
        EXPECT_EQ(endTick, other.endTick);
        EXPECT_EQ(records, other.records);
        EXPECT_EQ(Hex(format0), Hex(other.format0));
        EXPECT_EQ(Hex(format1), Hex(other.format1));
    }
};

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

Bytes TwoTrackSong() {
    SongBuilder song(1, 480);
    song.AddTrack(Track()
                      .Tempo(0, 500000)
                      .Text(0, 0x01, "hello")
                      .Sysex(0, {0x43, 0x10, 0x4C, 0x04, 0x01, 0xF7})
                      .Chord(0, 0x31, 0)
                      .End(1920));
    song.AddTrack(Track().Program(0, 0, 3).Note(960, 0x90, 60, 100).Running(96, {60, 0}).End());
    return song.Bytes();
}

TEST_F(MemoryLoadSave, BytesAndFilesGiveTheSameSongReportAndOutput) {
    const Bytes song = TwoTrackSong();
    Bytes overrun = song;
    std::fill(overrun.begin() + 18, overrun.begin() + 22, std::uint8_t{0xFF});
    Bytes wrongHeader = song;
    wrongHeader[3] = 'D';
    struct Case {
        const char* name;
        Bytes bytes;
        bool startAtFirstNote;
    };
    const Case cases[] = {
        {"a sound song", song, false},
        {"the start at the first note", song, true},
        {"cut short", Bytes(song.begin(), song.end() - 5), false},
        {"a chunk claiming more than the file", overrun, false},
        {"a wrong header", wrongHeader, false},
        {"no bytes at all", Bytes{}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcomes[2];
        for (const bool fromBytes : {false, true}) {
            Outcome& out = outcomes[fromBytes ? 1 : 0];
            midi.SetStartFirstNote(c.startAtFirstNote);
            if (fromBytes) {
                host.messages.clear();
                out.loaded = midi.LoadMidiBytes(c.bytes.data(), c.bytes.size());
            } else {
                out.loaded = Load(c.bytes);
            }
            out.messages = host.messages;
            out.report = midi.LastLoadReport();
            out.format = midi.Format;
            out.tracks = midi.TrackCount;
            out.division = midi.Division;
            out.endTick = midi.EndTick();
            out.records = ChannelEvents() + midi.GetSizeMetaEvents() + midi.GetSizeTempoevents() +
                          midi.GetSizeYamChordEvents() + midi.GetSizeSysexEvents();
            if (fromBytes) {
                // Saving to bytes touches no file.
                const std::vector<std::string> before = FolderNames(dir.Path().string());
                ASSERT_TRUE(midi.SaveMidiBytes(0, out.format0));
                ASSERT_TRUE(midi.SaveMidiBytes(1, out.format1));
                EXPECT_EQ(FolderNames(dir.Path().string()), before);
            } else {
                ASSERT_TRUE(midi.SaveMidifile(0, dir.File("out0.mid")));
                ASSERT_TRUE(midi.SaveMidifile(1, dir.File("out1.mid")));
                out.format0 = ReadFile(dir.File("out0.mid"));
                out.format1 = ReadFile(dir.File("out1.mid"));
            }
        }
        outcomes[1].ExpectSame(outcomes[0]);
    }
}

TEST_F(MemoryLoadSave, AFileThatCannotBeReadFailsAsBeforeAndNoBytesLoadAsAnEmptyFile) {
    EXPECT_FALSE(midi.LoadMidifile(dir.File("missing.mid")));
    EXPECT_EQ(host.messages, std::vector<std::string>{"FileOpenError!"});
    host.messages.clear();
    EXPECT_FALSE(midi.LoadMidiBytes(nullptr, 0));
    EXPECT_EQ(host.messages, std::vector<std::string>{"incorrect fileheader"});
}

}  // namespace
