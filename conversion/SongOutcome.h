// What became of each song of a folder conversion, the counts of a whole run,
// and the texts that describe them. The main window and the command-line tool
// both show these texts, so they tell the user the same thing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "StandardMidifile.h"

namespace tonalux {

enum class SongResult {
    Converted,         // read whole and written
    ConvertedDamaged,  // written from what was read before the damage
    NotMidi,           // the file is not a Standard MIDI File
    ReadFailed,        // the file could not be read
    WriteFailed,       // the output could not be written
    SkippedInput,      // its output would have replaced an input song
    NotAFile,          // a folder of a song's name: not a song, nothing to do
    Vanished,          // listed, but gone when its turn came
};

// What became of the chords of a song when the run was asked to add them.
enum class ChordsResult { NotAsked, Added, AlreadyHad, NoneFound };

struct SongOutcome {
    std::string Name;    // the input's name within the input folder
    SongResult Result = SongResult::Vanished;
    std::string Output;  // the output's name within the output folder; empty when none was chosen
    int VocoderChannel = kNoVocoderChannel;
    LoadReport Load;     // what the engine's load found
    ChordsResult Chords = ChordsResult::NotAsked;  // chord events recognised from the notes
    std::string Sheet;          // the ChordPro sheet written beside the output; empty when none
    std::string SheetFailure;   // why the sheet asked for could not be written
    std::string Reason;  // the system's reason of a failed read or write; the input a skipped output would hit
    // The engine's messages while the song was read and analysed, in order. The
    // writer's message about a failed write is not among them: Reason names its cause.
    std::vector<std::string> Messages;
};

// Whether the outcome is something the user must look at: a damaged song, a
// song not converted, or a skipped output. Folder entries are not songs.
bool IsProblem(const SongOutcome& outcome);

// What happened to the song, without its name:
//   "converted to A_VOC-3.mid"
//   "damaged at byte 345 in track 2, 12 records kept, converted to A_NO-VOC.mid"
//   "not a MIDI file"
//   "could not be read: Permission denied"
//   "could not be written to A_NO-VOC.mid: No space left on device"
//   "skipped, its output A_VOC-3.mid would replace the input song A_VOC-3.mid"
// The engine's messages follow in brackets: " (Byteread Error!)".
std::string DescribeOutcome(const SongOutcome& outcome);

// "damaged at byte 345 in track 2, 12 records kept" for a damaged load
// (track counted from 1; "in the header" when the damage lay outside the
// tracks); empty for a load without damage.
std::string DescribeDamage(const LoadReport& report);

// The four kinds of outcome a run counts.
enum class OutcomeClass { Converted, Damaged, Failed, Skipped };
OutcomeClass ClassOf(SongResult result);
// "converted", "damaged", "failed", "skipped": the report's result words.
const char* ClassWord(OutcomeClass kind);

// The counts of a run.
struct RunCounts {
    std::size_t Songs = 0;      // every listed entry
    std::size_t Converted = 0;  // read whole and written
    std::size_t Damaged = 0;    // written from a damaged song
    std::size_t Failed = 0;     // not a MIDI file, not read or not written
    std::size_t Skipped = 0;    // outputs that would replace an input, folders, vanished songs
    std::size_t ChordsAdded = 0;  // songs that got chord events from their notes
    std::size_t ChordsKept = 0;   // songs that kept the chord events they had
    bool ChordsAsked = false;     // an outcome added was asked to add chords

    void Add(const SongOutcome& outcome);
    // "3 songs: 1 converted, 1 damaged, 1 failed, 0 skipped"; for a dry run
    // "3 songs: 1 would be converted, ...". A run asked to add chords goes on
    // ", chords added to 1, kept in 1" (a song whose notes told no chord is in
    // neither count).
    std::string Text(bool dryRun = false) const;
};

// The end-of-run summary: one line per song that is a problem ("Bad.mid:
// not a MIDI file (incorrect fileheader)"), then the counts. Empty when no
// song is a problem: a clean run needs no summary.
std::string RunSummary(const std::vector<SongOutcome>& outcomes);

}  // namespace tonalux
