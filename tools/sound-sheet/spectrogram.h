// A small spectrogram picture of a take: time across, frequency up on a log scale, level as grey.
#pragma once

#include <string>

#include "sound_probe.h"

namespace quenvale::sheet {

inline constexpr int kPictureWidth = 160;
inline constexpr int kPictureHeight = 64;

// Writes the take's left+right sum as a kPictureWidth × kPictureHeight greyscale PNG (cairo): columns
// spread evenly over the take, rows from 40 Hz to 16 kHz, black at −90 dB below the loudest cell. False
// when the file cannot be written.
bool writeSpectrogram(const probe::Take& take, double sampleRate, const std::string& path);

}  // namespace quenvale::sheet
