// Shared pieces for the engine tests: a temporary folder that is removed
// again, and an engine host that records the messages instead of showing them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "EngineHost.h"
#include "Platform.h"

namespace tonalux::testing {

// A fresh folder under the system's temporary directory, made with a name no
// other process can take and removed with its contents.
class TempDir {
public:
    TempDir() : folder_("tonalux-test-"), path_(PathFromUtf8(folder_.Path())) {}
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The UTF-8 path of `name` inside the folder.
    std::string File(const std::string& name) const { return folder_.File(name); }

private:
    TemporaryFolder folder_;
    std::filesystem::path path_;
};

// Records every message; installed for its lifetime.
class RecordingHost : public EngineHost {
public:
    RecordingHost() { SetEngineHost(this); }
    ~RecordingHost() override { SetEngineHost(nullptr); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ProcessMessages() override { ++processed; }
    int VelocityThreshold() const override { return threshold; }

    std::vector<std::string> messages;
    int processed = 0;
    int threshold = 5;
};

}  // namespace tonalux::testing
