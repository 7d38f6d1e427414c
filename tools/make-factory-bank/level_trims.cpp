// Level trims of the factory sounds in dB, from the quality tool's loudness measurements
// (build/tools/quenvale-bank-quality --suggest-trims prints this table for the current bank).
#include <map>
#include <string>

#include "sound_design.h"

namespace quenvale::factory {

float levelTrimDb(const std::string& name) {
    static const std::map<std::string, float> kTrims = {
    };
    const auto found = kTrims.find(name);
    return found == kTrims.end() ? 0.0f : found->second;
}

}  // namespace quenvale::factory
