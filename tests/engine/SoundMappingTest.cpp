// The sound mapping: which program changes a rule takes, what they become,
// where bank selects are changed or added, and that the work stays linear.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EventRecords.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::ChannelRecord;
constexpr int kNone = kNoSoundValue;

class SoundMapping : public ::testing::Test {
protected:
    void SetUp() override { engine.InitHauptcontainer(); }
    void TearDown() override { engine.InitHauptcontainer(); }

    // Appends in tick order, with the Delta a read file gives.
    void Add(MidiEvent e) {
        const int size = engine.GetSizeMidievents(e.Channel);
        e.Delta = size == 0 ? e.Tick : e.Tick - engine.GetMidievent(e.Channel, size - 1).Tick;
        engine.AddMidievent(e);
    }
    void Bank(std::uint32_t tick, int channel, int bank) {
        Add(ChannelRecord(tick, static_cast<std::uint8_t>(0xB0 | channel), 0, static_cast<std::uint8_t>(bank)));
    }
    void Program(std::uint32_t tick, int channel, int program) {
        Add(ChannelRecord(tick, static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)));
    }
    void Note(std::uint32_t tick, int channel) {
        Add(ChannelRecord(tick, static_cast<std::uint8_t>(0x90 | channel), 60, 100));
    }
    // Every record of the channel as "tick/delta status data": "96/0 C0 04".
    std::vector<std::string> Records(int channel) {
        std::vector<std::string> lines;
        for (int i = 0; i < engine.GetSizeMidievents(channel); ++i) {
            const MidiEvent e = engine.GetMidievent(channel, i);
            char line[48];
            if (e.Kind == 0xC0)
                std::snprintf(line, sizeof line, "%u/%u %02X %02X", e.Tick, e.Delta, e.Status, e.Data1);
            else
                std::snprintf(line, sizeof line, "%u/%u %02X %02X %02X", e.Tick, e.Delta, e.Status, e.Data1, e.Data2);
            EXPECT_EQ(e.Channel, channel);
            EXPECT_EQ(e.Kind, e.Status & 0xF0);
            lines.push_back(line);
        }
        return lines;
    }
    static SoundMappingRule Rule(int sourceBank, int sourceProgram, int destinationBank, int destinationProgram) {
        return {sourceBank, sourceProgram, destinationBank, destinationProgram};
    }

    testing::RecordingHost host;
    StandardMidifile engine{nullptr};
};

using Lines = std::vector<std::string>;

TEST_F(SoundMapping, TheBankSelectOfTheSameTickTakesTheNewBank) {
    Bank(0, 0, 0);
    Program(0, 0, 0);
    Note(0, 0);
    const auto report = engine.MapSounds({Rule(0, 0, 8, 4)});
    EXPECT_EQ(Records(0), (Lines{"0/0 B0 00 08", "0/0 C0 04", "0/0 90 3C 64"}));
    EXPECT_EQ(report.ProgramsMatched, 1u);
    EXPECT_EQ(report.BanksChanged, 1u);
    EXPECT_EQ(report.BanksAdded, 0u);
}

TEST_F(SoundMapping, ABankSetEarlierOrNotAtAllGetsABankSelectInFront) {
    Bank(0, 2, 0);
    Note(10, 2);
    Program(96, 2, 0);
    Note(96, 2);
    Program(0, 3, 0);  // channel 4: no bank select, so bank 0
    const auto report = engine.MapSounds({Rule(0, 0, 8, 4)});
    EXPECT_EQ(Records(2), (Lines{"0/0 B2 00 00", "10/10 92 3C 64", "96/86 B2 00 08", "96/0 C2 04", "96/0 92 3C 64"}));
    EXPECT_EQ(Records(3), (Lines{"0/0 B3 00 08", "0/0 C3 04"}));
    EXPECT_EQ(report.ProgramsMatched, 2u);
    EXPECT_EQ(report.BanksAdded, 2u);
}

TEST_F(SoundMapping, ARowMatchesOnlyItsBankUnlessItsSourceBankIsNone) {
    Bank(0, 0, 5);
    Program(0, 0, 10);  // bank 5: the first row does not take it, the second does
    Bank(0, 1, 6);
    Program(0, 1, 11);  // bank 6: no row with program 11 and bank 6
    engine.MapSounds({Rule(0, 10, kNone, 20), Rule(kNone, 10, kNone, 30), Rule(7, 11, kNone, 40)});
    EXPECT_EQ(Records(0), (Lines{"0/0 B0 00 05", "0/0 C0 1E"}));
    EXPECT_EQ(Records(1), (Lines{"0/0 B1 00 06", "0/0 C1 0B"}));
}

TEST_F(SoundMapping, NoDestinationProgramKeepsTheProgramAndTheFirstMatchingRowWins) {
    Program(0, 0, 1);
    Program(50, 0, 2);
    const auto report = engine.MapSounds({Rule(kNone, 1, 9, kNone), Rule(kNone, 1, 3, 7), Rule(kNone, 2, kNone, 6),
                                          Rule(kNone, 2, kNone, 5)});
    // The second program change keeps bank 0, which it had: bank 9 was only
    // for the first, so the song's bank is selected again in front of it.
    EXPECT_EQ(Records(0), (Lines{"0/0 B0 00 09", "0/0 C0 01", "50/50 B0 00 00", "50/0 C0 06"}));
    EXPECT_EQ(report.ProgramsMatched, 2u);
}

TEST_F(SoundMapping, RowsWithoutSourceProgramOrWithValuesOutsideADataByteDoNothing) {
    Bank(0, 0, 0);
    Program(0, 0, 0);
    const Lines before = Records(0);
    const auto report = engine.MapSounds({Rule(kNone, kNone, 8, 4), Rule(0, 0, 128, 4), Rule(0, 0, 8, -5),
                                          Rule(200, 0, 8, 4)});
    EXPECT_EQ(Records(0), before);
    EXPECT_EQ(report.ProgramsMatched, 0u);
}

TEST_F(SoundMapping, UnmatchedChangesAfterAMovedBankGetTheSongsBankUntilTheSongSelectsABank) {
    Bank(0, 0, 0);
    Program(0, 0, 1);   // moved to bank 8
    Program(10, 0, 2);  // not taken: bank 0 again
    Program(20, 0, 3);  // the output is in bank 0 already
    Bank(30, 0, 4);
    Program(30, 0, 5);
    engine.MapSounds({Rule(0, 1, 8, kNone)});
    EXPECT_EQ(Records(0), (Lines{"0/0 B0 00 08", "0/0 C0 01", "10/10 B0 00 00", "10/0 C0 02", "20/10 C0 03",
                                 "30/10 B0 00 04", "30/0 C0 05"}));
}

TEST_F(SoundMapping, AMillionProgramChangesAreMappedInOneWalk) {
    // Every program change gets a bank select in front; one insertion per
    // event into the list would take hours at this size, and the test's
    // time-out ends it.
    constexpr std::uint32_t kChanges = 1'000'000;
    for (std::uint32_t i = 0; i < kChanges; ++i) Program(i, 0, static_cast<int>(i % 2));
    const auto report = engine.MapSounds({Rule(kNone, 0, 8, 4), Rule(kNone, 1, 0, 5)});
    EXPECT_EQ(report.ProgramsMatched, kChanges);
    EXPECT_EQ(report.BanksAdded, kChanges);
    ASSERT_EQ(engine.GetSizeMidievents(0), static_cast<int>(2 * kChanges));
    const MidiEvent last = engine.GetMidievent(0, static_cast<int>(2 * kChanges - 1));
    EXPECT_EQ(last.Data1, 5);
    EXPECT_EQ(last.Tick, kChanges - 1);
    EXPECT_EQ(engine.GetMidievent(0, static_cast<int>(2 * kChanges - 2)).Data2, 0);
}

}  // namespace
}  // namespace tonalux
