#include "EngineHost.h"
#include "StandardMidifile.h"

#include <iostream>

namespace tonalux {

EngineHost::~EngineHost() = default;

void EngineHost::ProcessMessages() {}

int EngineHost::VelocityThreshold() const { return kDefaultVelocityThreshold; }

namespace {

// Without a window system, messages go to standard error.
class ConsoleHost final : public EngineHost {
public:
    void ShowMessage(const std::string& text) override { std::cerr << text << '\n'; }
};

ConsoleHost& DefaultHost() {
    static ConsoleHost host;
    return host;
}

EngineHost* installedHost = nullptr;

}  // namespace

void SetEngineHost(EngineHost* host) { installedHost = host; }

EngineHost& CurrentEngineHost() { return installedHost ? *installedHost : DefaultHost(); }

}  // namespace tonalux
