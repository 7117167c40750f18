// The sound mapping: program changes given other programs and banks by a
// list of rules. Each channel list is walked once; the controller-0 events
// the mapping adds are merged into a new list in the same walk, so the work
// grows with the song, not with the song times the changes.
#include <cstddef>
#include <utility>
#include <vector>

#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

constexpr std::int32_t kControllerKind = 0xB0;
constexpr std::int32_t kProgramChangeKind = 0xC0;
constexpr std::uint8_t kBankSelectMsb = 0x00;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsBankSelect(const MidiEvent& e) { return e.Kind == kControllerKind && e.Data1 == kBankSelectMsb; }

bool HasValue(int field) { return field != kNoSoundValue; }

// A rule is used only when each of its fields is a data byte or no value; a
// rule with any other value could only write bytes no valid file holds.
bool Usable(const SoundMappingRule& rule) {
    for (int field : {rule.SourceBank, rule.SourceProgram, rule.DestinationBank, rule.DestinationProgram})
        if (HasValue(field) && (field < 0 || field > 127)) return false;
    return true;
}

// The first rule that takes a program change of `program` in bank `bank` on
// `channel`; nullptr when none does.
const SoundMappingRule* FirstMatch(const std::vector<SoundMappingRule>& rules, int program, int bank, int channel) {
    for (const auto& rule : rules) {
        if (!HasValue(rule.SourceProgram) || rule.SourceProgram != program || !Usable(rule)) continue;
        if ((rule.Channels >> channel & 1u) == 0) continue;
        if (HasValue(rule.SourceBank) && rule.SourceBank != bank) continue;
        return &rule;
    }
    return nullptr;
}

MidiEvent BankSelect(int channel, std::uint32_t tick, int bank) {
    MidiEvent e{};
    e.Tick = tick;
    e.Channel = channel;
    e.Kind = kControllerKind;
    e.Status = static_cast<std::uint8_t>(kControllerKind | channel);
    e.Data1 = kBankSelectMsb;
    e.Data2 = static_cast<std::uint8_t>(bank);
    return e;
}

}  // namespace

SoundMappingReport StandardMidifile::MapSounds(const std::vector<SoundMappingRule>& rules) {
    SoundMappingReport report;
    if (rules.empty()) return report;
    for (int channel = 0; channel < 16; ++channel) {
        auto& list = detail::Lists().ChannelEvents[static_cast<std::size_t>(channel)];
        // The bank the song plays in at this point, and the bank the output
        // plays in: they part when a rule gives a program change another
        // bank, and meet again at the song's next bank select.
        int songBank = 0;
        int outputBank = 0;
        std::size_t bankSelect = kNone;  // index in `out` of the bank select that set songBank

        std::vector<MidiEvent> out;
        out.reserve(list.size());
        for (const MidiEvent& event : list) {
            if (IsBankSelect(event)) {
                songBank = outputBank = event.Data2;
                bankSelect = out.size();
                out.push_back(event);
                continue;
            }
            if (event.Kind != kProgramChangeKind) {
                out.push_back(event);
                continue;
            }
            MidiEvent change = event;
            const SoundMappingRule* rule = FirstMatch(rules, change.Data1, songBank, channel);
            int wanted = songBank;  // the bank this program change is to play in
            bool addInFront = false;
            if (rule) {
                ++report.ProgramsMatched;
                if (HasValue(rule->DestinationProgram))
                    change.Data1 = static_cast<std::uint8_t>(rule->DestinationProgram);
                if (HasValue(rule->DestinationBank)) {
                    wanted = rule->DestinationBank;
                    // The bank select that set the bank at this very tick takes
                    // the new bank; without one, one is put in front.
                    if (bankSelect != kNone && out[bankSelect].Tick == change.Tick) {
                        if (out[bankSelect].Data2 != wanted) ++report.BanksChanged;
                        out[bankSelect].Data2 = static_cast<std::uint8_t>(wanted);
                        outputBank = wanted;
                    } else {
                        addInFront = true;
                    }
                }
            }
            // A program change that keeps its bank after an earlier one was
            // given another bank gets its own bank back, so that only the
            // program changes a rule takes change their sound.
            if (addInFront || outputBank != wanted) {
                // The bank select takes the program change's place in time;
                // the program change follows it at once.
                MidiEvent select = BankSelect(channel, change.Tick, wanted);
                select.Delta = change.Delta;
                change.Delta = 0;
                out.push_back(select);
                ++report.BanksAdded;
            }
            outputBank = wanted;
            out.push_back(change);
        }
        list.swap(out);
    }
    return report;
}

}  // namespace tonalux
