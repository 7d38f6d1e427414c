// Builds Standard MIDI File bytes by hand for the reader's and the renderer's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace quenvale::test {

using Bytes = std::vector<uint8_t>;

inline void appendVariableLength(Bytes& out, uint32_t value) {
    uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0 && count < 4);
    while (count > 1) out.push_back(static_cast<uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

inline void appendBigEndian(Bytes& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Track body: delta time then raw event bytes, as many as given.
class TrackBuilder {
public:
    TrackBuilder& event(uint32_t delta, std::initializer_list<uint8_t> bytes) {
        appendVariableLength(body_, delta);
        body_.insert(body_.end(), bytes);
        return *this;
    }
    TrackBuilder& tempo(uint32_t delta, uint32_t microsecondsPerQuarter) {
        return event(delta, {0xFF, 0x51, 0x03, static_cast<uint8_t>(microsecondsPerQuarter >> 16),
                             static_cast<uint8_t>(microsecondsPerQuarter >> 8),
                             static_cast<uint8_t>(microsecondsPerQuarter)});
    }
    TrackBuilder& end(uint32_t delta = 0) { return event(delta, {0xFF, 0x2F, 0x00}); }
    const Bytes& body() const { return body_; }

private:
    Bytes body_;
};

inline Bytes buildSmf(uint16_t format, uint16_t division, std::initializer_list<TrackBuilder> tracks) {
    Bytes out = {'M', 'T', 'h', 'd'};
    appendBigEndian(out, 6, 4);
    appendBigEndian(out, format, 2);
    appendBigEndian(out, static_cast<uint32_t>(tracks.size()), 2);
    appendBigEndian(out, division, 2);
    for (const TrackBuilder& track : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        appendBigEndian(out, static_cast<uint32_t>(track.body().size()), 4);
        out.insert(out.end(), track.body().begin(), track.body().end());
    }
    return out;
}

}  // namespace quenvale::test
