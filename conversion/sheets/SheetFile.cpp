#include "SheetFile.h"

#include <vector>

#include "SongLyrics.h"
#include "SongSheet.h"

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

}  // namespace tonalux
