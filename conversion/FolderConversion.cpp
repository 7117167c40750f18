#include "FolderConversion.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>
#include <utility>

#include "ChordRecognition.h"
#include "MessageGathering.h"
#include "SafeReplace.h"
#include "SheetFile.h"
#include "SongReading.h"
#include "StandardMidifile.h"

namespace fs = std::filesystem;

namespace tonalux {

namespace {

// The chords of a song from its notes; a song keeps the chord events it has.
ChordsResult AddChords(StandardMidifile& song) {
    switch (AddChordsFromNotes(song, false).Outcome) {
        case ChordsFromNotes::Added: return ChordsResult::Added;
        case ChordsFromNotes::AlreadyHad: return ChordsResult::AlreadyHad;
        case ChordsFromNotes::NoneFound: break;
    }
    return ChordsResult::NoneFound;
}

bool EndsWithMidiPattern(const std::string& name) {
    static const char pattern[] = ".mid";
    if (name.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>(name[name.size() - 4 + i]);
        if (std::tolower(c) != pattern[i]) return false;
    }
    return true;
}

// Whether any name the song's output can take (one per vocoder result) is one
// of the input files: gives that output's name and the input's name.
std::optional<std::pair<std::string, std::string>> OutputHittingInput(
    const std::string& outputFolder, const std::string& name, const std::map<FileIdentity, std::string>& inputs) {
    std::vector<int> results{kNoVocoderChannel};
    for (int channel = 1; channel <= 16; ++channel) results.push_back(channel);
    for (int result : results) {
        const std::string candidate = InsertSuffix(outputFolder + name, VocoderSuffix(result));
        const auto identity = IdentityOf(candidate);
        if (!identity) continue;
        if (auto hit = inputs.find(*identity); hit != inputs.end())
            return std::make_pair(candidate.substr(outputFolder.size()), hit->second);
    }
    return std::nullopt;
}

// The songs of the input folder as ListMidiSongs gives them, or why the
// folder cannot be read.
struct SongListing {
    std::vector<std::string> Names;
    std::optional<FolderProblem> Problem;
};
SongListing ListSongs(const std::string& inputFolder, bool recursive, const std::string& skip) {
    SongListing listing;
    std::vector<FolderEntry> entries;
    SystemError error;
    if (!ListFolder(inputFolder, entries, error)) {
        listing.Problem = FolderProblem{inputFolder, error.Reason, error.Code, FolderRole::Input};
        return listing;
    }
    listing.Names = ListMidiSongs(inputFolder, recursive, skip);
    return listing;
}

// Whether a file can be created in the output folder: it must exist, be a
// folder, and take a new file (tried with a file that is removed at once).
std::optional<FolderProblem> CheckOutputFolder(const std::string& outputFolder) {
    const FileStatus status = StatusOf(outputFolder);
    if (status.Kind == FileKind::Missing) return FolderProblem{outputFolder, status.Error.Reason, status.Error.Code};
    if (status.Kind != FileKind::Folder) return FolderProblem{outputFolder, ReasonOf(ENOTDIR), ENOTDIR};
    // Only a real attempt tells: permission bits do not bind every user, and a
    // read-only file system or a full disk shows only when a file is made.
    SystemError error;
    if (!FolderTakesNewFiles(outputFolder, error)) return FolderProblem{outputFolder, error.Reason, error.Code};
    return std::nullopt;
}

}  // namespace

std::vector<std::string> ListMidiFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::vector<FolderEntry> entries;
    SystemError error;
    ListFolder(folder, entries, error);
    for (const auto& entry : entries) {
        if (!EndsWithMidiPattern(entry.Name)) continue;
        if (entry.Kind == FileKind::Regular || entry.Kind == FileKind::Folder) names.push_back(entry.Name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListMidiSongs(const std::string& folder, bool recursive, const std::string& skip) {
    if (!recursive) return ListMidiFolder(folder);
    // The skipped folder is known by its identity, however its path is written.
    const auto skipped = skip.empty() ? std::nullopt : IdentityOf(skip);
    const std::string root = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    std::vector<std::string> songs;
    std::vector<std::string> pending{""};  // folders relative to `folder` ending in "/", still to be listed
    while (!pending.empty()) {
        const std::string relative = pending.back();
        pending.pop_back();
        const std::string here = root + relative;
        for (const auto& name : ListMidiFolder(here)) songs.push_back(relative + name);
        std::vector<FolderEntry> entries;
        SystemError error;
        ListFolder(here, entries, error);
        for (const auto& entry : entries) {
            if (entry.Kind != FileKind::Folder || entry.Link) continue;
            if (skipped && IdentityOf(here + entry.Name) == skipped) continue;
            pending.push_back(relative + entry.Name + "/");
        }
    }
    std::sort(songs.begin(), songs.end());
    return songs;
}

std::string VocoderSuffix(int vocoderResult) {
    if (vocoderResult == kNoVocoderChannel) return kNoVocoderSuffix;
    return kVocoderSuffix + std::to_string(vocoderResult);
}

std::string InsertSuffix(const std::string& destination, const std::string& suffix) {
    // A path shorter than four characters takes the suffix at its front.
    const std::size_t at = destination.size() >= 4 ? destination.size() - 4 : 0;
    std::string out = destination;
    out.insert(at, suffix);
    return out;
}

std::string CurrentBaseFolder() {
    std::error_code ec;
    std::string base = Utf8FromPath(fs::current_path(ec));
    if (base.empty() || (base.back() != '/' && base.back() != '\\')) base += '/';
    return base;
}

ConversionFolders DefaultFolders(const std::string& base) {
    return {base + kInputFolder, base + kOutputFolder};
}

RunFolderCheck CheckRunFolders(const ConversionFolders& folders, const ConversionOptions& options) {
    RunFolderCheck check;
    SongListing listing = ListSongs(folders.Input, options.Recursive, folders.Output);
    if (listing.Problem) {
        check.Problem = std::move(listing.Problem);
        return check;
    }
    check.Names = std::move(listing.Names);
    // Before the trial file below, which would otherwise land among the inputs.
    if (SameFile(folders.Input, folders.Output)) {
        check.Problem = FolderProblem{folders.Output, "it is the input folder " + folders.Input, 0, FolderRole::Output};
        return check;
    }
    if (options.DryRun) {
        if (StatusOf(folders.Output).Kind != FileKind::Folder)
            check.Problem = FolderProblem{folders.Output, ReasonOf(ENOTDIR), ENOTDIR, FolderRole::Output};
        return check;
    }
    check.Problem = CheckOutputFolder(folders.Output);
    return check;
}

SongOutcome ConvertSong(Component* owner, const ConversionFolders& folders, const std::string& name,
                        const ConversionOptions& options, const std::function<void(bool)>& busy) {
    SongOutcome outcome;
    outcome.Name = name;
    // The engine object lives for this one song; it is destroyed on every way out.
    std::unique_ptr<StandardMidifile> current(new StandardMidifile(owner));
    const std::string source = folders.Input + name;

    const InputFileCheck check = CheckInputFile(source);
    switch (check.State) {
        case InputFileState::Readable: break;
        case InputFileState::Missing: return outcome;  // gone since the list was made
        case InputFileState::NotAFile: outcome.Result = SongResult::NotAFile; return outcome;
        case InputFileState::Unreadable:
            outcome.Result = SongResult::ReadFailed;
            outcome.Reason = check.Reason;
            return outcome;
    }
    // The bytes are read once, here, with the system's reason when that fails.
    std::vector<std::uint8_t> bytes;
    SystemError readError;
    if (!ReadWholeFile(source, bytes, readError)) {
        outcome.Result = SongResult::ReadFailed;
        outcome.Reason = readError.Reason;
        return outcome;
    }

    struct Lamp {
        const std::function<void(bool)>& busy;
        explicit Lamp(const std::function<void(bool)>& b) : busy(b) {
            if (busy) busy(true);
        }
        ~Lamp() {
            if (busy) busy(false);
        }
    } lamp(busy);
    MessageGathering host(outcome.Messages);

    current->SetStartFirstNote(options.StartFirstNote);
    const SongLoadState loaded = LoadSongFromBytes(*current, bytes);
    outcome.Load = current->LastLoadReport();
    if (loaded == SongLoadState::NotMidi) {
        outcome.Result = SongResult::NotMidi;
        return outcome;
    }
    if (loaded == SongLoadState::Failed) {
        outcome.Result = SongResult::ReadFailed;
        outcome.Reason = "the engine could not read it";
        return outcome;
    }
    if (options.DeleteVocoderSysex) current->DeleteVocoderNachrichten();
    if (options.ApplySettings) ApplySongSettings(*current, options.Settings);
    outcome.VocoderChannel = current->VocoderKanalAnalyse(options.VelocityThreshold);
    if (options.AddChords) outcome.Chords = AddChords(*current);
    if (options.KeyboardLyrics) outcome.Lyrics = ConvertKeyboardLyrics(*current, options.Lyrics);
    const std::string destination = InsertSuffix(folders.Output + name, VocoderSuffix(outcome.VocoderChannel));
    outcome.Output = destination.substr(folders.Output.size());

    // A dry run stops here: the song was read and analysed, nothing is written.
    if (options.DryRun) {
        outcome.Result = outcome.Load.Damaged ? SongResult::ConvertedDamaged : SongResult::Converted;
        return outcome;
    }
    // A song of a subfolder goes to the same subfolder of the output folder,
    // which is made when it is missing.
    const std::string parent = destination.substr(0, destination.find_last_of('/'));
    SystemError madeError;
    if (name.find('/') != std::string::npos && StatusOf(parent).Kind != FileKind::Folder &&
        !MakeFolders(parent, madeError)) {
        outcome.Result = SongResult::WriteFailed;
        outcome.Reason = madeError.Reason;
        return outcome;
    }
    // The writer's message about a failed write names no cause; the outcome's reason does.
    host.Keep(false);
    if (current->SaveMidifile(FormatNumber(options.Format), destination)) {
        outcome.Result = outcome.Load.Damaged ? SongResult::ConvertedDamaged : SongResult::Converted;
        if (options.Sheets) {
            const std::string sheet = SheetPathFor(destination);
            const ReplaceOutcome written = WriteSongSheet(*current, name, sheet);
            if (written)
                outcome.Sheet = sheet.substr(folders.Output.size());
            else
                outcome.SheetFailure = written.Reason;
        }
    } else {
        outcome.Result = SongResult::WriteFailed;
        outcome.Reason = LastSaveFailure();
    }
    return outcome;
}

std::vector<SongOutcome> ConvertFolder(Component* owner, const ConversionFolders& folders,
                                       const std::vector<std::string>& names, const ConversionOptions& options,
                                       const ConversionHooks& hooks) {
    std::vector<SongSource> songs;
    songs.reserve(names.size());
    for (const auto& name : names) songs.push_back({folders.Input, name});
    return ConvertSongs(owner, songs, folders.Output, options, hooks);
}

std::vector<SongOutcome> ConvertSongs(Component* owner, const std::vector<SongSource>& songs,
                                      const std::string& outputFolder, const ConversionOptions& options,
                                      const ConversionHooks& hooks) {
    // The input files as the run found them; an output that is one of them
    // would destroy a song.
    std::map<FileIdentity, std::string> inputs;
    for (const auto& song : songs)
        if (auto identity = IdentityOf(song.Folder + song.Name)) inputs.emplace(*identity, song.Name);

    std::vector<SongOutcome> outcomes;
    outcomes.reserve(songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        const SongSource& song = songs[i];
        if (hooks.BeforeSong && !hooks.BeforeSong(i, song.Name)) break;
        SongOutcome outcome;
        if (auto hit = OutputHittingInput(outputFolder, song.Name, inputs)) {
            outcome.Name = song.Name;
            outcome.Result = SongResult::SkippedInput;
            outcome.Output = hit->first;
            outcome.Reason = hit->second;
        } else {
            outcome = ConvertSong(owner, {song.Folder, outputFolder}, song.Name, options, hooks.Busy);
        }
        if (hooks.AfterSong) hooks.AfterSong(outcome);
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::vector<SongSource> DroppedSongs(const std::vector<std::string>& paths, std::vector<std::string>& passedOver) {
    // Every song's output is named after it in the one output folder: of two
    // songs of the same name from different folders only the first is taken,
    // so that no output replaces another of the same run.
    std::vector<SongSource> songs;
    auto add = [&songs, &passedOver](SongSource song) {
        const auto same = std::find_if(songs.begin(), songs.end(),
                                       [&song](const SongSource& taken) { return taken.Name == song.Name; });
        if (same == songs.end()) songs.push_back(std::move(song));
        else if (!(*same == song)) passedOver.push_back(song.Folder + song.Name);
    };
    for (std::string path : paths) {
        while (path.size() > 1 && path.back() == '/') path.pop_back();
        const FileStatus status = StatusOf(path);
        if (status.Kind == FileKind::Folder) {
            const std::string folder = path + '/';
            for (const auto& name : ListMidiFolder(folder)) add({folder, name});
            continue;
        }
        const std::size_t slash = path.find_last_of('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (status.Kind == FileKind::Regular && EndsWithMidiPattern(name))
            add({slash == std::string::npos ? std::string() : path.substr(0, slash + 1), name});
        else
            passedOver.push_back(path);
    }
    return songs;
}

}  // namespace tonalux
