// The song's own texts: whether the reader keeps copyright notices and track
// names, and putting a copyright notice and a song name at the start of the
// song.
#include <string>
#include <vector>

#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

MetaEvent TextRecord(std::uint8_t type, const std::string& text) {
    MetaEvent record{};
    record.Tick = 0;
    record.Delta = 0;
    record.Status = 0xFF;
    record.Type = type;
    record.Length = static_cast<std::uint32_t>(text.size());
    // Like every data block: the text's bytes and one zero byte after them.
    record.Data = std::make_shared<std::uint8_t[]>(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) record.Data[i] = static_cast<std::uint8_t>(text[i]);
    return record;
}

}  // namespace

void StandardMidifile::SetKeepSongNames(bool value) { keepSongNames_ = value; }

bool StandardMidifile::GetKeepSongNames() const { return keepSongNames_; }

bool StandardMidifile::PutSongTexts(const std::string& copyright, const std::string& name) {
    if (copyright.empty() && name.empty()) return true;
    auto& meta = detail::Lists().MetaEvents;

    // Both writers write MetaEvents first among the records of a tick, and
    // the channel messages of a tick after its meta events, so the front of
    // MetaEvents at tick 0 is the start of the first track in either format.
    // The song texts already standing there (a song read with its names kept)
    // are the first track's own: a new text replaces the first one of its type.
    std::size_t dropCopyright = meta.size();
    std::size_t dropName = meta.size();
    for (std::size_t i = 0; i < meta.size() && meta[i].Tick == 0 && IsSongTextType(meta[i].Type); ++i) {
        if (meta[i].Type == kCopyrightNoticeType && !copyright.empty() && dropCopyright == meta.size()) dropCopyright = i;
        if (meta[i].Type == kSequenceNameType && !name.empty() && dropName == meta.size()) dropName = i;
    }

    std::vector<MetaEvent> placed;
    placed.reserve(meta.size() + 2);
    if (!copyright.empty()) placed.push_back(TextRecord(kCopyrightNoticeType, copyright));
    if (!name.empty()) placed.push_back(TextRecord(kSequenceNameType, name));
    for (std::size_t i = 0; i < meta.size(); ++i)
        if (i != dropCopyright && i != dropName) placed.push_back(std::move(meta[i]));
    // Every record after the new ones keeps its tick and its distance from
    // the record before it, as the new ones lie at tick 0.
    meta.swap(placed);
    return true;
}

}  // namespace tonalux
