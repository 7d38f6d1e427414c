// Level trims of the factory sounds in dB, from the quality tool's loudness measurements
// (build/tools/quenvale-bank-quality --suggest-trims prints this table for the current bank).
#include <map>
#include <string>

#include "sound_design.h"

namespace quenvale::factory {

float levelTrimDb(const std::string& name) {
    static const std::map<std::string, float> kTrims = {
        {"Soft Keys", 0.1f},
        {"Tine Piano", -2.7f},
        {"Felt Piano", -2.5f},
        {"Clav Pluck", -1.7f},
        {"Glass Keys", -0.8f},
        {"Resynth Tine", -0.9f},
        {"Evolving Pad", -0.4f},
        {"Slow Bloom", 0.0f},
        {"Air Pad", 13.6f},
        {"Glacier Pad", -0.3f},
        {"Sway Pad", -0.6f},
        {"Bright Saw", -0.6f},
        {"Square Lead", 0.1f},
        {"Sync Sweep", -0.7f},
        {"PWM Lead", -4.3f},
        {"Whistle Lead", 5.0f},
        {"Sub Bass", -3.3f},
        {"Pluck Bass", -2.1f},
        {"PWM Bass", -6.4f},
        {"Acid Steps", -3.6f},
        {"Growl Bass", -3.4f},
        {"Glass Bell", 0.6f},
        {"Tubular Bell", -4.1f},
        {"Marimba", -1.0f},
        {"Vibraphone", -3.7f},
        {"Bronze Gong", -3.4f},
        {"Drawbar Organ", -2.9f},
        {"Church Organ", 1.3f},
        {"Reed Organ", 5.8f},
        {"Perc Organ", -2.4f},
        {"String Section", 1.2f},
        {"Brass Section", 0.7f},
        {"Solo Horn", 4.3f},
        {"Low Strings", 1.0f},
        {"Flute Ensemble", -0.2f},
        {"Aah Choir", 2.3f},
        {"Ooh Voice", 4.2f},
        {"Vowel Morph", 0.9f},
        {"Talking Lead", -1.3f},
        {"Resynth Ah", -3.1f},
        {"Pluck", 2.4f},
        {"Harp", -2.6f},
        {"Pizzicato", 2.8f},
        {"Steel String", -12.1f},
        {"Nylon String", -13.2f},
        {"Step Filter", 6.1f},
        {"Spectral Waves", 0.8f},
        {"Partial Rain", 11.3f},
        {"Harmonic Arp", -3.3f},
        {"Notch Sweep", 0.4f},
        {"Comb Drone", -7.0f},
        {"Deep Drone", 1.7f},
        {"Wind", 11.8f},
        {"Riser", -6.3f},
        {"Metal Scrape", 9.7f},
    };
    const auto found = kTrims.find(name);
    return found == kTrims.end() ? 0.0f : found->second;
}

}  // namespace quenvale::factory
