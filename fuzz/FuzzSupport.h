// What every fuzz target shares: a host that swallows the engine's message
// boxes and remembers whether the reader reported damage, and the check that
// stops the run on a broken property, naming it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "EngineHost.h"
#include "MidiRecords.h"

namespace tonalux::fuzz {

class QuietHost : public EngineHost {
public:
    void ShowMessage(const std::string& text) override {
        if (text == "Byteread Error!") damage = true;
        else other = true;
    }
    void Forget() { damage = other = false; }
    bool damage = false;
    bool other = false;
};

// The host of the process, installed at the first call.
inline QuietHost& InstalledHost() {
    static QuietHost host;
    static const bool installed = (SetEngineHost(&host), true);
    (void)installed;
    return host;
}

[[noreturn]] inline void Fault(const char* what) {
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::fflush(stderr);
    __builtin_trap();
}

inline void Check(bool ok, const char* what) {
    if (!ok) Fault(what);
}

// A meta event as comparable bytes: status, type, data and tick.
inline std::vector<std::uint8_t> RecordBytes(const MetaEvent& e) {
    std::vector<std::uint8_t> out;
    out.reserve(6 + e.Length);
    out.push_back(e.Status);
    out.push_back(e.Type);
    for (std::uint32_t i = 0; i < e.Length && e.Data.get() != nullptr; ++i) out.push_back(e.Data.get()[i]);
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(e.Tick >> shift));
    return out;
}

}  // namespace tonalux::fuzz
