// The working folder: the folder whose Midifile/ and Convert/ the window works
// on. "tonalux DIR" names it; otherwise the start folder when it holds
// Midifile/, else the folder the user chose last ("Choose working folder…"),
// else the start folder. Nothing is created without asking.
#pragma once

#include <QString>
#include <string>
#include <vector>

// Whether the command line named the folder; then it wins over a remembered one.
void SetFolderFromCommandLine(bool given);

// The base folder the window starts on, ending in "/". `remembered` is the
// folder chosen last, or empty.
std::string StartBaseFolder(const QString& remembered);

// The folders among BaseFolder + "Midifile/" and + "Convert/" that do not
// exist, in this order.
std::vector<std::string> MissingFolders(const std::string& base);

// Creates the folders; the system's reason of the first that fails, or empty.
QString CreateFolders(const std::vector<std::string>& folders);
