// Gathers the engine's messages for the time it is installed instead of
// showing them, so that a front end can show them once, next to the song
// they belong to. The window's turns and the velocity threshold still come
// from the host that was in force before; it is in force again afterwards.
#pragma once

#include <string>
#include <vector>

#include "EngineHost.h"

namespace tonalux {

class MessageGathering final : public EngineHost {
public:
    explicit MessageGathering(std::vector<std::string>& into) : previous_(CurrentEngineHost()), into_(into) {
        SetEngineHost(this);
    }
    ~MessageGathering() override { SetEngineHost(&previous_); }
    MessageGathering(const MessageGathering&) = delete;
    MessageGathering& operator=(const MessageGathering&) = delete;

    void ShowMessage(const std::string& text) override {
        if (keep_) into_.push_back(text);
    }
    void ProcessMessages() override { previous_.ProcessMessages(); }
    int VelocityThreshold() const override { return previous_.VelocityThreshold(); }
    // false: later messages are dropped (their cause is reported otherwise).
    void Keep(bool keep) { keep_ = keep; }

private:
    EngineHost& previous_;
    std::vector<std::string>& into_;
    bool keep_ = true;
};

}  // namespace tonalux
