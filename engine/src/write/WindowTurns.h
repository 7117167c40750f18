// Turns for the window system during long work. The format 0 writer collects
// a whole song's channel records in one go; so that the window stays live
// while it does, the host gets a turn (EngineHost::ProcessMessages) whenever
// kTurnInterval has passed since the last one, not after every record, which
// would cost more than the work itself.
#pragma once

#include <chrono>

namespace tonalux::detail {

inline constexpr auto kTurnInterval = std::chrono::milliseconds(20);

using TurnClock = std::chrono::steady_clock::time_point (*)();

// Replaces the clock that paces the turns and returns the one in force
// before; nullptr puts the steady clock back. Tests use it to give turns
// that do not depend on how fast the machine is.
TurnClock SetTurnClock(TurnClock clock);

class WindowTurns {
public:
    WindowTurns();
    // One step of the work: gives the host a turn when the interval has passed.
    void Step();

private:
    std::chrono::steady_clock::time_point last_;
};

}  // namespace tonalux::detail
