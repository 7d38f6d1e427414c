// Builds Standard MIDI File bytes by hand for the reader's and the renderer's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace quenvale::test {

using Bytes = std::vector<uint8_t>;

inline void appendBigEndian(Bytes& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Track body: delta time (variable length) then raw event bytes, as many as given.
class TrackBuilder {
public:
    TrackBuilder& event(uint32_t delta, std::initializer_list<uint8_t> bytes) {
        for (int shift = 21; shift > 0; shift -= 7)
            if (delta >> shift) body_.push_back(static_cast<uint8_t>(0x80 | ((delta >> shift) & 0x7F)));
        body_.push_back(static_cast<uint8_t>(delta & 0x7F));
        body_.insert(body_.end(), bytes);
        return *this;
    }
    TrackBuilder& tempo(uint32_t delta, uint32_t us) {
        return event(delta, {0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
    }
    TrackBuilder& end(uint32_t delta = 0) { return event(delta, {0xFF, 0x2F, 0x00}); }
    Bytes body_;
};

inline Bytes buildSmf(uint16_t format, uint16_t division, std::initializer_list<TrackBuilder> tracks) {
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    for (uint32_t field : {uint32_t{format}, uint32_t(tracks.size()), uint32_t{division}})
        appendBigEndian(out, field, 2);
    for (const TrackBuilder& track : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        appendBigEndian(out, static_cast<uint32_t>(track.body_.size()), 4);
        out.insert(out.end(), track.body_.begin(), track.body_.end());
    }
    return out;
}

}  // namespace quenvale::test
