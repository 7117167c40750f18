// The read loop of the whole-file reads: every byte a source gives lands in
// the vector once, a source that tells its size takes one allocation, and
// one that does not grows by doubling, not by a read's worth at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "Platform.h"
#include "SongBuilder.h"
#include "TestSupport.h"
#include "platform/ReadInto.h"

namespace tonalux {
namespace {

using detail::ReadEnd;

// A source that gives `total` numbered bytes, at most `piece` at a time, and
// then its end, or with `failAt` an error once that many bytes were given.
struct Source {
    std::size_t total = 0;
    std::size_t piece = 0;
    std::size_t failAt = SIZE_MAX;
};

struct Case {
    const char* name;
    Source source;
    std::uint64_t expected;  // the size the system tells, 0 for none
    std::vector<std::uint8_t> before;
    ReadEnd end;
    std::size_t mostAllocations;
};

std::uint8_t ByteAt(std::size_t i) { return static_cast<std::uint8_t>(i * 7 + i / 251); }

TEST(ReadInto, EveryByteOnceInFewAllocations) {
    const std::vector<Case> cases = {
        {"a file of the size told", {200'000, 65'536}, 200'000, {}, ReadEnd::Whole, 1},
        {"a file read in pieces of one byte", {1'000, 1}, 1'000, {}, ReadEnd::Whole, 1},
        {"an empty file", {0, 65'536}, 0, {}, ReadEnd::Whole, 1},
        {"a file that grew since its size was told", {300'000, 65'536}, 1'000, {}, ReadEnd::Whole, 4},
        {"a pipe, which tells no size", {1'000'000, 4'096}, 0, {}, ReadEnd::Whole, 6},
        {"behind what the vector holds", {70'000, 65'536}, 70'000, {1, 2, 3}, ReadEnd::Whole, 1},
        {"an error after some bytes", {100'000, 30'000, 60'000}, 100'000, {}, ReadEnd::Failed, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = c.before;
        std::size_t given = 0;
        std::set<const std::uint8_t*> rooms;
        const ReadEnd end = detail::ReadInto(bytes, c.expected, [&](std::uint8_t* into, std::size_t room) {
            rooms.insert(bytes.data());
            EXPECT_EQ(into, bytes.data() + c.before.size() + given);
            if (given >= c.source.failAt) return std::ptrdiff_t{-1};
            const std::size_t n = std::min({room, c.source.piece, c.source.total - given});
            for (std::size_t i = 0; i < n; ++i) into[i] = ByteAt(given + i);
            given += n;
            return static_cast<std::ptrdiff_t>(n);
        });
        EXPECT_EQ(end, c.end);
        ASSERT_EQ(bytes.size(), c.before.size() + given);
        EXPECT_TRUE(std::equal(c.before.begin(), c.before.end(), bytes.begin()));
        bool same = true;
        for (std::size_t i = 0; i < given && same; ++i) same = bytes[c.before.size() + i] == ByteAt(i);
        EXPECT_TRUE(same);
        EXPECT_EQ(given, c.end == ReadEnd::Whole ? c.source.total : c.source.failAt);
        EXPECT_LE(rooms.size(), c.mostAllocations);
    }
}

TEST(ReadInto, WholeFileReadGivesTheFileAsItIs) {
    // One byte more than the room a read starts with, and CR LF pairs kept.
    testing::TempDir dir;
    std::vector<std::uint8_t> content(detail::kReadStep + 1);
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = i % 2 ? '\n' : '\r';
    content.back() = 0xFF;
    const std::string path = dir.File("song.mid");
    testing::WriteFile(path, content);

    std::vector<std::uint8_t> bytes;
    SystemError error;
    ASSERT_TRUE(ReadWholeFile(path, bytes, error)) << error.Reason;
    EXPECT_EQ(bytes, content);
}

}  // namespace
}  // namespace tonalux
