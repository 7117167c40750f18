// tonalux-cli dump FILE: every record of every list as one line of text, in
// an order that depends only on the song, so that songs compare with diff;
// or the same as one JSON document. assemble turns the text back into a song.
#include <cstdint>
#include <iostream>
#include <optional>

#include "Commands.h"
#include "Console.h"
#include "SongSession.h"
#include "Json.h"
#include "SongFile.h"
#include "SongRecords.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

// The song's end tick when it lies after its last record (a closing rest):
// the writers end the tracks there, so the dump names it and assemble keeps it.
std::optional<std::uint32_t> EndAfterLastRecord(StandardMidifile& engine, const std::vector<SongRecord>& records) {
    const std::uint32_t last = records.empty() ? 0 : records.back().Tick;
    if (engine.EndTick() > last) return engine.EndTick();
    return std::nullopt;
}

void PrintText(std::ostream& out, StandardMidifile& engine, const std::vector<SongRecord>& records) {
    out << "header format " << engine.Format << " tracks " << engine.TrackCount << " division " << engine.Division;
    if (const auto end = EndAfterLastRecord(engine, records)) out << " end " << *end;
    out << '\n';
    std::string line;
    for (const auto& record : records) {
        line = std::to_string(record.Tick);
        line += ' ';
        line += SongListName(record.List);
        line += ' ';
        line += HexBytes(record.Bytes);
        line += '\n';
        out << line;
    }
}

void PrintJson(std::ostream& out, StandardMidifile& engine, const std::vector<SongRecord>& records) {
    out << "{\"header\": {\"format\": " << engine.Format << ", \"tracks\": " << engine.TrackCount
        << ", \"division\": " << engine.Division;
    if (const auto end = EndAfterLastRecord(engine, records)) out << ", \"end\": " << *end;
    out << "},\n \"records\": [";
    std::string line;
    for (std::size_t i = 0; i < records.size(); ++i) {
        line = i ? ",\n  " : "\n  ";
        line += "{\"tick\": " + std::to_string(records[i].Tick) + ", \"list\": \"" + SongListName(records[i].List) +
                "\", \"bytes\": \"" + HexBytes(records[i].Bytes) + "\"}";
        out << line;
    }
    out << "\n ]}\n";
}

int RunDump(const ParsedArguments& args) {
    const std::string& file = args.Positionals.at(0);
    SongSession session;
    StandardMidifile& engine = session.Engine;
    const SongRead read = session.Load("dump", file);
    if (read == SongRead::Failed) return kExitFailure;

    const std::vector<SongRecord> records = CollectRecords(engine);
    if (args.Has("--json"))
        PrintJson(Output(), engine, records);
    else
        PrintText(Output(), engine, records);
    // A failed standard output is reported, with exit status 1, when the command ends.
    return read == SongRead::Whole ? kExitSuccess : kExitFailure;
}

}  // namespace

Command DumpCommand() {
    return {"dump",
            "print every record of a song, one line each, for comparing and editing songs",
            "dump FILE [--json]",
            "Prints one line with the header values, then one line per record of every\n"
            "list:\n"
            "\n"
            "  header format F tracks T division D [end E]\n"
            "  TICK LIST BYTES\n"
            "\n"
            "\"end E\" names the song's end tick when it lies after the last record (a\n"
            "closing rest): every track of a written song ends there.\n"
            "TICK is the absolute time in ticks. LIST is ch1..ch16 for channel messages,\n"
            "meta (meta events of no other list), tempo, timesig, lyric, marker, chord\n"
            "(keyboard chord events) or sysex. BYTES are the bytes of the record in\n"
            "upper-case hexadecimal: status and data bytes for a channel message;\n"
            "FF, type, length and data for a meta event; F0 or F7, length and data for\n"
            "a system-exclusive event. Lengths are variable-length quantities.\n"
            "\n"
            "Lines are ordered by tick; records of the same tick follow the list order\n"
            "above and each list's own order. Compare two songs with\n"
            "  diff <(tonalux-cli dump a.mid) <(tonalux-cli dump b.mid)\n"
            "and turn the text back into a song with assemble. FILE \"-\" reads the song\n"
            "from standard input.\n"
            "\n"
            "  --json         print one JSON document instead: {\"header\": {\"format\": F,\n"
            "                 \"tracks\": T, \"division\": D}, \"records\": [{\"tick\": TICK,\n"
            "                 \"list\": LIST, \"bytes\": BYTES}, ...]}\n",
            {{"FILE"}, 1, {{"--json", false, false}}},
            RunDump};
}

}  // namespace tonalux::cli
