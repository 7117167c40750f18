// libFuzzer target over the setup-file reader and what a conversion does with
// a setup: the checks and the settings applied to a song.
//
// The input is a setup file (its last record counts). The target stops when
// the reader takes a file whose size is not a positive multiple of 312 bytes
// or refuses one whose size is, when the record read does not encode back
// into the same bytes, when the check of the conversion and the check of the
// windows disagree, or when a setup that passes them, applied to a song with
// program changes and notes on several channels, drum kits included, gives a
// song that cannot be saved or that the reader finds damaged.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SongSettings.h"
#include "StandardMidifile.h"
#include "settings/SetupFile.h"

namespace {

using tonalux::fuzz::Check;
namespace settings = tonalux::settings;

// Format 0, division 96: bank 0 and program 1 on channel 1, program 6 on
// channel 10, program 40 on channel 3 with a bank select of 8, a note on
// channels 1, 3, 5 and 10.
const std::vector<std::uint8_t> kSong{
    'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,  //
    'M', 'T', 'r', 'k', 0, 0, 0, 53,                    //
    0, 0xB0, 0, 0, 0, 0xC0, 0, 0, 0xC9, 5, 0, 0xB2, 0, 8, 0, 0xC2, 39,
    0, 0x90, 60, 100, 0, 0x92, 64, 90, 0, 0x94, 67, 3, 0, 0x99, 36, 100,
    96, 0x80, 60, 0, 0, 0x82, 64, 0, 0, 0x84, 67, 0, 0, 0x89, 36, 0,
    0, 0xFF, 0x2F, 0};

std::string WorkFile() {
    std::error_code ec;
    const std::filesystem::path folder =
        std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                      : std::filesystem::temp_directory_path();
    return (folder / ("tonalux-fuzz-" + std::to_string(::getpid()) + "-setup.set")).string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tonalux::fuzz::QuietHost& host = tonalux::fuzz::InstalledHost();
    static const std::string path = WorkFile();
    static const int cleanup = std::atexit([] { std::remove(path.c_str()); });
    (void)cleanup;
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) return 0;
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        if (std::fclose(file) != 0 || !written) return 0;
    }

    tonalux::SongSettings setup;
    const auto outcome = settings::LoadSetupFile(path, setup.Programs, setup.Information);
    const bool wholeRecords = size > 0 && size % settings::kSetupRecordSize == 0;
    Check((outcome == settings::SetupLoadOutcome::Loaded) == wholeRecords, "setup taken or refused by its size wrongly");
    if (!wholeRecords) return 0;
    const std::uint8_t* last = data + size - settings::kSetupRecordSize;
    const settings::SetupRecord encoded = settings::EncodeSetup(setup.Programs, setup.Information);
    Check(std::equal(encoded.begin(), encoded.end(), last), "the record read does not encode back into its bytes");

    const auto problem = settings::CheckSetup(setup.Programs, setup.Information);
    const auto conversionProblem = tonalux::SongSettingsProblem(setup);
    Check(problem.has_value() == conversionProblem.has_value(), "the window and the conversion check differently");
    if (problem) {
        Check(!problem->Text().empty() && *conversionProblem == problem->Text(), "a problem without its text");
        return 0;
    }

    tonalux::StandardMidifile song(nullptr);
    host.Forget();
    Check(song.LoadMidiBytes(kSong.data(), kSong.size()) && !host.damage, "the song of the target is refused");
    tonalux::ApplySongSettings(song, setup);
    std::vector<std::uint8_t> saved[2];
    for (const int format : {0, 1}) Check(song.SaveMidiBytes(format, saved[format]), "song with the settings not saved");
    for (const auto& bytes : saved) {
        host.Forget();
        Check(song.LoadMidiBytes(bytes.data(), bytes.size()), "song with the settings refused by the reader");
        Check(!host.damage && !host.other, "reader reported damage in the song with the settings");
    }
    return 0;
}
