// The window system as the engine sees it: a modal message box, a way to let
// pending window input run during long work, and the velocity threshold shown
// in the main window. One host is installed for the whole process.
#pragma once

#include <string>

namespace tonalux {

class EngineHost {
public:
    virtual ~EngineHost();
    // Modal message box with a fixed text.
    virtual void ShowMessage(const std::string& text) = 0;
    // Lets pending window input run; does nothing by default.
    virtual void ProcessMessages();
    // The value shown in the main window's velocity display;
    // kDefaultVelocityThreshold by default.
    virtual int VelocityThreshold() const;
};

// Installs the process-wide host; nullptr restores the default host, which
// writes messages to standard error.
void SetEngineHost(EngineHost* host);

// The host in force.
EngineHost& CurrentEngineHost();

}  // namespace tonalux
