// A fixture for tests that load songs built in the test: a temporary folder,
// a host that records the messages, and an engine object.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux::testing {

class LoadTest : public ::testing::Test {
protected:
    // Writes the bytes to a file and loads it; the messages of this load only.
    bool Load(const Bytes& bytes) {
        const std::string path = dir.File("song.mid");
        WriteFile(path, bytes);
        host.messages.clear();
        return midi.LoadMidifile(path);
    }
    // Records in all sixteen channel lists.
    int ChannelEvents() {
        int n = 0;
        for (int c = 0; c < 16; ++c) n += midi.GetSizeMidievents(c);
        return n;
    }

    TempDir dir;
    RecordingHost host;
    StandardMidifile midi{nullptr};
};

}  // namespace tonalux::testing
