#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "SongBuilder.h"
#include "TestSupport.h"
#include "settings/Report.h"
#include "settings/SetupFile.h"

namespace tonalux::settings {
namespace {

using tonalux::testing::Bytes;
using tonalux::testing::Hex;
using tonalux::testing::ReadFile;
using tonalux::testing::TempDir;
using tonalux::testing::WriteFile;

void PutLE(Bytes& to, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int b = 0; b < 4; ++b) to.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
}

void PutText(Bytes& to, const std::string& text, std::size_t width) {
    Bytes field(width, 0);
    std::copy(text.begin(), text.end(), field.begin());
    to.insert(to.end(), field.begin(), field.end());
}

// A record whose every field has its own value: MSBQ row r = r, MSBD = 100 + r,
// PRGQ = -r, PRGD = 999; texts "(C) Tonalux" and "VOCALS"; KanV pair p = p,
// KanT = 15 - p, the last KanT -1; FastPlay 1, Format0 0; padding bytes 0xAA.
Bytes HandWrittenRecord() {
    Bytes bytes;
    for (int r = 1; r <= 12; ++r) PutLE(bytes, r);
    for (int r = 1; r <= 12; ++r) PutLE(bytes, 100 + r);
    for (int r = 1; r <= 12; ++r) PutLE(bytes, -r);
    for (int r = 1; r <= 12; ++r) PutLE(bytes, 999);
    PutText(bytes, "(C) Tonalux", 25);
    PutText(bytes, "VOCALS", 26);
    bytes.push_back(0xAA);
    for (int p = 0; p < 8; ++p) PutLE(bytes, p);
    for (int p = 0; p < 8; ++p) PutLE(bytes, p == 7 ? -1 : 15 - p);
    bytes.push_back(1);
    bytes.push_back(0);
    bytes.push_back(0xAA);
    bytes.push_back(0xAA);
    return bytes;
}

void FillLikeHandWritten(ProgrammchangeBlock& programs, InformationenBlock& information) {
    for (int r = 0; r < 12; ++r) {
        programs.MSBQ[r] = r + 1;
        programs.MSBD[r] = 101 + r;
        programs.PRGQ[r] = -(r + 1);
        programs.PRGD[r] = 999;
    }
    information = InformationenBlock{};
    std::strcpy(information.Copyright, "(C) Tonalux");
    std::strcpy(information.Trackname, "VOCALS");
    information.Padding1 = 0xAA;
    for (int p = 0; p < 8; ++p) {
        information.KanV[p] = p;
        information.KanT[p] = p == 7 ? -1 : 15 - p;
    }
    information.FastPlay = 1;
    information.Format0 = 0;
    information.Padding2[0] = information.Padding2[1] = 0xAA;
}

TEST(SetupFileTest, RecordHoldsBothBlocksLittleEndianByteForByte) {
    ProgrammchangeBlock programs;
    InformationenBlock information;
    FillLikeHandWritten(programs, information);
    const SetupRecord record = EncodeSetup(programs, information);
    const Bytes expected = HandWrittenRecord();
    ASSERT_EQ(expected.size(), 312u);
    EXPECT_EQ(Hex(Bytes(record.begin(), record.end())), Hex(expected));
}

TEST(SetupFileTest, SaveThenLoadGivesTheSameBytes) {
    TempDir dir;
    ProgrammchangeBlock programs;
    InformationenBlock information;
    FillLikeHandWritten(programs, information);
    ASSERT_EQ(SaveSetupFile(dir.File("a.set"), programs, information), SetupSaveOutcome::Saved);
    EXPECT_EQ(Hex(ReadFile(dir.File("a.set"))), Hex(HandWrittenRecord()));
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(SetupFileTest, LastRecordOfALongerFileCounts) {
    TempDir dir;
    Bytes first(312, 0x11);
    Bytes both = first;
    const Bytes second = HandWrittenRecord();
    both.insert(both.end(), second.begin(), second.end());
    WriteFile(dir.File("two.set"), both);
    ProgrammchangeBlock programs;
    InformationenBlock information;
    ASSERT_EQ(LoadSetupFile(dir.File("two.set"), programs, information), SetupLoadOutcome::Loaded);
    const SetupRecord loaded = EncodeSetup(programs, information);
    EXPECT_EQ(Hex(Bytes(loaded.begin(), loaded.end())), Hex(second));
}

TEST(SetupFileTest, FilesOfOtherSizesOrUnreadableChangeNothing) {
    TempDir dir;
    ProgrammchangeBlock programs;
    InformationenBlock information;
    FillLikeHandWritten(programs, information);
    const SetupRecord before = EncodeSetup(programs, information);

    for (std::size_t size : {0u, 100u, 311u, 313u, 623u}) {
        WriteFile(dir.File("odd.set"), Bytes(size, 0x55));
        EXPECT_EQ(LoadSetupFile(dir.File("odd.set"), programs, information), SetupLoadOutcome::WrongSize) << size;
    }
    EXPECT_EQ(LoadSetupFile(dir.File("missing.set"), programs, information), SetupLoadOutcome::CannotOpen);
    EXPECT_EQ(LoadSetupFile(dir.Path().string(), programs, information), SetupLoadOutcome::CannotOpen);
    EXPECT_EQ(EncodeSetup(programs, information), before);
}

TEST(SetupFileTest, FailedSaveKeepsTheOldFileAndNamesItsMessages) {
    TempDir dir;
    ProgrammchangeBlock programs;
    InformationenBlock information;
    EXPECT_EQ(SaveSetupFile(dir.File("no/such/folder/a.set"), programs, information), SetupSaveOutcome::CannotCreate);
    EXPECT_EQ(SetupSaveMessages(SetupSaveOutcome::CannotCreate),
              (std::vector<std::string>{"Save Registration Error!", "Write Preset Error! #101"}));

    // A folder of that name cannot be created as a file.
    std::filesystem::create_directory(dir.File("taken.set"));
    EXPECT_EQ(SaveSetupFile(dir.File("taken.set"), programs, information), SetupSaveOutcome::CannotCreate);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.set")));

    // A write that fails part way, as on a full disk, leaves the old file.
    WriteFile(dir.File("old.set"), Bytes{'o', 'l', 'd'});
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const SetupSaveOutcome cut = SaveSetupFile(dir.File("old.set"), programs, information);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(cut, SetupSaveOutcome::WriteFailed);
    EXPECT_EQ(ReadFile(dir.File("old.set")), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(SetupSaveMessages(SetupSaveOutcome::WriteFailed), (std::vector<std::string>{"Write Preset Error! #101"}));
    EXPECT_TRUE(SetupSaveMessages(SetupSaveOutcome::Saved).empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(SetupFileTest, ANameWithoutSuffixGetsDotSet) {
    EXPECT_EQ(SetupFileName("/home/u/mine"), "/home/u/mine.set");
    EXPECT_EQ(SetupFileName("/home/u/mine."), "/home/u/mine.set");
    EXPECT_EQ(SetupFileName("/home/u.d/.hidden"), "/home/u.d/.hidden.set");
    EXPECT_EQ(SetupFileName("/home/u/mine.set"), "/home/u/mine.set");
    EXPECT_EQ(SetupFileName("/home/u/mine.bak"), "/home/u/mine.bak");
}

TEST(ReportTest, OneCrLfLinePerNameAndEmptyForNoNames) {
    EXPECT_EQ(Hex(ReportBytes({"A_VOC-3.mid", "B_NO-VOC.mid"})),
              Hex(Bytes{'A', '_', 'V', 'O', 'C', '-', '3', '.', 'm', 'i', 'd', 0x0D, 0x0A, 'B', '_', 'N', 'O', '-',
                        'V', 'O', 'C', '.', 'm', 'i', 'd', 0x0D, 0x0A}));
    EXPECT_TRUE(ReportBytes({}).empty());

    TempDir dir;
    WriteFile(dir.File("Report.txt"), Bytes(50, 'x'));
    ASSERT_TRUE(SaveReport(dir.File("Report.txt"), {}));
    EXPECT_TRUE(ReadFile(dir.File("Report.txt")).empty());
    ASSERT_TRUE(SaveReport(dir.File("Report.txt"), {"S\xE4nger.mid"}));
    EXPECT_EQ(Hex(ReadFile(dir.File("Report.txt"))), "53 E4 6E 67 65 72 2E 6D 69 64 0D 0A");

    EXPECT_FALSE(SaveReport(dir.File("missing/Report.txt"), {"A.mid"}));
    EXPECT_EQ(ReportErrorMessage("/x/Report.txt"), "Datei /x/Report.txt kann nicht erstellt werden");
}

TEST(ReportTest, OutcomeLinesHoldFourTabSeparatedFields) {
    EXPECT_EQ(OutcomeReportLines({{"A_VOC-3.mid", "A.mid", "converted", "converted to A_VOC-3.mid"},
                                  {"", "Bad.mid", "failed", "not a MIDI file\t(x)\r\n"}}),
              (std::vector<std::string>{"A_VOC-3.mid\tA.mid\tconverted\tconverted to A_VOC-3.mid",
                                        "-\tBad.mid\tfailed\tnot a MIDI file (x)  "}));
}

TEST(SetupCheckTest, TheFirstFieldOutsideItsRangeIsNamed) {
    struct Case {
        std::size_t offset;       // where the bad value goes
        std::int64_t value;       // 32-bit below 192 and for the channels, else one byte
        const char* expected;     // the text, or "" for a setup that passes
    };
    const Case cases[] = {
        {0, 128, ""},  // Quell MSB 128: the drum kits of channel 10
        {4 * 2, 129, "Sound\xC3\xA4nderungen, Zeile 3, Quell MSB: 129 liegt nicht zwischen 0 und 128 (\"-\" f\xC3\xBCr keinen Wert)"},
        {96, 0, "Sound\xC3\xA4nderungen, Zeile 1, Quell PRG: 0 liegt nicht zwischen 1 und 128 (\"-\" f\xC3\xBCr keinen Wert)"},
        {48 + 4 * 11, 128, "Sound\xC3\xA4nderungen, Zeile 12, Ziel MSB: 128 liegt nicht zwischen 0 und 127 (\"-\" f\xC3\xBCr keinen Wert)"},
        {144 + 4, 12345, "Sound\xC3\xA4nderungen, Zeile 2, Ziel PRG: 12345 liegt nicht zwischen 1 und 128 (\"-\" f\xC3\xBCr keinen Wert)"},
        {192, 0x1B, "Zusatzinformationen, COPYRIGHT: das Zeichen 0x1B ist kein druckbares Zeichen"},
        {217 + 4, 0x07, ""},  // after the text's zero byte: no meaning
        {217, 0x85, "Zusatzinformationen, TRACKNAME: das Zeichen 0x85 ist kein druckbares Zeichen"},
        {217, 0xE4, ""},  // "ä" in Latin-1
        {244 + 4 * 7, 16, "Zusatzinformationen, KANALTAUSCHEN, Paar 8 oben: 16 liegt nicht zwischen -1 und 15 (-1 f\xC3\xBCr keinen Kanal)"},
        {276, -2, "Zusatzinformationen, KANALTAUSCHEN, Paar 1 unten: -2 liegt nicht zwischen -1 und 15 (-1 f\xC3\xBCr keinen Kanal)"},
        {308, 2, "Start auf Tatkt 1: 2 liegt nicht zwischen 0 und 1"},
        {309, 0xFF, "Midiformat 0: 255 liegt nicht zwischen 0 und 1"},
        {243, 0xFF, ""},  // padding carries no meaning
    };
    for (const auto& c : cases) {
        // A valid setup: every program field "-", no channels, empty texts.
        Bytes bytes;
        for (int i = 0; i < 48; ++i) PutLE(bytes, 999);
        bytes.resize(244, 0);
        for (int i = 0; i < 16; ++i) PutLE(bytes, -1);
        bytes.resize(312, 0);
        const bool word = c.offset < 192 || (c.offset >= 244 && c.offset < 308);
        for (int b = 0; b < (word ? 4 : 1); ++b) bytes[c.offset + b] = static_cast<std::uint8_t>(c.value >> (8 * b));
        SetupRecord record{};
        std::copy(bytes.begin(), bytes.end(), record.begin());
        ProgrammchangeBlock programs;
        InformationenBlock information;
        DecodeSetup(record, programs, information);
        const auto problem = CheckSetup(programs, information);
        EXPECT_EQ(problem ? problem->Text() : std::string(), c.expected) << c.offset;
    }
}

}  // namespace
}  // namespace tonalux::settings
