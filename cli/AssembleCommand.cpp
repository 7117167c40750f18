// tonalux-cli assemble TEXT OUT: turns the text that dump prints back into a
// song. Every line that cannot be read is named with its number, and then
// nothing is written.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "Commands.h"
#include "Console.h"
#include "MidiBytes.h"
#include "Platform.h"
#include "SongSession.h"
#include "SongEdit.h"
#include "SongFile.h"
#include "SongReading.h"
#include "SongText.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

// A data block as the reader makes one: the data and one byte 0 behind it.
DataBlock DataOf(const TextRecord& text) {
    const auto& bytes = text.Record.Bytes;
    const std::size_t length = bytes.size() - text.DataStart;
    DataBlock data = std::make_shared<std::uint8_t[]>(length + 1);
    std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(text.DataStart), bytes.end(), data.get());
    return data;
}

std::uint32_t LengthOf(const TextRecord& text) {
    return static_cast<std::uint32_t>(text.Record.Bytes.size() - text.DataStart);
}

MidiEvent ChannelRecord(const TextRecord& text) {
    const auto& bytes = text.Record.Bytes;
    MidiEvent event{};
    event.Tick = text.Record.Tick;
    event.Channel = bytes[0] & 0x0F;
    event.Kind = bytes[0] & 0xF0;
    event.Status = bytes[0];
    event.Data1 = bytes[1];
    event.Data2 = bytes.size() > 2 ? bytes[2] : 0;
    return event;
}

MetaEvent MetaRecord(const TextRecord& text) {
    MetaEvent event{};
    event.Tick = text.Record.Tick;
    event.Status = text.Record.Bytes[0];
    event.Type = text.Record.Bytes[1];
    event.Length = LengthOf(text);
    event.Data = DataOf(text);
    return event;
}

// Stores the records in their lists so that each list holds its records in
// the order of the lines among equal ticks, as the reader stores a file's
// events. The meta list places a new record in front of those of the same
// tick, so its records are added from the last line to the first.
void StoreRecords(StandardMidifile& engine, const std::vector<TextRecord>& records) {
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->Record.List == static_cast<std::uint8_t>(SongList::Meta)) engine.AddMetaevent(MetaRecord(*it));

    for (const auto& text : records) {
        const std::uint8_t list = text.Record.List;
        if (list < 16) {
            engine.AddMidievent(ChannelRecord(text));
            continue;
        }
        switch (static_cast<SongList>(list)) {
            case SongList::Tempo: engine.AddTempoevent(MetaRecord(text)); break;
            case SongList::Timesig: engine.AddMessure(MetaRecord(text)); break;
            case SongList::Lyric: engine.AddLyricevent(MetaRecord(text)); break;
            case SongList::Chord: engine.AddYamchord(MetaRecord(text)); break;
            case SongList::Marker: engine.AddMarkerevent(MarkerFromMeta(MetaRecord(text))); break;
            case SongList::Sysex: {
                SysexEvent event{};
                event.Tick = text.Record.Tick;
                event.Status = text.Record.Bytes[0];
                event.Length = LengthOf(text);
                event.Data = DataOf(text);
                event.Manufacturer = event.Length > 0 ? event.Data[0] : 0;
                engine.AddSysex(event);
                break;
            }
            default: break;  // the meta list is filled above
        }
    }
}

// Reads the whole text of TEXT, or of standard input for "-". Prints why it
// could not, with the system's reason, and returns false.
bool ReadText(const std::string& textFile, std::string& text) {
    if (IsStandardStream(textFile)) {
        if (ReadStandardInput(text)) return true;
        PrintError("assemble", std::string("cannot read standard input: ") + std::strerror(errno));
        return false;
    }
    const InputFileCheck check = CheckInputFile(textFile);
    if (check.State != InputFileState::Readable) {
        PrintError("assemble", "cannot read " + textFile + ": " + check.Reason);
        return false;
    }
    std::ifstream in(PathFromUtf8(textFile), std::ios::binary);
    std::ostringstream content;
    errno = 0;
    if (!in || !(content << in.rdbuf())) {
        // An empty file gives no characters to copy, which is no failure.
        if (in && in.peek() == std::ifstream::traits_type::eof()) return true;
        PrintError("assemble", "cannot read " + textFile + ": " + std::strerror(errno != 0 ? errno : EIO));
        return false;
    }
    text = content.str();
    return true;
}

// Empties the engine's lists for the song of the text. The song's end tick
// is set the only way the engine takes one, by a load: of an empty song of
// one track whose end of track lies at `end`.
void StartSong(StandardMidifile& engine, std::uint32_t end) {
    if (end == 0) {
        engine.InitHauptcontainer();
        return;
    }
    std::vector<std::uint8_t> song{kHeaderChunkId.begin(), kHeaderChunkId.end()};
    song.insert(song.end(), {0, 0, 0, 6, 0, 0, 0, 1, 0, 96});
    song.insert(song.end(), kTrackChunkId.begin(), kTrackChunkId.end());
    std::uint8_t delta[kMaxVlqBytes];
    const auto deltaEnd = PutVlq(delta, end);
    const auto length = static_cast<std::uint8_t>((deltaEnd - delta) + kEndOfTrackEvent.size());
    song.insert(song.end(), {0, 0, 0, length});
    song.insert(song.end(), delta, deltaEnd);
    song.insert(song.end(), kEndOfTrackEvent.begin(), kEndOfTrackEvent.end());
    engine.LoadMidiBytes(song.data(), song.size());
}

int RunAssemble(const ParsedArguments& args) {
    std::optional<int> format;
    if (auto value = args.Value("--format")) format = ParseFormat(*value);
    const std::string& textFile = args.Positionals.at(0);
    const std::string& out = args.Positionals.at(1);
    SetStdoutCarriesSong(IsStandardStream(out));
    AllowSongOnTerminal(args.Has("--force"));

    std::string text;
    if (!ReadText(textFile, text)) return kExitFailure;
    std::istringstream lines(text);
    const SongText song = ReadSongText(lines);
    if (!song.Errors.empty()) {
        for (const auto& error : song.Errors) PrintError("assemble", InputName(textFile) + ": " + error);
        PrintError("assemble", "nothing written");
        return kExitFailure;
    }
    PrintDetail("assemble", "read " + std::to_string(song.Records.size()) + " records from " + InputName(textFile));

    SongSession session;
    StandardMidifile& engine = session.Engine;
    // A loaded song ends at its last record or later; the text names the end
    // only when it lies later.
    std::uint32_t end = song.End;
    for (const auto& text : song.Records) end = std::max(end, text.Record.Tick);
    StartSong(engine, end);
    engine.Format = song.Format;
    engine.TrackCount = song.Tracks;
    engine.Division = song.Division;
    StoreRecords(engine, song.Records);

    const int chosen = OutputFormat("assemble", format, engine, textFile);
    if (!SaveSong(engine, "assemble", chosen, out)) return kExitFailure;
    Report() << song.Records.size() << " records; wrote " << OutputName(out) << " (format " << chosen << ")\n";
    return kExitSuccess;
}

}  // namespace

Command AssembleCommand() {
    return {"assemble",
            "turn the text that dump prints back into a song",
            "assemble TEXT OUT [--format 0|1]",
            std::string("Reads TEXT in the form that dump prints (the header line, then one line\n"
                        "TICK LIST BYTES per record) and writes the song to OUT. The lines may be\n"
                        "edited; each record must fit its list: a channel message of that channel,\n"
                        "a meta event (FF, type, length, data) of the list's type, or a\n"
                        "system-exclusive event (F0 or F7, length, data), lengths as\n"
                        "variable-length quantities matching the data. Empty lines are skipped.\n"
                        "\n"
                        "  tonalux-cli dump song.mid | tonalux-cli assemble - out.mid\n"
                        "\n"
                        "gives the same file as tonalux-cli save song.mid out.mid. Every line that\n"
                        "cannot be read is named with its number, and nothing is written.\n"
                        "TEXT \"-\" reads standard input, OUT \"-\" writes standard output.\n"
                        "\n"
                        "  --format 0|1   write format 0 or format 1; without it a text whose header\n"
                        "                 says format 0 gives format 0, any other format 1\n"
                        "  --force        write the song even when OUT is a terminal\n"),
            {{"TEXT", "OUT"}, 2, {FormatOption(), ForceOption()}},
            RunAssemble};
}

}  // namespace tonalux::cli
