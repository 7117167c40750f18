// Shared pieces for the engine tests: a temporary folder that is removed
// again, and an engine host that records the messages instead of showing them.
#pragma once

#include <stdlib.h>

#include <stdexcept>
#include <filesystem>
#include <string>
#include <vector>

#include "EngineHost.h"

namespace tonalux::testing {

// A fresh folder under the system's temporary directory, removed with its contents.
class TempDir {
public:
    // The system picks the name (mkdtemp), so no two tests share a folder.
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tonalux-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp: cannot create a folder");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
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
