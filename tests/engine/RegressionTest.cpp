// Inputs the fuzzer found, kept so that what went wrong with them stays mended.
#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using FuzzRegression = WriterTest;

// A damaged song whose only channel message has a data byte of 0x80 or more
// (90 43 FA). The writers leave that record out; format 1 then wrote an empty
// track for its channel, and the file read again saved with one track fewer.
TEST_F(FuzzRegression, FormatOneOutputSavesAgainToTheSameBytes) {
    const Bytes input{0x4d, 0x54, 0x68, 0x64, 0x00, 0x60, 0x01, 0x31, 0x30, 0x5f, 0x5f, 0x61, 0x62, 0x69, 0x76,
                      0x00, 0x37, 0x69, 0x36, 0x00, 0x40, 0x00, 0x00, 0x90, 0x43, 0xfa, 0x00, 0xff, 0x2f, 0x00};
    WriteFile(dir.File("in.mid"), input);
    ASSERT_TRUE(midi.LoadMidifile(dir.File("in.mid")));
    const Bytes first = Save(1, "first.mid");
    ASSERT_TRUE(midi.LoadMidifile(dir.File("first.mid")));
    EXPECT_EQ(Hex(Save(1, "second.mid")), Hex(first));
    EXPECT_EQ(first.size(), 14u + 12u);  // the meta track only
}

}  // namespace
