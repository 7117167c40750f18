// A fixture for the writer tests: empty lists, a recording host, a temporary
// folder, and a save that returns the bytes of the file written.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "EventRecords.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux::testing {

// A whole file in one read (large files too, and quickly under the sanitizers).
inline Bytes ReadWhole(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return {};
    Bytes bytes(static_cast<std::size_t>(size));
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

class WriterTest : public ::testing::Test {
protected:
    void SetUp() override { midi.InitHauptcontainer(); }
    void TearDown() override { midi.InitHauptcontainer(); }

    // Saves in the format, checks that the file holds what the writer
    // assembled, and returns the file's bytes.
    Bytes Save(int format, const std::string& name = "out.mid") {
        const std::string path = dir.File(name);
        EXPECT_TRUE(midi.SaveMidifile(format, path));
        Bytes bytes = ReadWhole(path);
        EXPECT_EQ(bytes, midi.WrittenBytes());
        return bytes;
    }
    std::string Save0() { return Hex(Save(0)); }
    std::string Save1() { return Hex(Save(1)); }

    bool Load(const Bytes& bytes) {
        const std::string path = dir.File("in.mid");
        WriteFile(path, bytes);
        return midi.LoadMidifile(path);
    }

    // The header chunk of a format 0 file with the given division, and the
    // start of its track chunk with the given length.
    static std::string Format0Head(std::uint32_t trackLength, std::uint16_t division = 0) {
        Bytes head{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
        AppendBE(head, division, 2);
        head.insert(head.end(), {'M', 'T', 'r', 'k'});
        AppendBE(head, trackLength, 4);
        return Hex(head);
    }

    TempDir dir;
    RecordingHost host;
    StandardMidifile midi{nullptr};
};

}  // namespace tonalux::testing
