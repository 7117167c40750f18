// libFuzzer target over the text that dump prints and assemble reads: a
// header line and one record a line.
//
// The input is read as such a text. The target stops when a text that reads
// without errors gives a record that does not fit its list (a channel record
// that is no channel message of its channel, a record whose data do not
// start inside it), or when the records, printed again as dump prints them,
// do not read back into the same header and records.
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "SongRecords.h"
#include "SongText.h"

namespace {

using tonalux::cli::SongText;
using tonalux::fuzz::Check;

bool SameRecords(const SongText& a, const SongText& b) {
    if (a.Records.size() != b.Records.size()) return false;
    for (std::size_t i = 0; i < a.Records.size(); ++i) {
        const auto& x = a.Records[i];
        const auto& y = b.Records[i];
        if (x.Record.Tick != y.Record.Tick || x.Record.List != y.Record.List || x.Record.Bytes != y.Record.Bytes ||
            x.DataStart != y.DataStart)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tonalux::fuzz::InstalledHost();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const SongText song = tonalux::cli::ReadSongText(in);
    if (!song.Errors.empty()) return 0;

    std::string printed = "header format " + std::to_string(song.Format) + " tracks " + std::to_string(song.Tracks) +
                          " division " + std::to_string(song.Division);
    if (song.End != 0) printed += " end " + std::to_string(song.End);
    printed += '\n';
    for (const auto& line : song.Records) {
        const auto& record = line.Record;
        Check(record.List < tonalux::cli::kSongListCount, "a record of no list");
        Check(!record.Bytes.empty() && line.DataStart <= record.Bytes.size(), "a record whose data lie outside it");
        if (record.List < 16) {
            Check(record.Bytes[0] >= 0x80 && record.Bytes[0] < 0xF0 && (record.Bytes[0] & 0x0F) == record.List,
                  "a channel record that is no message of its channel");
            for (std::size_t i = 1; i < record.Bytes.size(); ++i) Check(record.Bytes[i] < 0x80, "a data byte of 80 or more");
        }
        printed += std::to_string(record.Tick) + ' ' + tonalux::cli::SongListName(record.List) + ' ' +
                   tonalux::cli::HexBytes(record.Bytes) + '\n';
    }
    std::istringstream again(printed);
    const SongText reread = tonalux::cli::ReadSongText(again);
    Check(reread.Errors.empty(), "the printed text is refused");
    Check(reread.Format == song.Format && reread.Tracks == song.Tracks && reread.Division == song.Division &&
              reread.End == song.End,
          "the printed header reads back as another");
    Check(SameRecords(reread, song), "the printed records read back as others");
    return 0;
}
