#include "OutcomeTexts.h"

#include <QCoreApplication>
#include <QFile>

#include "MessageDisplay.h"
#include "settings/Report.h"

namespace {

QString Name(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

QString Damage(const tonalux::LoadReport& report) {
    const QString where = report.DamageTrack >= 0
                              ? QCoreApplication::translate("Outcome", "in track %1").arg(report.DamageTrack + 1)
                              : QCoreApplication::translate("Outcome", "in the header");
    const int records = static_cast<int>(report.Records);
    return QCoreApplication::translate("Outcome", "damaged at byte %1 %2, %n record(s) kept", nullptr, records)
        .arg(report.DamageOffset)
        .arg(where);
}

QString EngineMessages(const tonalux::SongOutcome& outcome) {
    QStringList messages;
    for (const auto& message : outcome.Messages) messages << FromEightBit(message);
    return messages.isEmpty() ? QString() : QStringLiteral(" (") + messages.join(QStringLiteral("; ")) + ')';
}

// What "Akkorde ergänzen" did to the song; nothing when it was not asked.
QString ChordsText(tonalux::ChordsResult chords) {
    switch (chords) {
        case tonalux::ChordsResult::NotAsked: break;
        case tonalux::ChordsResult::Added: return QCoreApplication::translate("Outcome", ", chords added");
        case tonalux::ChordsResult::AlreadyHad: return QCoreApplication::translate("Outcome", ", its own chords kept");
        case tonalux::ChordsResult::NoneFound: return QCoreApplication::translate("Outcome", ", no chords found");
    }
    return QString();
}

QString CharsetText(tonalux::Charset charset) {
    const std::string_view name = tonalux::CharsetName(charset);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// What "Liedtext fürs Keyboard" did to the song; nothing when it was not asked.
QString LyricsText(const std::optional<tonalux::LyricsSummary>& lyrics) {
    if (!lyrics) return QString();
    if (!lyrics->Converted()) return QCoreApplication::translate("Outcome", ", no words");
    return QCoreApplication::translate("Outcome", ", words converted (%1 syllables, %2 to %3, %4 characters transliterated)")
        .arg(lyrics->Syllables)
        .arg(CharsetText(lyrics->From), CharsetText(lyrics->To))
        .arg(lyrics->Transliterated);
}

}  // namespace

QString OutcomeText(const tonalux::SongOutcome& outcome) {
    using tonalux::SongResult;
    const QString output = Name(outcome.Output);
    const QString reason = FromEightBit(outcome.Reason);
    QString text;
    switch (outcome.Result) {
        case SongResult::Converted: text = QCoreApplication::translate("Outcome", "converted to %1").arg(output); break;
        case SongResult::ConvertedDamaged: text = QCoreApplication::translate("Outcome", "%1, converted to %2").arg(Damage(outcome.Load), output); break;
        case SongResult::NotMidi: text = QCoreApplication::translate("Outcome", "not a MIDI file"); break;
        case SongResult::ReadFailed: text = QCoreApplication::translate("Outcome", "could not be read: %1").arg(reason); break;
        case SongResult::WriteFailed:
            text = QCoreApplication::translate("Outcome", "could not be written to %1: %2").arg(output, reason);
            if (outcome.Load.Damaged) text = Damage(outcome.Load) + QCoreApplication::translate("Outcome", ", and ") + text;
            break;
        case SongResult::SkippedInput:
            text = QCoreApplication::translate("Outcome", "skipped, its output %1 would replace the input song %2").arg(output, Name(outcome.Reason));
            break;
        case SongResult::NotAFile: text = QCoreApplication::translate("Outcome", "skipped, a folder and not a song"); break;
        case SongResult::Vanished: text = QCoreApplication::translate("Outcome", "skipped, no longer there"); break;
    }
    return text + ChordsText(outcome.Chords) + LyricsText(outcome.Lyrics) + EngineMessages(outcome);
}

QString CountsText(const tonalux::RunCounts& counts, std::size_t left) {
    const int songs = static_cast<int>(counts.Songs);
    const int unconverted = static_cast<int>(left);
    QString text = QCoreApplication::translate("Outcome", "%n song(s): %1 converted, %2 damaged, %3 failed, %4 skipped",
                                               nullptr, songs)
                       .arg(counts.Converted)
                       .arg(counts.Damaged)
                       .arg(counts.Failed)
                       .arg(counts.Skipped);
    if (counts.ChordsAsked)
        text += QCoreApplication::translate("Outcome", ", chords added to %1, kept in %2")
                    .arg(counts.ChordsAdded)
                    .arg(counts.ChordsKept);
    if (counts.LyricsAsked)
        text += QCoreApplication::translate("Outcome", ", words converted in %1, %2 characters transliterated")
                    .arg(counts.LyricsConverted)
                    .arg(counts.LyricsTransliterated);
    if (left > 0)
        text += QStringLiteral("\n") +
                QCoreApplication::translate("Outcome", "%n song(s) left unconverted: the window was closed during the run.",
                                            nullptr, unconverted);
    return text;
}

QString UnconvertedLine(const std::string& name) {
    return Name(name) + QStringLiteral(": ") +
           QCoreApplication::translate("Outcome", "not converted, the window was closed during the run");
}

QStringList OutcomeLines(const std::vector<tonalux::SongOutcome>& outcomes) {
    QStringList lines;
    for (const auto& outcome : outcomes) lines << Name(outcome.Name) + QStringLiteral(": ") + OutcomeText(outcome);
    return lines;
}

std::vector<tonalux::settings::ReportEntry> ReportEntries(const std::vector<tonalux::SongOutcome>& outcomes) {
    std::vector<tonalux::settings::ReportEntry> entries;
    entries.reserve(outcomes.size());
    for (const auto& outcome : outcomes) {
        const bool written = !outcome.Output.empty() && (outcome.Result == tonalux::SongResult::Converted ||
                                                         outcome.Result == tonalux::SongResult::ConvertedDamaged);
        entries.push_back({written ? outcome.Output : std::string(), outcome.Name,
                           tonalux::ClassWord(tonalux::ClassOf(outcome.Result)),
                           OutcomeText(outcome).toUtf8().toStdString()});
    }
    return entries;
}

QString FolderProblemText(const tonalux::FolderProblem& problem) {
    return QCoreApplication::translate("Outcome", "The folder %1 cannot be used: %2\nNothing was converted.")
        .arg(Name(problem.Folder), FromEightBit(problem.Reason));
}

QString FieldCaption(tonalux::settings::SetupField field) {
    using tonalux::settings::SetupField;
    switch (field) {
        case SetupField::SourceBank: return QStringLiteral("Quell MSB");
        case SetupField::SourceProgram: return QStringLiteral("Quell PRG");
        case SetupField::DestinationBank: return QStringLiteral("Ziel MSB");
        case SetupField::DestinationProgram: return QStringLiteral("Ziel PRG");
        case SetupField::Copyright: return QStringLiteral("COPYRIGHT");
        case SetupField::Trackname: return QStringLiteral("TRACKNAME");
        case SetupField::ChannelFrom: return QCoreApplication::translate("Outcome", "KANALTAUSCHEN, upper box");
        case SetupField::ChannelTo: return QCoreApplication::translate("Outcome", "KANALTAUSCHEN, lower box");
        case SetupField::StartAtFirstNote: return QStringLiteral("Start auf Tatkt 1");
        case SetupField::Format0: return QStringLiteral("Midiformat 0");
    }
    return QString();
}

QString SetupProblemText(const tonalux::settings::SetupProblem& problem) {
    using tonalux::settings::SetupField;
    const QString window = problem.InInformation() ? QStringLiteral("Zusatzinformationen") : QStringLiteral("Sound\u00e4nderungen");
    const QString place = problem.Row > 0 ? QCoreApplication::translate("Outcome", "%1, row %2, %3").arg(window).arg(problem.Row).arg(FieldCaption(problem.Field))
                                          : QCoreApplication::translate("Outcome", "%1, %2").arg(window, FieldCaption(problem.Field));
    if (problem.Field == SetupField::Copyright || problem.Field == SetupField::Trackname)
        return QCoreApplication::translate("Outcome", "%1: the character 0x%2 cannot be written into a song")
            .arg(place)
            .arg(problem.Value, 2, 16, QLatin1Char('0'));
    if (problem.Field == SetupField::ChannelFrom || problem.Field == SetupField::ChannelTo) {
        // The boxes show the channels as "KANAL 1" to "KANAL 16"; the block
        // counts them from 0, and -1 is an empty box.
        const QString pair = QCoreApplication::translate("Outcome", "%1, KANALTAUSCHEN, pair %2, %3")
                                 .arg(window)
                                 .arg(problem.Row)
                                 .arg(problem.Field == SetupField::ChannelFrom
                                          ? QCoreApplication::translate("Outcome", "upper box")
                                          : QCoreApplication::translate("Outcome", "lower box"));
        return QCoreApplication::translate("Outcome",
                                           "%1: KANAL %2 is not between KANAL 1 and KANAL 16 (an empty box for no channel)")
            .arg(pair)
            .arg(problem.Value + 1);
    }
    QString range = QCoreApplication::translate("Outcome", "%1: %2 is not between %3 and %4").arg(place).arg(problem.Value).arg(problem.Lowest).arg(problem.Highest);
    if (!problem.InInformation()) range += ' ' + QCoreApplication::translate("Outcome", "(\"-\" for no value)");
    if (problem.Field == SetupField::SourceBank) range += ' ' + QCoreApplication::translate("Outcome", "(128: the drum kits of channel 10)");
    return range;
}
