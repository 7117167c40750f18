// The song's own texts: the reader keeps copyright notices and track names
// only when asked, in the order of their tracks, and the writers put them
// where they stand; PutSongTexts puts the song's name and copyright notice
// at the start of the first track.
#include <gtest/gtest.h>

#include <string>

#include "WriterFixture.h"

namespace tonalux {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::SongBuilder;
using testing::Track;

std::string TextOf(const MetaEvent& e) { return std::string(reinterpret_cast<const char*>(e.Data.get()), e.Length); }

class SongTexts : public testing::WriterTest {
protected:
    // Type and text of every record of MetaEvents, "03 Song".
    std::vector<std::string> MetaTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < midi.GetSizeMetaEvents(); ++i) {
            const MetaEvent e = midi.GetMetaEvent(i);
            texts.push_back(Hex({e.Type}) + " " + TextOf(e));
        }
        return texts;
    }

    // Three tracks, each named at tick 0; the first also carries the
    // copyright notice and a text at tick 96, so the later tracks' names
    // arrive behind the list's time.
    static Bytes NamedTracks() {
        SongBuilder song(1, 96);
        song.AddTrack(Track().Text(0, 0x03, "Song").Text(0, 0x02, "(c) T").Tempo(0, 500000).Text(96, 0x01, "Verse").End());
        song.AddTrack(Track().Text(0, 0x03, "Piano").Program(0, 0, 1).Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
        song.AddTrack(Track().Text(0, 0x03, "Bass").Note(0, 0x91, 40, 90).Note(96, 0x81, 40, 0).End());
        return song.Bytes();
    }
};

TEST_F(SongTexts, KeptNamesStayInTheOrderOfTheirTracks) {
    EXPECT_FALSE(midi.GetKeepSongNames());
    ASSERT_TRUE(Load(NamedTracks()));
    EXPECT_EQ(MetaTexts(), (std::vector<std::string>{"01 Verse"}));

    midi.SetKeepSongNames(true);
    ASSERT_TRUE(Load(NamedTracks()));
    // The first track's name stays first; the tempo went to its own list.
    EXPECT_EQ(MetaTexts(), (std::vector<std::string>{"03 Song", "02 (c) T", "03 Piano", "03 Bass", "01 Verse"}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(midi.GetMetaEvent(i).Delta, 0u) << i;
    EXPECT_EQ(midi.GetMetaEvent(4).Delta, 96u);
    EXPECT_EQ(midi.GetSizeTempoevents(), 1);

    // Format 1 writes them into the meta track in tick order.
    SongBuilder expected(1, 96);
    expected.AddTrack(Track()
                          .Text(0, 0x03, "Song")
                          .Text(0, 0x02, "(c) T")
                          .Text(0, 0x03, "Piano")
                          .Text(0, 0x03, "Bass")
                          .Tempo(0, 500000)
                          .Text(96, 0x01, "Verse")
                          .End());
    expected.AddTrack(Track().Program(0, 0, 1).Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    expected.AddTrack(Track().Note(0, 0x91, 40, 90).Note(96, 0x81, 40, 0).End());
    EXPECT_EQ(Save1(), Hex(expected.Bytes()));
}

TEST_F(SongTexts, FormatZeroWritesKeptNamesWhereTheyWereRead) {
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Tempo(0, 500000)
                      .Text(0, 0x03, "Tune")
                      .Note(0, 0x90, 60, 100)
                      .Text(48, 0x02, "(c)")
                      .Note(48, 0x80, 60, 64)
                      .End());
    midi.SetKeepSongNames(true);
    ASSERT_TRUE(Load(song.Bytes()));
    // At tick 0 the general meta events come before the tempo, as for any
    // text; the copyright notice stays at tick 48.
    SongBuilder expected(0, 96);
    expected.AddTrack(Track()
                          .Text(0, 0x03, "Tune")
                          .Tempo(0, 500000)
                          .Note(0, 0x90, 60, 100)
                          .Text(48, 0x02, "(c)")
                          .Note(48, 0x80, 60, 64)
                          .End());
    EXPECT_EQ(Save0(), Hex(expected.Bytes()));
    // Read again, the written file gives the same file.
    ASSERT_TRUE(Load(Save(0)));
    EXPECT_EQ(Save0(), Hex(expected.Bytes()));
}

TEST_F(SongTexts, SongNameAndCopyrightGoFirstInTheFirstTrack) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Tempo(0, 500000).Text(0, 0x01, "Intro").End());
    song.AddTrack(Track().Program(0, 0, 4).Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_TRUE(midi.PutSongTexts("(c) 2026 Gr\xFC" "n", "Abendlied"));

    SongBuilder format0(0, 96);
    format0.AddTrack(Track()
                         .Text(0, 0x02, "(c) 2026 Gr\xFC" "n")
                         .Text(0, 0x03, "Abendlied")
                         .Text(0, 0x01, "Intro")
                         .Tempo(0, 500000)
                         .Program(0, 0, 4)
                         .Note(0, 0x90, 60, 100)
                         .Note(96, 0x80, 60, 0)
                         .End());
    EXPECT_EQ(Save0(), Hex(format0.Bytes()));

    SongBuilder format1(1, 96);
    format1.AddTrack(Track()
                         .Text(0, 0x02, "(c) 2026 Gr\xFC" "n")
                         .Text(0, 0x03, "Abendlied")
                         .Text(0, 0x01, "Intro")
                         .Tempo(0, 500000)
                         .End(96));  // the song ends with the note-off at 96
    format1.AddTrack(Track().Program(0, 0, 4).Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    EXPECT_EQ(Save1(), Hex(format1.Bytes()));
}

TEST_F(SongTexts, PuttingTextsReplacesTheFirstTracksOwnAndEmptyTextsPutNothing) {
    midi.SetKeepSongNames(true);
    ASSERT_TRUE(Load(NamedTracks()));
    const std::string before = Save0();
    ASSERT_TRUE(midi.PutSongTexts("", ""));
    EXPECT_EQ(Save0(), before);

    // Only the name is given: the first track's name is replaced, the
    // copyright notice and the other tracks' names stay.
    ASSERT_TRUE(midi.PutSongTexts("", "New"));
    EXPECT_EQ(MetaTexts(), (std::vector<std::string>{"03 New", "02 (c) T", "03 Piano", "03 Bass", "01 Verse"}));
    ASSERT_TRUE(midi.PutSongTexts("(c) U", "Newer"));
    EXPECT_EQ(MetaTexts(), (std::vector<std::string>{"02 (c) U", "03 Newer", "03 Piano", "03 Bass", "01 Verse"}));
    EXPECT_EQ(midi.GetMetaEvent(4).Delta, 96u);
    EXPECT_EQ(midi.GetMetaEvent(1).Length, 5u);
    EXPECT_EQ(midi.GetMetaEvent(1).Data[5], 0);  // the data block ends in a zero byte
}

}  // namespace
}  // namespace tonalux
