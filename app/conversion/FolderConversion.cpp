#include "FolderConversion.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include "StandardMidifile.h"

namespace fs = std::filesystem;

namespace tonalux {

namespace {

bool EndsWithMidiPattern(const std::string& name) {
    static const char pattern[] = ".mid";
    if (name.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>(name[name.size() - 4 + i]);
        if (std::tolower(c) != pattern[i]) return false;
    }
    return true;
}

std::size_t CountEvents() {
    StandardMidifile probe(nullptr);
    std::size_t count = 0;
    for (int channel = 0; channel < 16; ++channel)
        count += static_cast<std::size_t>(probe.GetSizeMidievents(channel));
    count += static_cast<std::size_t>(probe.GetSizeMetaEvents() + probe.GetSizeTempoevents() +
                                      probe.GetSizeMessureEvents() + probe.GetSizeLyricEvents() +
                                      probe.GetSizeMarkerEvents() + probe.GetSizeYamChordEvents() +
                                      probe.GetSizeSysexEvents());
    return count;
}

}  // namespace

std::vector<std::string> ListMidiFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!EndsWithMidiPattern(name)) continue;
        std::error_code statError;
        const auto status = fs::status(it->path(), statError);  // follows links
        if (statError) continue;
        if (fs::is_regular_file(status) || fs::is_directory(status)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListMidiSongs(const std::string& folder, bool recursive, const std::string& skip) {
    if (!recursive) return ListMidiFolder(folder);
    std::error_code ec;
    fs::path skipPath = skip;
    if (!skipPath.empty() && !skipPath.has_filename()) skipPath = skipPath.parent_path();  // "Convert/"
    const fs::path skipped = skipPath.empty() ? fs::path() : fs::weakly_canonical(skipPath, ec);
    std::vector<std::string> songs;
    std::vector<fs::path> pending{""};  // folders relative to `folder`, still to be listed
    while (!pending.empty()) {
        const fs::path relative = pending.back();
        pending.pop_back();
        const fs::path here = fs::path(folder) / relative;
        for (const auto& name : ListMidiFolder(here.string())) songs.push_back((relative / name).string());
        fs::directory_iterator it(here, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            std::error_code typeError;
            if (!it->is_directory(typeError) || it->is_symlink(typeError)) continue;
            std::error_code canonicalError;
            if (!skipped.empty() && fs::weakly_canonical(it->path(), canonicalError) == skipped) continue;
            pending.push_back(relative / it->path().filename());
        }
        ec.clear();
    }
    std::sort(songs.begin(), songs.end());
    return songs;
}

std::string VocoderSuffix(int vocoderResult) {
    if (vocoderResult == kNoVocoderChannel) return kNoVocoderSuffix;
    return kVocoderSuffix + std::to_string(vocoderResult);
}

std::string InsertSuffix(const std::string& destination, const std::string& suffix) {
    // A path shorter than four characters takes the suffix at its front.
    const std::size_t at = destination.size() >= 4 ? destination.size() - 4 : 0;
    std::string out = destination;
    out.insert(at, suffix);
    return out;
}

std::string CurrentBaseFolder() {
    std::error_code ec;
    std::string base = fs::current_path(ec).string();
    if (base.empty() || base.back() != '/') base += '/';
    return base;
}

ConversionResult ConvertMidifile(Component* owner, const std::string& source, const std::string& destination,
                                 const ConversionOptions& options, const std::function<void(bool)>& busy) {
    ConversionResult result;
    // The engine object lives for this one song; it is destroyed on every way out.
    std::unique_ptr<StandardMidifile> current(new StandardMidifile(owner));

    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) return result;  // a folder or a vanished file
    result.SourceExisted = true;

    if (busy) busy(true);
    current->SetStartFirstNote(options.StartFirstNote);
    result.Loaded = current->LoadMidifile(source);
    if (result.Loaded) {
        result.EventCount = CountEvents();
        if (options.DeleteVocoderSysex) current->DeleteVocoderNachrichten();
        result.VocoderResult = current->VocoderKanalAnalyse();
        result.Destination = InsertSuffix(destination, VocoderSuffix(result.VocoderResult));
        if (!options.DryRun) result.Saved = current->SaveMidifile(options.SaveFormat, result.Destination);
    }
    if (busy) busy(false);
    return result;
}

}  // namespace tonalux
