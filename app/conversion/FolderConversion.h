// The folder conversion without any window: listing the song folders, the
// conversion of one song with the engine in its fixed calling order, and the
// output name rule. The main window and the command-line tool both use it, so
// they produce the same files for the same folder.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "StandardMidifile.h"

namespace tonalux {

class Component;

// Folders under the base folder, each ending in one separator.
inline constexpr const char* kInputFolder = "Midifile/";
inline constexpr const char* kOutputFolder = "Convert/";
inline constexpr const char* kVocoderSuffix = "_VOC-";
inline constexpr const char* kNoVocoderSuffix = "_NO-VOC";

// What one conversion reads from the main window's options.
struct ConversionOptions {
    int SaveFormat = 0;               // 0 writes format 0, any other value format 1
    bool DeleteVocoderSysex = true;   // "Yamaha Vocoder Sysex delete"
    bool StartFirstNote = false;      // "Start auf Tatkt 1"
    bool Recursive = false;           // also the songs in subfolders of the input folder
    bool DryRun = false;              // read and analyse each song, write nothing
};

// What became of one song.
struct ConversionResult {
    bool SourceExisted = false;  // false: the song was skipped without a message
    bool Loaded = false;         // the engine read the song
    bool Saved = false;          // the output file was written completely
    int VocoderResult = kNoVocoderChannel;  // vocoder channel 1..16, or kNoVocoderChannel for none
    std::string Destination;     // output path with its suffix; empty when skipped
    std::size_t EventCount = 0;  // records in all event lists after reading
};

// Bare names of the entries of a folder whose names match "*.mid" without
// regard to case and that are regular files or folders (links followed),
// sorted by name. A missing folder gives an empty list.
std::vector<std::string> ListMidiFolder(const std::string& folder);

// The songs of ListMidiFolder, and with `recursive` also those of every
// subfolder (links to folders are not followed, so no folder is visited
// twice), as paths relative to `folder` ("Live/Song.mid"), sorted. The folder
// `skip` and everything under it is left out, so that an output folder inside
// the input folder does not feed its outputs back.
std::vector<std::string> ListMidiSongs(const std::string& folder, bool recursive, const std::string& skip = {});

// "_NO-VOC" for kNoVocoderChannel, otherwise "_VOC-" and the channel number.
std::string VocoderSuffix(int vocoderResult);

// The suffix goes in front of the last four characters of the path.
std::string InsertSuffix(const std::string& destination, const std::string& suffix);

// The current directory followed by "/".
std::string CurrentBaseFolder();

// Converts one song: a fresh engine object owned by `owner`, SetStartFirstNote,
// LoadMidifile, DeleteVocoderNachrichten when asked, VocoderKanalAnalyse, and
// SaveMidifile under the suffixed name (not with DryRun). A song that cannot
// be read gets no output. `busy` is called with true before reading and with false after
// saving (the main window's lamp).
ConversionResult ConvertMidifile(Component* owner, const std::string& source, const std::string& destination,
                                 const ConversionOptions& options,
                                 const std::function<void(bool)>& busy = {});

}  // namespace tonalux
