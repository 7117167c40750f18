// Stand-in clocks for the engine's window turns. Neither reads the machine's
// clock: one stands still, the other moves a whole second on at every reading,
// so a test decides whether the writer gives turns, however fast the machine is.
#pragma once

#include <chrono>
#include <cstdint>

#include "write/WindowTurns.h"

namespace tonalux::testing {

inline std::chrono::steady_clock::time_point StandingClock() { return {}; }

inline std::chrono::steady_clock::time_point RacingClock() {
    static std::int64_t seconds = 0;
    return std::chrono::steady_clock::time_point(std::chrono::seconds(++seconds));
}

// Puts a stand-in clock in force for its lifetime.
class TurnClockFor {
public:
    explicit TurnClockFor(detail::TurnClock clock) : previous_(detail::SetTurnClock(clock)) {}
    ~TurnClockFor() { detail::SetTurnClock(previous_); }
    TurnClockFor(const TurnClockFor&) = delete;
    TurnClockFor& operator=(const TurnClockFor&) = delete;

private:
    detail::TurnClock previous_;
};

}  // namespace tonalux::testing
