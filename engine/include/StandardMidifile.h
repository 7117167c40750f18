// StandardMidifile: the MIDI file engine. It reads a Standard MIDI File into
// the process-wide event lists, sorts the meta events into typed lists, gives
// callers every list to read and edit, writes format 0 and format 1 files,
// transposes notes and chord symbols, exchanges channels, decodes keyboard
// chords and removes and analyses the keyboard's vocoder part.
//
// The event lists are not members of an object: one set exists for the whole
// process and every StandardMidifile works on it, so loading through any
// object replaces what all objects see. Only one object may be at work at a
// time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Component.h"
#include "EngineHost.h"
#include "MidiRecords.h"
#include "SongTexts.h"
#include "SoundMapping.h"

namespace tonalux {

namespace detail {
class ByteCursor;
}

// The answer of the vocoder analysis when no channel carries the vocoder part.
inline constexpr int kNoVocoderChannel = 99;
// The velocity threshold of the vocoder analysis when the program starts.
inline constexpr int kDefaultVelocityThreshold = 5;

// What the last LoadMidifile found.
struct LoadReport {
    bool Damaged = false;            // damage was met and "Byteread Error!" shown
    std::uint32_t DamageOffset = 0;  // file offset where the first damage was met (0 when none)
    int DamageTrack = -1;            // 0-based index, among the "MTrk" chunks, of the track it was met in (-1 when none or not in a track)
    std::uint32_t Records = 0;       // records in all lists after the load (channel, meta, typed, system-exclusive)
};

// Raised by YamChordCalculate for a chord root byte it cannot decode.
class ChordDecodeError : public std::runtime_error {
public:
    explicit ChordDecodeError(const std::string& what) : std::runtime_error(what) {}
};

class StandardMidifile : public Component {
public:
    explicit StandardMidifile(Component* owner);
    ~StandardMidifile() override;

    // Records the class under the palette page "Beispiele".
    void Register();

    // ---- header values of the last load --------------------------------
    std::uint16_t Format = 0;
    std::uint16_t TrackCount = 0;
    std::uint16_t Division = 0;
    // The tick at which the song ends: the latest tick any track of the last
    // load reaches, its end-of-track events included (their delta time is
    // the rest after the last event, a closing bar or a loop's length). It
    // belongs to the song as the lists do: every load sets it,
    // InitHauptcontainer sets it to 0, the start at the first note moves it
    // with the events, and both writers end every track there when that is
    // later than the track's last event.
    std::uint32_t EndTick() const;
    std::uint32_t HeaderLength = 0;
    bool HeaderOk = false;
    // Number of tracks announced in the header of the last format 1 save.
    std::int32_t Format1TrackCount = 0;

    // ---- model and reset ------------------------------------------------
    bool InitHauptcontainer();
    int Fileinitialisierung();
    int Musteraufruf();
    void SetStartFirstNote(bool value);
    bool GetStartFirstNote() const;

    // ---- reader -----------------------------------------------------------
    bool LoadMidifile(const std::string& fileName);
    // Reads a whole Standard MIDI File held in memory, exactly as LoadMidifile reads a file.
    bool LoadMidiBytes(const std::uint8_t* data, std::size_t size);
    // What the last LoadMidifile found; every load, successful or not,
    // replaces it. The reader operations called on their own leave it alone.
    const LoadReport& LastLoadReport() const;
    bool LoadMidiHeader();
    int ReadvarByte(std::uint32_t offset, int count);
    bool MiditrackLesen(int trackCount);
    std::uint32_t MidiTracklaenge(std::uint32_t chunkStart);
    bool TrackSingleRead(std::uint32_t chunkStart, std::uint32_t chunkLength);
    std::uint32_t ReadEventtime(std::uint32_t position);
    std::uint32_t ReadDynLaeng(std::uint32_t position);
    bool ReadEvent(std::uint32_t position);
    int Eventanalyse(int position);
    int Kanalermittlung(std::uint8_t status);
    bool ReadShortMsg(unsigned position, int kind, unsigned delta);
    bool ReadLongMsg(unsigned position, int kind, unsigned delta);
    bool ReadMetaMsg(unsigned position, int kind, unsigned delta);
    bool ReadSysexMsg(unsigned position, int kind, unsigned delta);
    bool EndOfTrack(std::uint32_t position);
    bool InsertMidiEventToConatiner(MidiEvent event);
    int InsertMidievent(MidiEvent event, std::uint32_t tick);
    bool InsertMetaEventToContainer(MetaEvent event);
    bool InsertMetaEvent(MetaEvent event, std::uint32_t tick);
    int InsertSysexEventToContainer(SysexEvent event);
    bool InsertSysexEvent(SysexEvent event, std::uint32_t tick);

    // ---- meta-event resolution -------------------------------------------
    bool DatenAufloesen();
    bool MarkerAufloesen();
    bool TempoAufloesen();
    bool LyricAufloesen();
    bool TaktartAufloesen();
    bool YamChordAufloesen();

    // ---- list access and editing -------------------------------------------
    // An index outside its list or a channel outside 0 to 15 raises
    // std::out_of_range; nothing is changed then.
    int GetSizeMidievents(int channel);
    MidiEvent GetMidievent(int channel, int index);
    bool EditMidievent(int channel, int index, const MidiEvent& event);
    bool DeleteMidievent(int channel, int index);
    bool AddMidievent(const MidiEvent& event);

    int GetSizeMetaEvents();
    MetaEvent GetMetaEvent(int index);
    bool EditMetaEvent(int index, const MetaEvent& event);
    bool DeleteMetaevent(int index);
    bool AddMetaevent(const MetaEvent& event);

    int GetSizeTempoevents();
    MetaEvent GetTempoevent(int index);
    bool EditTempoevent(int index, const MetaEvent& event);
    bool DeleteTempoevent(int index);
    bool AddTempoevent(const MetaEvent& event);

    int GetSizeMessureEvents();
    MetaEvent GetMessure(int index);
    bool EditMessure(int index, const MetaEvent& event);
    bool DeleteMessure(int index);
    bool AddMessure(const MetaEvent& event);

    int GetSizeLyricEvents();
    MetaEvent GetLyricevent(int index);
    bool EditLyricevent(int index, const MetaEvent& event);
    bool DeleteLyricevent(int index);
    bool AddLyricevent(const MetaEvent& event);

    int GetSizeMarkerEvents();
    Marker GetMarkerevent(int index);
    bool EditMarkerevent(int index, const Marker& marker);
    bool DeleteMarkerevent(int index);
    bool AddMarkerevent(const Marker& marker);

    int GetSizeYamChordEvents();
    MetaEvent GetYamchord(int index);
    bool EditYamchord(int index, const MetaEvent& event);
    bool DeleteYamchord(int index);
    bool AddYamchord(const MetaEvent& event);

    int GetSizeSysexEvents();
    SysexEvent GetSysex(int index);
    bool EditSysex(int index, const SysexEvent& event);
    bool DeleteSysex(int index);
    bool AddSysex(const SysexEvent& event);

    // ---- writers ----------------------------------------------------------
    // Format 0 writes one track holding every event, any other value format 1.
    // Returns false (after showing its message) when the file could not be
    // written; an existing file of that name is then left unchanged.
    bool SaveMidifile(int format, const std::string& fileName);
    // Assembles the song as SaveMidifile would write it (format 0 for 0, format 1 otherwise) into `bytes`, touching no file.
    bool SaveMidiBytes(int format, std::vector<std::uint8_t>& bytes);

    bool FormatNullSave(const std::string& fileName);
    bool SaveVectorFuellen();
    bool InsertSaveMidiEventToContainer(const MidiEvent& event);
    bool InsertSaveMetaEventToContainer(const MetaEvent& event);
    bool SaveMidifileFormatNull(const std::string& fileName);
    bool InitWritePuffer();
    bool FillSMFHeader();
    bool FillMidiTrackHeader();
    bool MididatenPufferFuellen();
    bool MidiEventToPuffer();
    bool MetaEventToPuffer();
    bool ShortMidiEventToPuffer();
    bool LongMidiEventToPuffer();
    bool MetaToPuffer();
    bool SysexToPuffer();
    bool WriteVarLength(std::uint32_t value);
    bool EndTrackSetzen();
    bool TracklaengeAktualisieren();
    bool PufferToFile(const std::string& fileName);

    bool FormatOneSave(const std::string& fileName);
    bool FormatEinsInit();
    bool MetaUndSysexVectorFuellen();
    int MidikanalErmitteln();
    bool FillSMFHeaderFormat1(std::uint8_t trackCount);
    bool Format1DatenInFileSchreiben(const std::string& fileName);
    bool FillFormatOneMidiTrackHeader(int chunkOffset);
    bool TracklaengeFormatOneAktualisieren(int unused);
    bool MidiEventToPufferFormatOne(int channel);
    bool ShortMidiEventToFormatOnePuffer(int channel);
    bool LongMidiEventToFormatOnePuffer(int channel);

    // The bytes assembled by the last save to a file (the whole file).
    const std::vector<std::uint8_t>& WrittenBytes() const;

    // ---- transposition, channel and track changes ---------------------------
    std::uint8_t YamByteTrans(int interval, std::uint8_t root);
    bool Yamchordtranspose(int interval);
    bool YamchordTransFromTo(int interval, long from, long to);
    bool TransposeChannel(int channel, int interval);
    bool TransposeChannelFromTo(int channel, int interval, long from, long to);
    MidiEvent ChannelChanging(MidiEvent e, int newChannel);
    bool TrackChanging(int a, int b);

    // ---- keyboard chords -----------------------------------------------------
    // Throws ChordDecodeError for a chord root it cannot decode.
    std::string YamChordCalculate(const MetaEvent& chord);
    bool YamahaChordToKetron();
    MetaEvent ChToMeta(const std::string& name, long tick);
    bool DeleteAllYamChords();
    bool DelAllKetronChords();

    // ---- vocoder and song start -----------------------------------------------
    bool DeleteVocoderNachrichten();
    int VocoderAnalyse();
    // The vocoder channel (1 to 16) by the threshold the host shows now, or
    // kNoVocoderChannel.
    int VocoderKanalAnalyse();
    // The same by the threshold given, without asking the host: a conversion
    // run carries its threshold with its options.
    int VocoderKanalAnalyse(int threshold);
    bool VocoderTrackAnalyse(int channel);
    int MidiTrackEndTickFromStart(int channel);

    // ---- song texts and sounds -------------------------------------------------
    // With the option on, the reader keeps copyright notices (FF 02) and
    // sequence/track names (FF 03) in MetaEvents, in the order of the tracks
    // that hold them; off (the default), it drops them.
    void SetKeepSongNames(bool value);
    bool GetKeepSongNames() const;
    // Puts a copyright notice with `copyright` and a sequence name with `name`
    // at tick 0 in front of every other meta event, so that either writer
    // writes them first in the first track (format 1: the meta track). An
    // empty text puts nothing; a text of either type standing there already
    // at tick 0 is replaced. The texts' bytes are taken as they are.
    bool PutSongTexts(const std::string& copyright, const std::string& name);
    // Gives program changes other programs and banks. Per channel, the bank a
    // program change plays in is the value of the last bank select
    // (controller 0) before it in its list, 0 without one. The first rule
    // whose program (and bank, when it names one) a program change has takes
    // it: the program change gets the rule's program, and with a destination
    // bank the bank select that set the bank at the same tick gets the new
    // value; without such a bank select one is put in front of the program
    // change. A later program change that no rule moves to another bank gets
    // a bank select with the song's bank in front, so its sound stays. Rules
    // with a value outside 0..127 are not used.
    // A rule takes program changes only on the channels of its Channels set.
    SoundMappingReport MapSounds(const std::vector<SoundMappingRule>& rules);

private:
    // Resets the reading state and the report at the start of every load.
    void BeginLoad();
    // Where the chunk at chunkStart ends, within the file: its declared end,
    // or for a length that runs past the file the start of the next track
    // chunk found inside it (the file's end when there is none).
    std::uint64_t ChunkEnd(std::uint32_t chunkStart, std::uint32_t chunkLength);
    // Moves the song's end tick to its latest event where that is later.
    void KeepEveryEventBeforeTheEnd();
    // Moves the whole song so that its first note starts at tick 0.
    void ShiftSongToFirstNote();
    // Places the records that arrived behind their list's time during a load.
    void PlaceLateRecords();
    // Forgets them, when a failed load cannot place them.
    void DropLateRecords();
    // Records one piece of damage of the file, met at `offset`; the message is
    // shown once per load and the first damage of a load goes into its report.
    void ReportDamage(std::uint32_t offset);
    // Cursors over the held file, limited to its end or to the end of the
    // chunk being read, that move `position` (Bytepos, or a local position to
    // look ahead); without a held file they read nothing.
    detail::ByteCursor FileCursor(std::uint32_t& position) const;
    detail::ByteCursor ChunkCursor(std::uint32_t& position) const;
    // Lets go of the file's bytes once they are read.
    void ReleaseFile();
    // Keeps a copy of the bytes being read, owned by the object, in FileBuffer.
    void HoldFile();
    // After an error ended a load: places what was stored and lets go of the file.
    void FinishFailedLoad();
    // Whether the chunk at chunkStart is a track ("MTrk").
    bool IsTrackChunk(std::uint32_t chunkStart) const;
    // Passes over a system-common or real-time message whose status is at position.
    void SkipSystemCommon(std::uint32_t position, std::uint32_t delta);
    // Ends the reading of the current chunk.
    void EndChunk();
    // Reads and stores one channel message of `dataBytes` data bytes whose
    // status (or first data byte, with running status) is at `position`.
    bool ReadChannelEvent(std::uint32_t position, int kind, std::uint32_t delta, int dataBytes);
    // After a meta or system-exclusive event was read (or found cut off):
    // counts its delta time, or reports the damage at `position` and ends
    // the chunk. Whether the event is to be stored.
    bool TimeLengthPrefixed(bool read, std::uint32_t position, std::uint32_t delta);
    // ReadEvent as the chunk loop inlines it.
    void ReadNextEvent(std::uint32_t position);

    // ---- writer internals (the writers' files own this block) ----
    // The whole file of either format in the writer's buffer.
    void AssembleFormatNull();
    void AssembleFormatOne();
    // The header and the one track of a format 0 file, from the save sequences.
    void AssembleFormatNullTrack();
    // The meta track and the channel tracks of a format 1 file.
    void AssembleFormatOneTracks();
    // Encodes one meta or system-exclusive record of a save sequence.
    void EncodeMetaRecord(const MetaEvent& record);
    // Encodes the channel tracks of a format 1 file, in ascending channel order.
    void WriteFormatOneChannelTracks();
    // ---- end of writer internals ----

    // ---- services internals (vocoder, transposition and chord files own this block) ----
    // ---- end of services internals ----

    std::int32_t TrackChunkStart = 0;
    std::uint32_t Bytepos = 0;
    bool RunningStatusUsed = false;
    std::int32_t CurrentKind = 0;
    std::uint32_t RunningStatus = 0;
    std::uint32_t TrackTime = 0;
    std::uint32_t LastChannelTick[16] = {};
    std::uint32_t LastMetaTick = 0;
    std::uint32_t LastSysexTick = 0;
    std::uint8_t HeaderId[4] = {};
    bool StartFirstNote = false;
    bool keepSongNames_ = false;
    // The bytes being read: the caller's during a load from memory or the
    // file's read for LoadMidifile, never copied; nullptr while none are held.
    const std::uint8_t* FileBuffer = nullptr;
    std::uint32_t FileSize = 0;
    // Owns the bytes FileBuffer shows when the object keeps them beyond the
    // load's call (after a rejected header, until the next InitHauptcontainer).
    std::unique_ptr<std::uint8_t[]> heldFile_;

    // Reading state beyond the model's members.
    std::uint8_t lastChannelStatus_ = 0;  // status of the last channel message of this load
    std::uint32_t chunkEnd_ = 0;          // end of the chunk being read, within the file
    bool loading_ = false;                // records are collected, placed at the end of the load
    bool damageShown_ = false;
    LoadReport report_;
    bool reportOpen_ = false;  // a load is under way: its damage goes into report_
    int currentTrack_ = -1;    // index among the track chunks of the one being read
    bool readNote_ = false;
    bool firstNoteSeen_ = false;
    std::uint32_t firstNoteTick_ = 0;
    // Records that arrived behind their list's time during a load, in order
    // of arrival, until the load ends and places them.
    std::array<std::vector<MidiEvent>, 16> channelLate_;
    std::vector<MetaEvent> metaLate_;
    std::vector<MetaEvent> songTextLate_;  // kept copyright notices and track names
    std::vector<SysexEvent> sysexLate_;
};

}  // namespace tonalux
