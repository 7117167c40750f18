#include "SetupFile.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "Platform.h"
#include "SafeReplace.h"

namespace tonalux::settings {

namespace {

// Little-endian 32-bit values, written and read byte by byte so the file is
// the same on every machine.
class RecordWriter {
public:
    explicit RecordWriter(SetupRecord& record) : record_(record) {}
    void Int32s(const std::int32_t* values, int count) {
        for (int i = 0; i < count; ++i) {
            const auto bits = static_cast<std::uint32_t>(values[i]);
            for (int b = 0; b < 4; ++b) record_[at_++] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
    }
    void Bytes(const void* data, std::size_t count) {
        std::memcpy(record_.data() + at_, data, count);
        at_ += count;
    }

private:
    SetupRecord& record_;
    std::size_t at_ = 0;
};

class RecordReader {
public:
    explicit RecordReader(const SetupRecord& record) : record_(record) {}
    void Int32s(std::int32_t* values, int count) {
        for (int i = 0; i < count; ++i) {
            std::uint32_t bits = 0;
            for (int b = 0; b < 4; ++b) bits |= static_cast<std::uint32_t>(record_[at_++]) << (8 * b);
            values[i] = static_cast<std::int32_t>(bits);
        }
    }
    void Bytes(void* data, std::size_t count) {
        std::memcpy(data, record_.data() + at_, count);
        at_ += count;
    }

private:
    const SetupRecord& record_;
    std::size_t at_ = 0;
};

// The fields of both blocks in the order of the file. Writing and reading
// walk the same list, so the two can never disagree on the layout.
template <typename Io, typename Programs, typename Information>
void WalkSetupLayout(Io& io, Programs& programs, Information& information) {
    io.Int32s(programs.MSBQ, kProgrammchangeRows);
    io.Int32s(programs.MSBD, kProgrammchangeRows);
    io.Int32s(programs.PRGQ, kProgrammchangeRows);
    io.Int32s(programs.PRGD, kProgrammchangeRows);
    io.Bytes(information.Copyright, sizeof information.Copyright);
    io.Bytes(information.Trackname, sizeof information.Trackname);
    io.Bytes(&information.Padding1, 1);
    io.Int32s(information.KanV, kChannelPairs);
    io.Int32s(information.KanT, kChannelPairs);
    io.Bytes(&information.FastPlay, 1);
    io.Bytes(&information.Format0, 1);
    io.Bytes(information.Padding2, sizeof information.Padding2);
}

}  // namespace

SetupRecord EncodeSetup(const ProgrammchangeBlock& programs, const InformationenBlock& information) {
    SetupRecord record{};
    RecordWriter out(record);
    WalkSetupLayout(out, programs, information);
    return record;
}

void DecodeSetup(const SetupRecord& record, ProgrammchangeBlock& programs, InformationenBlock& information) {
    RecordReader in(record);
    WalkSetupLayout(in, programs, information);
}

SetupLoadOutcome LoadSetupFile(const std::string& path, ProgrammchangeBlock& programs,
                               InformationenBlock& information) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(PathFromUtf8(path), ec)) return SetupLoadOutcome::CannotOpen;
    std::ifstream in(PathFromUtf8(path), std::ios::binary | std::ios::ate);
    if (!in) return SetupLoadOutcome::CannotOpen;
    const std::streamoff size = in.tellg();
    if (size < 0) return SetupLoadOutcome::CannotOpen;
    if (size == 0 || size % static_cast<std::streamoff>(kSetupRecordSize) != 0) return SetupLoadOutcome::WrongSize;

    // Every record would be read in turn and the last one stays in effect, so
    // only the last one is read.
    SetupRecord record{};
    in.seekg(size - static_cast<std::streamoff>(kSetupRecordSize));
    if (!in.read(reinterpret_cast<char*>(record.data()), kSetupRecordSize)) return SetupLoadOutcome::CannotOpen;
    DecodeSetup(record, programs, information);
    return SetupLoadOutcome::Loaded;
}

std::string SetupFileName(const std::string& chosen) {
    const auto slash = chosen.find_last_of('/');
    const std::string last = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
    // A dot at the start marks a hidden file, not a suffix.
    const auto dot = last.find_last_of('.');
    const bool hasSuffix = dot != std::string::npos && dot > 0 && dot + 1 < last.size();
    if (hasSuffix) return chosen;
    return chosen + (!last.empty() && last.back() == '.' ? "set" : ".set");
}

SetupSaveOutcome SaveSetupFile(const std::string& path, const ProgrammchangeBlock& programs,
                               const InformationenBlock& information) {
    const SetupRecord record = EncodeSetup(programs, information);
    const ReplaceOutcome outcome = ReplaceFileContents(path, std::vector<std::uint8_t>(record.begin(), record.end()));
    if (outcome.Written) return SetupSaveOutcome::Saved;
    return outcome.Created ? SetupSaveOutcome::WriteFailed : SetupSaveOutcome::CannotCreate;
}

std::vector<std::string> SetupSaveMessages(SetupSaveOutcome outcome) {
    switch (outcome) {
        case SetupSaveOutcome::Saved: return {};
        case SetupSaveOutcome::CannotCreate: return {"Save Registration Error!", "Write Preset Error! #101"};
        case SetupSaveOutcome::WriteFailed: break;
    }
    return {"Write Preset Error! #101"};
}

}  // namespace tonalux::settings
