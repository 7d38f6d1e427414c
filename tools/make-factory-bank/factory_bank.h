// The factory bank: every designed sound, built from code into an engine's programs.
#pragma once

#include <vector>

#include "engine/synth_engine.h"
#include "sound_design.h"

namespace quenvale::factory {

// Categories, in bank order.
inline constexpr const char* kKeys = "Keys";
inline constexpr const char* kPads = "Pads";
inline constexpr const char* kLeads = "Leads";
inline constexpr const char* kBasses = "Basses";
inline constexpr const char* kBells = "Bells & Mallets";
inline constexpr const char* kOrgans = "Organs";
inline constexpr const char* kEnsembles = "Ensembles";
inline constexpr const char* kVocal = "Vocal";
inline constexpr const char* kPlucks = "Plucks";
inline constexpr const char* kMotion = "Motion";
inline constexpr const char* kDrones = "Drones & FX";

// [ui] Builds every factory sound into programs 0 … n − 1 (the rest keep their defaults), selects
// program 0 again and returns what each program is.
std::vector<SoundInfo> buildFactoryBank(SynthEngine& engine);

// One builder per category (sounds_*.cpp), called in bank order.
void buildKeys(SoundBuilder& b);
void buildPads(SoundBuilder& b);
void buildLeads(SoundBuilder& b);
void buildBasses(SoundBuilder& b);
void buildBells(SoundBuilder& b);
void buildOrgans(SoundBuilder& b);
void buildEnsembles(SoundBuilder& b);
void buildVocal(SoundBuilder& b);
void buildPlucks(SoundBuilder& b);
void buildMotion(SoundBuilder& b);
void buildDrones(SoundBuilder& b);

}  // namespace quenvale::factory
