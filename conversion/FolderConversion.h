// The folder conversion without any window: listing the song folders, the
// checks before a run, the conversion of one song with the engine in its fixed
// calling order, the output name rule, and the loop over a folder. The main
// window and the command-line tool both run this loop and only present its
// outcomes, so they produce the same files and report the same results.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ConversionOptions.h"
#include "SongOutcome.h"

namespace tonalux {

class Component;

// Folders under the base folder, each ending in one separator.
inline constexpr const char* kInputFolder = "Midifile/";
inline constexpr const char* kOutputFolder = "Convert/";
inline constexpr const char* kVocoderSuffix = "_VOC-";
inline constexpr const char* kNoVocoderSuffix = "_NO-VOC";

// The two folders of a run, each ending in "/". Song names are relative to
// them, so a name may also lead into a subfolder.
struct ConversionFolders {
    std::string Input;
    std::string Output;
};

// BaseFolder + "Midifile/" and BaseFolder + "Convert/"; `base` ends in "/".
ConversionFolders DefaultFolders(const std::string& base);

// Bare names of the entries of a folder whose names match "*.mid" without
// regard to case and that are regular files or folders (links followed),
// sorted by name. A missing folder gives an empty list.
std::vector<std::string> ListMidiFolder(const std::string& folder);

// Which of a run's folders a problem concerns.
enum class FolderRole { Input, Output };

// A folder that cannot serve a run, with the system's reason.
struct FolderProblem {
    std::string Folder;
    std::string Reason;  // "No such file or directory", "Permission denied", ...
    int Error = 0;       // the system's error number behind the reason (0 for the input folder as output)
    FolderRole Role = FolderRole::Output;
};

// The checks before a run, both front ends present their outcome:
//  - the input folder can be read; its songs are listed (with Recursive those
//    of its subfolders too, the output folder left out);
//  - the output folder is not the input folder under another name (a link,
//    "..", a bind mount: the same device and file number), since every output
//    would then land among the inputs;
//  - the output folder is a folder that takes a new file; for a dry run, which
//    writes nothing, only that it is a folder.
// The first folder that fails is the problem, and nothing may be converted.
// Neither folder is created, and nothing is written into the input folder.
struct RunFolderCheck {
    std::vector<std::string> Names;
    std::optional<FolderProblem> Problem;
};
RunFolderCheck CheckRunFolders(const ConversionFolders& folders, const ConversionOptions& options);

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
// LoadMidifile, DeleteVocoderNachrichten when asked, the settings when asked
// (ApplySongSettings), VocoderKanalAnalyse with the run's threshold, so that the suffix names the
// vocoder channel as the output has it, the chords from the notes when asked
// (AddChordsFromNotes, keeping the chords a song has), the words as keyboard
// lyrics when asked (ConvertKeyboardLyrics), and SaveMidifile under the suffixed
// name. A song that cannot be read gets no output. `busy` is called with true before reading and with false after
// saving (the main window's lamp). The engine's messages during the song are
// gathered into the outcome instead of being shown.
SongOutcome ConvertSong(Component* owner, const ConversionFolders& folders, const std::string& name,
                        const ConversionOptions& options, const std::function<void(bool)>& busy = {});

// What the loop tells its front end.
struct ConversionHooks {
    // Before song `index` of the list; returning false stops the run there.
    std::function<bool(std::size_t index, const std::string& name)> BeforeSong;
    // After each song, with what became of it.
    std::function<void(const SongOutcome& outcome)> AfterSong;
    // The lamp: true while a song is read, analysed and written.
    std::function<void(bool busy)> Busy;
};

// Converts the listed songs of folders.Input into folders.Output, one after
// the other, and gives one outcome per song converted or passed over. A song
// whose output could be one of the listed input files (through a link, or
// when both folders are the same) is skipped before it is read. The caller
// checks the folders first (CheckRunFolders). The run is ConvertSongs over
// the songs of the one input folder.
std::vector<SongOutcome> ConvertFolder(Component* owner, const ConversionFolders& folders,
                                       const std::vector<std::string>& names, const ConversionOptions& options,
                                       const ConversionHooks& hooks = {});

// One song of a run: its folder (ending in "/") and its name within it, which
// is also the output's name within the output folder.
struct SongSource {
    std::string Folder;
    std::string Name;
    bool operator==(const SongSource&) const = default;
};

// The loop of every run: the songs, which may come from several folders (the
// songs a user drops onto the window), converted into one output folder in
// the order given. An output that could be one of the run's input files is
// skipped before its song is read. The outcome's Name is the song's name.
std::vector<SongOutcome> ConvertSongs(Component* owner, const std::vector<SongSource>& songs,
                                      const std::string& outputFolder, const ConversionOptions& options,
                                      const ConversionHooks& hooks = {});

// The songs of dropped paths: a file whose name matches "*.mid" (without
// regard to case) is one song, a folder gives the songs ListMidiFolder lists
// in it. Paths that are neither are given back in `passedOver`. A song named
// twice is taken once.
std::vector<SongSource> DroppedSongs(const std::vector<std::string>& paths, std::vector<std::string>& passedOver);

}  // namespace tonalux
