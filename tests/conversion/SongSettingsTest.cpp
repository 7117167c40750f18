// The settings applied to a song: setup files and songs built byte by byte,
// the song converted with the setup's blocks and its output compared with
// the song it has to be.
#include <gtest/gtest.h>

#include <string>

#include "SetupBytes.h"
#include "SongBuilder.h"
#include "SongSettings.h"
#include "StandardMidifile.h"
#include "TestSupport.h"
#include "settings/SetupFile.h"

namespace tonalux {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::SetupBytes;
using testing::SongBuilder;
using testing::Track;
constexpr std::int32_t kDash = SetupBytes::kDash;

class SongSettingsTest : public ::testing::Test {
protected:
    // The blocks of a setup file written from `setup`.
    SongSettings Setup(const SetupBytes& setup) {
        const std::string path = dir.File("test.set");
        testing::WriteFile(path, setup.Bytes());
        SongSettings settings;
        EXPECT_EQ(settings::LoadSetupFile(path, settings.Programs, settings.Information),
                  settings::SetupLoadOutcome::Loaded);
        return settings;
    }
    // The song with the settings applied, written in `format`.
    std::string Apply(const Bytes& song, const SongSettings& settings, int format) {
        testing::WriteFile(dir.File("in.mid"), song);
        EXPECT_TRUE(engine.LoadMidifile(dir.File("in.mid")));
        EXPECT_FALSE(settings::ProgramsProblem(settings.Programs));
        report = ApplySongSettings(engine, settings);
        EXPECT_TRUE(engine.SaveMidifile(format, dir.File("out.mid")));
        return Hex(testing::ReadFile(dir.File("out.mid")));
    }

    testing::TempDir dir;
    testing::RecordingHost host;
    StandardMidifile engine{nullptr};
    SoundMappingReport report;
};

TEST_F(SongSettingsTest, RowsMapProgramsCountedFromOneAndBanks) {
    // Channel 1: bank set at the same tick. Channel 2: bank set earlier.
    // Channel 3: no bank at all. Channel 4: bank 3, taken by a row whose
    // source MSB is "-". Channel 5: a row with "-" as destination program.
    // Channel 6: two rows take program 7; the first wins.
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Event(0, 0xB0, {0, 0}).Program(0, 0, 0)
                      .Event(0, 0xB1, {0, 0})
                      .Event(0, 0xB3, {0, 3}).Program(0, 3, 9)
                      .Event(0, 0xB4, {0, 2}).Program(0, 4, 19)
                      .Program(0, 5, 6)
                      .Program(48, 1, 0)
                      .Program(0, 2, 0)
                      .End());
    SetupBytes setup;
    setup.Row(1, 0, 1, 8, 5)           // bank 0 program 1 -> bank 8 program 5
        .Row(2, kDash, 10, kDash, 11)  // program 10 in any bank -> program 11
        .Row(3, 2, 20, 16, kDash)      // bank 2 program 20 -> bank 16, same program
        .Row(4, kDash, 7, kDash, 100)  // program 7 -> program 100
        .Row(5, kDash, 7, kDash, 50)   // never reached for program 7
        .Row(6, kDash, kDash, 1, 1);   // no source program: does nothing

    SongBuilder expected(0, 96);
    expected.AddTrack(Track()
                          .Event(0, 0xB0, {0, 8}).Program(0, 0, 4)
                          .Event(0, 0xB1, {0, 0})
                          .Event(0, 0xB3, {0, 3}).Program(0, 3, 10)
                          .Event(0, 0xB4, {0, 16}).Program(0, 4, 19)
                          .Program(0, 5, 99)
                          .Event(48, 0xB1, {0, 8}).Program(0, 1, 4)
                          .Event(0, 0xB2, {0, 8}).Program(0, 2, 4)
                          .End());
    EXPECT_EQ(Apply(song.Bytes(), Setup(setup), 0), Hex(expected.Bytes()));
    EXPECT_EQ(report.ProgramsMatched, 6u);
    EXPECT_EQ(report.BanksChanged, 2u);
    EXPECT_EQ(report.BanksAdded, 2u);
}

TEST_F(SongSettingsTest, ValuesOutsideTheirRangesAreNamedWithWindowRowAndField) {
    SongSettings settings = Setup(SetupBytes().Row(1, 0, 1, 127, 128).Row(12, kDash, kDash, kDash, kDash));
    EXPECT_EQ(SongSettingsProblem(settings), std::nullopt);

    settings = Setup(SetupBytes().Row(3, 0, 1, 8, 129));
    EXPECT_EQ(SongSettingsProblem(settings),
              "Sound\xC3\xA4nderungen, Zeile 3, Ziel PRG: 129 liegt nicht zwischen 1 und 128 (\"-\" f\xC3\xBCr keinen Wert)");
    const auto named = [&](const SetupBytes& setup) {
        const auto problem = SongSettingsProblem(Setup(setup));
        return problem ? problem->substr(0, problem->find(':')) : std::string("none");
    };
    EXPECT_EQ(named(SetupBytes().Row(1, 129, 1, 0, 1)), "Sound\xC3\xA4nderungen, Zeile 1, Quell MSB");
    EXPECT_EQ(named(SetupBytes().Row(1, 128, 1, 0, 1)), "none");  // channel 10's drum kits
    EXPECT_EQ(named(SetupBytes().Row(7, 0, 0, 0, 1)), "Sound\xC3\xA4nderungen, Zeile 7, Quell PRG");
    EXPECT_EQ(named(SetupBytes().Row(12, 0, 1, -5, 1)), "Sound\xC3\xA4nderungen, Zeile 12, Ziel MSB");
    // A row that does nothing is checked all the same, and the first field
    // in the window's order is the one named.
    EXPECT_EQ(named(SetupBytes().Row(2, kDash, kDash, kDash, 0).Row(1, kDash, 1000, kDash, kDash)),
              "Sound\xC3\xA4nderungen, Zeile 1, Quell PRG");
    // The information block is checked after the twelve rows.
    EXPECT_EQ(named(SetupBytes().Copyright("a\x1B").Row(12, 0, 1, 0, 0)), "Sound\xC3\xA4nderungen, Zeile 12, Ziel PRG");
    EXPECT_EQ(named(SetupBytes().Copyright("a\x1B")), "Zusatzinformationen, COPYRIGHT");
}

TEST_F(SongSettingsTest, RowsLeaveChannelTenAloneUnlessTheirSourceBankIs128) {
    // Channel 1 and channel 10 both select program 1 in bank 0, channel 10
    // later program 26 in bank 127.
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Event(0, 0xB0, {0, 0}).Program(0, 0, 0)
                      .Event(0, 0xB9, {0, 0}).Program(0, 9, 0)
                      .Event(48, 0xB9, {0, 127}).Program(0, 9, 25)
                      .End());
    SetupBytes setup;
    setup.Row(1, kDash, 1, kDash, 5)   // any bank: channel 1 only
        .Row(2, 0, 1, kDash, 6)        // bank 0: channel 1 only, never reached
        .Row(3, 128, 26, kDash, 17)    // drum kits: kit 26 of any bank on channel 10
        .Row(4, 128, 1, kDash, 9);     // drum kits: kit 1 on channel 10
    SongBuilder expected(0, 96);
    expected.AddTrack(Track()
                          .Event(0, 0xB0, {0, 0}).Program(0, 0, 4)
                          .Event(0, 0xB9, {0, 0}).Program(0, 9, 8)
                          .Event(48, 0xB9, {0, 127}).Program(0, 9, 16)
                          .End());
    EXPECT_EQ(Apply(song.Bytes(), Setup(setup), 0), Hex(expected.Bytes()));
    EXPECT_EQ(report.ProgramsMatched, 3u);
    EXPECT_EQ(report.BanksAdded, 0u);
}

TEST_F(SongSettingsTest, PairsWithTwoDifferentChannelsSwapInOrder) {
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Note(0, 0x90, 60, 100)   // KANAL 1
                      .Note(0, 0x91, 61, 100)   // KANAL 2
                      .Note(0, 0x92, 62, 100)   // KANAL 3
                      .Note(0, 0x9A, 70, 100)   // KANAL 11
                      .End());
    SetupBytes setup;
    setup.Swap(1, 1, 2)
        .Swap(2, 2, 3)                       // after pair 1: what was KANAL 1 goes to KANAL 3
        .Swap(3, 11, 11)                     // the same channel twice: nothing
        .Swap(4, 11, SetupBytes::kNoChannel)  // one side only: nothing
        .Swap(5, SetupBytes::kNoChannel, 11)
        .Int32(244 + 4 * 5, 16).Int32(276 + 4 * 5, 10);  // pair 6: a value no box shows counts as none
    SongBuilder expected(0, 96);
    expected.AddTrack(Track()
                          .Note(0, 0x90, 61, 100)
                          .Note(0, 0x91, 62, 100)
                          .Note(0, 0x92, 60, 100)
                          .Note(0, 0x9A, 70, 100)
                          .End());
    EXPECT_EQ(Apply(song.Bytes(), Setup(setup), 0), Hex(expected.Bytes()));
}

TEST_F(SongSettingsTest, CopyrightAndTracknameStartTheFirstTrackInBothFormats) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Tempo(0, 500000).End());
    song.AddTrack(Track().Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    // A copyright of all 25 bytes has no zero byte; the track name follows it.
    const std::string copyright = "(c) 2026 M\xFCller Arranger!";
    ASSERT_EQ(copyright.size(), 25u);
    const SongSettings settings = Setup(SetupBytes().Copyright(copyright).Trackname("VELMOTRIX"));

    SongBuilder format0(0, 96);
    format0.AddTrack(Track()
                         .Text(0, 0x02, copyright)
                         .Text(0, 0x03, "VELMOTRIX")
                         .Tempo(0, 500000)
                         .Note(0, 0x90, 60, 100)
                         .Note(96, 0x80, 60, 0)
                         .End());
    EXPECT_EQ(Apply(song.Bytes(), settings, 0), Hex(format0.Bytes()));

    SongBuilder format1(1, 96);
    // The meta track ends where the song does, with the note-off at 96.
    format1.AddTrack(Track().Text(0, 0x02, copyright).Text(0, 0x03, "VELMOTRIX").Tempo(0, 500000).End(96));
    format1.AddTrack(Track().Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    EXPECT_EQ(Apply(song.Bytes(), settings, 1), Hex(format1.Bytes()));

    // Empty texts put nothing: the song is written as without settings.
    const std::string plain = Apply(song.Bytes(), Setup(SetupBytes()), 1);
    EXPECT_EQ(plain.find("FF 02"), std::string::npos);
    EXPECT_EQ(plain.find("FF 03"), std::string::npos);
}

}  // namespace
}  // namespace tonalux
