#include "SheetFile.h"

#include <vector>

#include "Component.h"
#include "MessageGathering.h"
#include "SongLyrics.h"
#include "SongOutcome.h"
#include "SongReading.h"
#include "SongSheet.h"
#include "StandardMidifile.h"

namespace tonalux {

std::string SheetPathFor(const std::string& songPath) {
    constexpr std::size_t kSuffixLength = 4;
    const std::size_t slash = songPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t stem = songPath.size() - nameStart > kSuffixLength ? songPath.size() - kSuffixLength : songPath.size();
    return songPath.substr(0, stem) + ".cho";
}

ReplaceOutcome WriteSongSheet(const StandardMidifile& song, const std::string& songName, const std::string& target) {
    const std::string text = ChordProText(MakeSongSheet(song, ReadLyrics(song), songName));
    return ReplaceFileContents(target, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::optional<SongSheet> ReadSongSheet(const std::string& path, std::string& problem) {
    problem.clear();
    const InputFileCheck check = CheckInputFile(path);
    if (check.State == InputFileState::Missing) {
        problem = "no such file";
        return std::nullopt;
    }
    if (check.State == InputFileState::NotAFile) {
        problem = "not a file";
        return std::nullopt;
    }
    if (check.State == InputFileState::Unreadable) {
        problem = "could not be read: " + check.Reason;
        return std::nullopt;
    }
    std::vector<std::string> messages;
    MessageGathering host(messages);
    Component owner(nullptr);
    StandardMidifile song(&owner);
    song.SetKeepSongNames(true);
    const SongLoadState loaded = LoadSongFile(song, path);
    if (loaded == SongLoadState::NotMidi) {
        problem = "not a MIDI file";
        return std::nullopt;
    }
    if (loaded == SongLoadState::Failed) {
        problem = "could not be read";
        return std::nullopt;
    }
    SongSheet sheet = MakeSongSheet(song, ReadLyrics(song), path);
    if (loaded == SongLoadState::Damaged) sheet.Notes.insert(sheet.Notes.begin(), DescribeDamage(song.LastLoadReport()));
    return sheet;
}

}  // namespace tonalux
