// Construction, the reset operations and the start-at-first-note option.
#include "StandardMidifile.h"

#include "lists/Hauptcontainer.h"

namespace tonalux {

StandardMidifile::StandardMidifile(Component* owner) : Component(owner) {}

StandardMidifile::~StandardMidifile() = default;

void StandardMidifile::Register() { RegisterComponentClass("Beispiele", "StandardMidifile"); }

bool StandardMidifile::InitHauptcontainer() {
    FileSize = 0;
    ReleaseFile();
    detail::Lists().Clear();
    // The lists are empty, so nothing lies behind: records added from now on
    // in tick order are appended instead of each searching its place.
    for (auto& tick : LastChannelTick) tick = 0;
    LastMetaTick = 0;
    LastSysexTick = 0;
    return true;
}

int StandardMidifile::Fileinitialisierung() {
    Bytepos = 0;
    HeaderOk = true;
    for (auto& byte : HeaderId) byte = 0;
    HeaderLength = 0;
    Format = 0;
    TrackCount = 0;
    Division = 0;
    return 1;
}

int StandardMidifile::Musteraufruf() { return 1; }

void StandardMidifile::SetStartFirstNote(bool value) { StartFirstNote = value; }

bool StandardMidifile::GetStartFirstNote() const { return StartFirstNote; }

}  // namespace tonalux
