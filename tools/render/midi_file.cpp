// Standard MIDI File parsing: header, track chunks, variable-length quantities, running status.
#include "midi_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace quenvale::render {

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool atEnd() const noexcept { return position_ >= size_; }
    size_t remaining() const noexcept { return size_ - position_; }
    size_t position() const noexcept { return position_; }

    bool byte(uint8_t& value) noexcept {
        if (atEnd()) return false;
        value = data_[position_++];
        return true;
    }
    bool peek(uint8_t& value) const noexcept {
        if (atEnd()) return false;
        value = data_[position_];
        return true;
    }
    bool bigEndian(int bytes, uint32_t& value) noexcept {
        if (remaining() < static_cast<size_t>(bytes)) return false;
        value = 0;
        for (int i = 0; i < bytes; ++i) value = (value << 8) | data_[position_++];
        return true;
    }
    // At most four bytes, as the file format allows.
    bool variableLength(uint32_t& value) noexcept {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = 0;
            if (!byte(b)) return false;
            value = (value << 7) | (b & 0x7Fu);
            if ((b & 0x80u) == 0) return true;
        }
        return false;
    }
    bool skip(size_t count) noexcept {
        if (remaining() < count) return false;
        position_ += count;
        return true;
    }
    bool tag(const char (&expected)[5]) const noexcept {
        return remaining() >= 4 && std::equal(expected, expected + 4, data_ + position_);
    }
    const uint8_t* here() const noexcept { return data_ + position_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

struct TrackResult {
    std::vector<MidiFileEvent> events;
    std::vector<TempoChange> tempoChanges;
    uint64_t endTick = 0;
};

int dataBytesOf(uint8_t status) noexcept {
    return (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
}

bool parseTrack(Reader track, int number, TrackResult& out, std::string& error) {
    const std::string where = "track " + std::to_string(number);
    uint64_t tick = 0;
    uint8_t runningStatus = 0;
    while (!track.atEnd()) {
        uint32_t delta = 0;
        if (!track.variableLength(delta)) {
            error = where + ": truncated or invalid delta time";
            return false;
        }
        tick += delta;
        out.endTick = std::max(out.endTick, tick);
        uint8_t first = 0;
        if (!track.peek(first)) {
            error = where + ": truncated event";
            return false;
        }
        uint8_t status = runningStatus;
        if ((first & 0x80) != 0) {
            track.skip(1);
            status = first;
        } else if (runningStatus == 0) {
            error = where + ": data byte without a status byte";
            return false;
        }

        if (status == 0xFF) {
            runningStatus = 0;
            uint8_t type = 0;
            uint32_t length = 0;
            if (!track.byte(type) || !track.variableLength(length) || track.remaining() < length) {
                error = where + ": truncated meta event";
                return false;
            }
            const uint8_t* payload = track.here();
            track.skip(length);
            if (type == 0x2F) return true;  // end of track
            if (type == 0x51 && length == 3) {
                const uint32_t tempo =
                    (uint32_t{payload[0]} << 16) | (uint32_t{payload[1]} << 8) | payload[2];
                if (tempo > 0) out.tempoChanges.push_back({tick, tempo});
            }
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            runningStatus = 0;
            uint32_t length = 0;
            if (!track.variableLength(length) || !track.skip(length)) {
                error = where + ": truncated system-exclusive event";
                return false;
            }
            continue;
        }
        if (status >= 0xF0) {
            error = where + ": unexpected status byte " + std::to_string(status);
            return false;
        }

        runningStatus = status;
        MidiFileEvent event;
        event.tick = tick;
        event.bytes[0] = status;
        event.size = static_cast<uint8_t>(1 + dataBytesOf(status));
        for (int i = 1; i < event.size; ++i) {
            if (!track.byte(event.bytes[i])) {
                error = where + ": truncated channel message";
                return false;
            }
            if ((event.bytes[i] & 0x80) != 0) {
                error = where + ": status byte where a data byte belongs";
                return false;
            }
        }
        out.events.push_back(event);
    }
    return true;
}

}  // namespace

bool parseMidiFile(const uint8_t* data, size_t size, MidiSequence& out, std::string& error) {
    out = MidiSequence{};
    Reader file(data, size);
    uint32_t headerLength = 0, format = 0, tracks = 0, division = 0;
    if (!file.tag("MThd")) {
        error = "not a Standard MIDI File (no MThd header)";
        return false;
    }
    file.skip(4);
    if (!file.bigEndian(4, headerLength) || headerLength < 6 || file.remaining() < headerLength) {
        error = "truncated MIDI file header";
        return false;
    }
    const size_t headerEnd = file.position() + headerLength;
    file.bigEndian(2, format);
    file.bigEndian(2, tracks);
    file.bigEndian(2, division);
    file.skip(headerEnd - file.position());
    if (format > 1) {
        error = "MIDI file format " + std::to_string(format) + " is not supported (only 0 and 1)";
        return false;
    }
    if (tracks == 0 || (format == 0 && tracks != 1)) {
        error = "MIDI file format " + std::to_string(format) + " with " + std::to_string(tracks) + " tracks";
        return false;
    }
    if ((division & 0x7FFFu) == 0 || ((division & 0x8000u) != 0 && (division & 0xFFu) == 0)) {
        error = "MIDI file with an invalid time division";
        return false;
    }
    out.format = static_cast<int>(format);
    out.trackCount = static_cast<int>(tracks);
    out.division = static_cast<uint16_t>(division);

    int found = 0;
    while (found < static_cast<int>(tracks)) {
        uint32_t length = 0;
        if (file.remaining() < 8) {
            error = "truncated MIDI file: " + std::to_string(found) + " of " + std::to_string(tracks) +
                    " tracks present";
            return false;
        }
        const bool isTrack = file.tag("MTrk");
        file.skip(4);
        file.bigEndian(4, length);
        if (file.remaining() < length) {
            error = "truncated MIDI file: track chunk runs past the end of the file";
            return false;
        }
        if (isTrack) {
            TrackResult track;
            if (!parseTrack(Reader(file.here(), length), found, track, error)) return false;
            out.events.insert(out.events.end(), track.events.begin(), track.events.end());
            out.tempoChanges.insert(out.tempoChanges.end(), track.tempoChanges.begin(),
                                    track.tempoChanges.end());
            out.endTick = std::max(out.endTick, track.endTick);
            ++found;
        }
        file.skip(length);  // unknown chunk types are skipped whole
    }
    const auto byTick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
    std::stable_sort(out.events.begin(), out.events.end(), byTick);
    std::stable_sort(out.tempoChanges.begin(), out.tempoChanges.end(), byTick);
    return true;
}

bool loadMidiFile(const std::string& path, MidiSequence& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open MIDI file '" + path + "'";
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read MIDI file '" + path + "'";
        return false;
    }
    if (!parseMidiFile(bytes.data(), bytes.size(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace quenvale::render
