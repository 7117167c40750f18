#include "SongReading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "StandardMidifile.h"

namespace tonalux {

InputFileCheck CheckInputFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        return {error == ENOENT ? InputFileState::Missing : InputFileState::Unreadable, std::strerror(error)};
    }
    if (S_ISDIR(info.st_mode)) return {InputFileState::NotAFile, std::strerror(EISDIR)};
    if (!S_ISREG(info.st_mode)) return {InputFileState::NotAFile, "not a file"};
    const int probe = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (probe < 0) return {InputFileState::Unreadable, std::strerror(errno)};
    ::close(probe);
    return {};
}

SongLoadState LoadSongFile(StandardMidifile& engine, const std::string& path) {
    if (!engine.LoadMidifile(path)) return engine.HeaderOk ? SongLoadState::Failed : SongLoadState::NotMidi;
    return engine.LastLoadReport().Damaged ? SongLoadState::Damaged : SongLoadState::Whole;
}

}  // namespace tonalux
