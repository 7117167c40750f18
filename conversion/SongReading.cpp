#include "SongReading.h"

#include <cerrno>

#include "Platform.h"
#include "StandardMidifile.h"

namespace tonalux {

InputFileCheck CheckInputFile(const std::string& path) {
    const FileStatus status = StatusOf(path);
    if (status.Kind == FileKind::Missing)
        return {status.Error.Code == ENOENT ? InputFileState::Missing : InputFileState::Unreadable,
                status.Error.Reason};
    if (status.Kind == FileKind::Folder) return {InputFileState::NotAFile, ReasonOf(EISDIR)};
    if (status.Kind != FileKind::Regular) return {InputFileState::NotAFile, "not a file"};
    SystemError error;
    if (!CanOpenForReading(path, error)) return {InputFileState::Unreadable, error.Reason};
    return {};
}

namespace {

SongLoadState StateOfLoad(const StandardMidifile& engine, bool loaded) {
    if (!loaded) return engine.HeaderOk ? SongLoadState::Failed : SongLoadState::NotMidi;
    return engine.LastLoadReport().Damaged ? SongLoadState::Damaged : SongLoadState::Whole;
}

}  // namespace

SongLoadState LoadSongFile(StandardMidifile& engine, const std::string& path) {
    return StateOfLoad(engine, engine.LoadMidifile(path));
}

SongLoadState LoadSongFromBytes(StandardMidifile& engine, const std::vector<std::uint8_t>& bytes) {
    return StateOfLoad(engine, engine.LoadMidiBytes(bytes.data(), bytes.size()));
}

}  // namespace tonalux
