// Spectra for the factory sounds.
#include "spectra.h"

#include <cmath>
#include <vector>

namespace quenvale::factory {

float harmonicNumber(int32_t k) {
    return static_cast<float>(k + 1);
}

Spectrum rolloff(float exponent, int32_t count) {
    return [=](int32_t k) { return k < count ? 1.0f / std::pow(harmonicNumber(k), exponent) : 0.0f; };
}

Spectrum saw(int32_t count) {
    return rolloff(1.0f, count);
}

Spectrum square(int32_t count) {
    return oddOf(saw(count));
}

Spectrum triangle(int32_t count) {
    return oddOf(rolloff(2.0f, count));
}

Spectrum evenOf(Spectrum s) {
    return [=](int32_t k) { return k % 2 == 1 ? s(k) : 0.0f; };
}

Spectrum oddOf(Spectrum s) {
    return [=](int32_t k) { return k % 2 == 0 ? s(k) : 0.0f; };
}

Spectrum darkened(Spectrum s, float brightness) {
    return [=](int32_t k) { return s(k) * std::exp(-harmonicNumber(k) / brightness); };
}

Spectrum scaled(Spectrum s, float factor) {
    return [=](int32_t k) { return s(k) * factor; };
}

Spectrum from(Spectrum s, int32_t firstHarmonic) {
    return [=](int32_t k) { return k + 1 >= firstHarmonic ? s(k) : 0.0f; };
}

Spectrum harmonics(std::initializer_list<std::pair<int32_t, float>> levels) {
    std::vector<std::pair<int32_t, float>> list(levels);
    return [list](int32_t k) {
        for (const auto& [h, level] : list)
            if (h == k + 1) return level;
        return 0.0f;
    };
}

Spectrum vowel(float referenceHz, std::initializer_list<Formant> formants, int32_t count) {
    std::vector<Formant> list(formants);
    return [=](int32_t k) {
        if (k >= count) return 0.0f;
        const float f = harmonicNumber(k) * referenceHz;
        float response = 0.02f;
        for (const Formant& m : list) {
            const float x = (f - m.hz) / (0.5f * m.bandwidth);
            response += m.gain / (1.0f + x * x);
        }
        return response / std::pow(harmonicNumber(k), 0.6f);
    };
}

// Formant frequencies, bandwidths and levels of a voice around C3 (130.8 Hz).
Spectrum vowelA(int32_t count) {
    return vowel(130.8f, {{750, 110, 1.0f}, {1150, 130, 0.6f}, {2800, 200, 0.25f}, {3500, 250, 0.12f}}, count);
}
Spectrum vowelE(int32_t count) {
    return vowel(130.8f, {{450, 80, 1.0f}, {1950, 120, 0.45f}, {2650, 180, 0.3f}, {3500, 250, 0.12f}}, count);
}
Spectrum vowelI(int32_t count) {
    return vowel(130.8f, {{300, 60, 1.0f}, {2300, 120, 0.3f}, {3000, 180, 0.3f}, {3700, 250, 0.1f}}, count);
}
Spectrum vowelO(int32_t count) {
    return vowel(130.8f, {{500, 80, 1.0f}, {850, 100, 0.7f}, {2600, 180, 0.15f}, {3300, 250, 0.08f}}, count);
}
Spectrum vowelU(int32_t count) {
    return vowel(130.8f, {{330, 60, 1.0f}, {700, 80, 0.35f}, {2500, 180, 0.08f}, {3300, 250, 0.05f}}, count);
}

Spectrum spreadPan(float width) {
    return [=](int32_t k) { return k == 0 ? 0.0f : width * scatter(k, 7u); };
}

Spectrum unit(Spectrum s) {
    double sum = 0.0;
    for (int32_t k = 0; k < 512; ++k) sum += static_cast<double>(s(k)) * s(k);
    const float factor = sum > 0.0 ? static_cast<float>(1.0 / std::sqrt(sum)) : 0.0f;
    return scaled(s, factor);
}

Spectrum flat(float value) {
    return [=](int32_t) { return value; };
}

float scatter(int32_t k, uint32_t seed) {
    uint32_t x = static_cast<uint32_t>(k) * 2654435761u + seed * 40503u + 12345u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    x *= 3266489917u;
    x ^= x >> 16;
    return static_cast<float>(x & 0xFFFFu) / 32767.5f - 1.0f;
}

}  // namespace quenvale::factory
