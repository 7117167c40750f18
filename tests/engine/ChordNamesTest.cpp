#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "ServiceRecords.h"
#include "StandardMidifile.h"

namespace tonalux {
namespace {

using testing::ChordRecord;

class ChordNames : public ::testing::Test {
protected:
    std::string Name(std::uint8_t root, std::uint8_t type, std::uint8_t bass = 0x7F,
                     std::uint8_t bassType = 0x7F) {
        return engine.YamChordCalculate(ChordRecord(0, root, type, bass, bassType));
    }
    StandardMidifile engine{nullptr};
};

TEST_F(ChordNames, EveryChordTypeFollowsTheRoot) {
    const std::array<const char*, 35> expected = {
        "",      "6",     "Maj7",   "Maj7(#11)", "Maj(9)", "Maj7(9)",  "6(9)",  "aug",   "m",
        "m6",    "m7",    "m7b5",   "m(9)",   "m7(9)",  "m7(11)", "mM7",  "mM7(9)", "d",
        "d7",    "7",     "7sus4",  "7b5",    "7(9)",   "7(#11)", "7(13)", "7(b9)", "7(b13)",
        "7(#9)", "Maj7aug", "7aug",   "1+8",    "1+5",    "sus4",  "1+2+5", "nc"};
    for (std::size_t type = 0; type < expected.size(); ++type) {
        EXPECT_EQ(Name(0x31, static_cast<std::uint8_t>(type)), std::string("C") + expected[type])
            << "type " << type;
    }
}

TEST_F(ChordNames, ChordTypesBeyondTheTableAddNothing) {
    EXPECT_EQ(Name(0x31, 35), "C");
    EXPECT_EQ(Name(0x31, 0x7F), "C");
    EXPECT_EQ(Name(0x31, 0xFF, 0x33), "C  /E");
}

TEST_F(ChordNames, EveryLetterAndAccidentalOfTheRoot) {
    const std::array<const char*, 8> letters = {"", "C", "D", "E", "F", "G", "A", "B"};
    const std::array<const char*, 7> accidentals = {"bbb", "bb", "b", "", "#", "##", "###"};
    for (unsigned acc = 0; acc < accidentals.size(); ++acc) {
        for (unsigned letter = 0; letter < letters.size(); ++letter) {
            const auto root = static_cast<std::uint8_t>(acc << 4 | letter);
            EXPECT_EQ(Name(root, 0), std::string(letters[letter]) + accidentals[acc]) << std::hex << unsigned(root);
        }
    }
}

TEST_F(ChordNames, RootDigitsOutsideTheTablesAddNothing) {
    // Accidental 7 to 9 and letter 8 or 9 convert as decimal digits but name nothing.
    EXPECT_EQ(Name(0x71, 8), "Cm");
    EXPECT_EQ(Name(0x91, 0), "C");
    EXPECT_EQ(Name(0x38, 2), "Maj7");
    EXPECT_EQ(Name(0x99, 0), "");
    EXPECT_EQ(Name(0x30, 8), "m");
}

TEST_F(ChordNames, EveryBassLetterAndAccidental) {
    const std::array<const char*, 8> bassLetters = {"", "  /C", "  /D", "  /E", "  /F", "  /G", "  /A", "  /B"};
    const std::array<const char*, 7> accidentals = {"bbb", "bb", "b", "", "#", "##", "###"};
    for (unsigned acc = 0; acc < accidentals.size(); ++acc) {
        for (unsigned letter = 0; letter < bassLetters.size(); ++letter) {
            const auto bass = static_cast<std::uint8_t>(acc << 4 | letter);
            EXPECT_EQ(Name(0x31, 0, bass), std::string("C") + bassLetters[letter] + accidentals[acc])
                << std::hex << unsigned(bass);
        }
    }
}

TEST_F(ChordNames, BassNibblesOutsideTheTablesAddNothingAndNeverFail) {
    EXPECT_EQ(Name(0x31, 0, 0x7F), "C");    // no bass
    EXPECT_EQ(Name(0x31, 0, 0x4A), "C#");   // letter 10 silent, accidental 4 still "#"
    EXPECT_EQ(Name(0x31, 0, 0x71), "C  /C");  // accidental 7 silent
    EXPECT_EQ(Name(0x31, 0, 0xF8), "C");
    EXPECT_EQ(Name(0x31, 0, 0xFF), "C");
}

TEST_F(ChordNames, CommonChordsReadAsOnTheKeyboard) {
    EXPECT_EQ(Name(0x31, 0), "C");
    EXPECT_EQ(Name(0x44, 10), "F#m7");
    EXPECT_EQ(Name(0x27, 2), "BbMaj7");
    EXPECT_EQ(Name(0x27, 19), "Bb7");
    EXPECT_EQ(Name(0x31, 0, 0x33), "C  /E");
    EXPECT_EQ(Name(0x23, 19, 0x27), "Eb7  /Bb");
    EXPECT_EQ(Name(0x33, 17), "Ed");
    EXPECT_EQ(Name(0x33, 18), "Ed7");
    EXPECT_EQ(Name(0x31, 34), "Cnc");
    EXPECT_EQ(Name(0x02, 0), "Dbbb");
    EXPECT_EQ(Name(0x44, 10, 0x33, 10), "F#m7  /E");  // bass type is not part of the name
}

TEST_F(ChordNames, RootWithAHexLetterDigitIsRefusedNamingTheByte) {
    for (std::uint8_t root : {0x7F, 0x3A, 0xA1, 0x3F, 0xF3}) {
        try {
            Name(root, 0);
            ADD_FAILURE() << "no error for root " << std::hex << unsigned(root);
        } catch (const ChordDecodeError& error) {
            char expected[40];
            std::snprintf(expected, sizeof expected, "Chord root 0x%02X cannot be decoded", unsigned(root));
            EXPECT_EQ(std::string(error.what()), expected);
        }
    }
}

TEST_F(ChordNames, RecordTooShortForAChordIsRefusedNotRead) {
    MetaEvent shortChord = ChordRecord(0, 0x31, 0);
    shortChord.Length = 3;
    EXPECT_THROW(engine.YamChordCalculate(shortChord), ChordDecodeError);
    MetaEvent noData = ChordRecord(0, 0x31, 0);
    noData.Data = nullptr;
    EXPECT_THROW(engine.YamChordCalculate(noData), std::exception);
}

}  // namespace
}  // namespace tonalux
