#include "write/WindowTurns.h"

#include "EngineHost.h"

namespace tonalux::detail {

namespace {

std::chrono::steady_clock::time_point SteadyNow() { return std::chrono::steady_clock::now(); }

TurnClock& Clock() {
    static TurnClock clock = &SteadyNow;
    return clock;
}

}  // namespace

TurnClock SetTurnClock(TurnClock clock) {
    const TurnClock previous = Clock();
    Clock() = clock ? clock : &SteadyNow;
    return previous;
}

WindowTurns::WindowTurns() : last_(Clock()()) {}

void WindowTurns::Step() {
    const auto now = Clock()();
    if (now - last_ < kTurnInterval) return;
    CurrentEngineHost().ProcessMessages();
    last_ = Clock()();
}

}  // namespace tonalux::detail
