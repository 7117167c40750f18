#include "SongOutcome.h"

#include "SheetFile.h"

namespace tonalux {

namespace {

std::string EngineMessages(const SongOutcome& outcome) {
    std::string text;
    for (const auto& message : outcome.Messages) {
        text += text.empty() ? " (" : "; ";
        text += message;
    }
    return text.empty() ? text : text + ")";
}

}  // namespace

bool IsProblem(const SongOutcome& outcome) {
    if (!outcome.SheetFailure.empty()) return true;
    switch (outcome.Result) {
        case SongResult::Converted:
        case SongResult::NotAFile:
        case SongResult::Vanished: return false;
        default: return true;
    }
}

std::string DescribeDamage(const LoadReport& report) {
    if (!report.Damaged) return {};
    std::string text = "damaged at byte " + std::to_string(report.DamageOffset);
    text += report.DamageTrack >= 0 ? " in track " + std::to_string(report.DamageTrack + 1) : " in the header";
    return text + ", " + std::to_string(report.Records) + (report.Records == 1 ? " record" : " records") + " kept";
}

std::string DescribeOutcome(const SongOutcome& outcome) {
    std::string text;
    switch (outcome.Result) {
        case SongResult::Converted: text = "converted to " + outcome.Output; break;
        case SongResult::ConvertedDamaged:
            text = DescribeDamage(outcome.Load) + ", converted to " + outcome.Output;
            break;
        case SongResult::NotMidi: text = "not a MIDI file"; break;
        case SongResult::ReadFailed: text = "could not be read: " + outcome.Reason; break;
        case SongResult::WriteFailed:
            text = outcome.Load.Damaged ? DescribeDamage(outcome.Load) + ", and " : std::string();
            text += "could not be written to " + outcome.Output + ": " + outcome.Reason;
            break;
        case SongResult::SkippedInput:
            text = "skipped, its output " + outcome.Output + " would replace the input song " + outcome.Reason;
            break;
        case SongResult::NotAFile: text = "skipped, not a file"; break;
        case SongResult::Vanished: text = "skipped, no longer there"; break;
    }
    if (!outcome.Sheet.empty()) text += " and " + outcome.Sheet;
    if (!outcome.SheetFailure.empty())
        text += ", but its sheet " + SheetPathFor(outcome.Output) + " could not be written: " + outcome.SheetFailure;
    return text + EngineMessages(outcome);
}

OutcomeClass ClassOf(SongResult result) {
    switch (result) {
        case SongResult::Converted: return OutcomeClass::Converted;
        case SongResult::ConvertedDamaged: return OutcomeClass::Damaged;
        case SongResult::NotMidi:
        case SongResult::ReadFailed:
        case SongResult::WriteFailed: return OutcomeClass::Failed;
        case SongResult::SkippedInput:
        case SongResult::NotAFile:
        case SongResult::Vanished: break;
    }
    return OutcomeClass::Skipped;
}

const char* ClassWord(OutcomeClass kind) {
    switch (kind) {
        case OutcomeClass::Converted: return "converted";
        case OutcomeClass::Damaged: return "damaged";
        case OutcomeClass::Failed: return "failed";
        case OutcomeClass::Skipped: break;
    }
    return "skipped";
}

void RunCounts::Add(const SongOutcome& outcome) {
    ++Songs;
    if (outcome.Chords != ChordsResult::NotAsked) ChordsAsked = true;
    if (outcome.Chords == ChordsResult::Added) ++ChordsAdded;
    if (outcome.Chords == ChordsResult::AlreadyHad) ++ChordsKept;
    switch (ClassOf(outcome.Result)) {
        case OutcomeClass::Converted: ++Converted; break;
        case OutcomeClass::Damaged: ++Damaged; break;
        case OutcomeClass::Failed: ++Failed; break;
        case OutcomeClass::Skipped: ++Skipped; break;
    }
}

std::string RunCounts::Text(bool dryRun) const {
    return std::to_string(Songs) + (Songs == 1 ? " song: " : " songs: ") + std::to_string(Converted) +
           (dryRun ? " would be converted, " : " converted, ") + std::to_string(Damaged) + " damaged, " + std::to_string(Failed) + " failed, " +
           std::to_string(Skipped) + " skipped" +
           (ChordsAsked ? ", chords added to " + std::to_string(ChordsAdded) + ", kept in " + std::to_string(ChordsKept)
                        : std::string());
}

std::string RunSummary(const std::vector<SongOutcome>& outcomes) {
    std::string lines;
    RunCounts counts;
    for (const auto& outcome : outcomes) {
        counts.Add(outcome);
        if (IsProblem(outcome)) lines += outcome.Name + ": " + DescribeOutcome(outcome) + "\n";
    }
    if (lines.empty()) return {};
    return lines + "\n" + counts.Text();
}

}  // namespace tonalux
