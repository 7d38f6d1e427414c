// The record and capability checks of quenvale-host-check.
#include "record_check.h"

#include <cstdint>
#include <cstring>

#include "plugin_host.h"

namespace quenvale::hostcheck {

namespace {

struct Expected {
    const char* what;
    VstIntPtr want;
    VstIntPtr got;
};

struct DispatchAnswer {
    const char* what;
    VstInt32 opcode;
    const char* text;  // the string at ptr, or null
    VstIntPtr want;
};

}  // namespace

std::vector<std::string> checkRecord(host::EntryFunction entry) {
    std::vector<std::string> problems;
    {
        host::PluginHost refusing;
        refusing.setHostVersion(0);
        if (refusing.instantiate(entry)) problems.push_back("started although the host reported version 0");
    }
    host::PluginHost host;
    if (!host.instantiate(entry)) {
        problems.push_back("did not start: " + host.error());
        return problems;
    }
    const AEffect& e = *host.effect();
    const VstInt32 flags =
        effFlagsHasEditor | effFlagsHasVu | effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth;
    const Expected fields[] = {
        {"magic", kEffectMagic, e.magic},
        {"numPrograms", 128, e.numPrograms},
        {"numParams", 383, e.numParams},
        {"numInputs", 0, e.numInputs},
        {"numOutputs", 2, e.numOutputs},
        {"flags", flags, e.flags},
        {"initialDelay", 0, e.initialDelay},
        {"uniqueID", vstFourCC('Q', 'n', 'v', 'l'), e.uniqueID},
        {"version", 1, e.version},
        {"processReplacing present", 1, e.processReplacing != nullptr},
        {"process present", 1, e.process != nullptr},
        {"setParameter present", 1, e.setParameter != nullptr},
        {"getParameter present", 1, e.getParameter != nullptr},
    };
    for (const Expected& f : fields) {
        if (f.want != f.got) {
            problems.push_back(std::string(f.what) + " is " + std::to_string(f.got) + ", expected " +
                               std::to_string(f.want));
        }
    }
    const DispatchAnswer answers[] = {
        {"effOpen", effOpen, nullptr, 1},
        {"effIdentify", effIdentify, nullptr, vstFourCC('N', 'v', 'E', 'f')},
        {"effGetVstVersion", effGetVstVersion, nullptr, 0},
        {"effCanDo receiveVstEvents", effCanDo, "receiveVstEvents", 1},
        {"effCanDo receiveVstMidiEvent", effCanDo, "receiveVstMidiEvent", 1},
        {"effCanDo receiveVstTimeInfo", effCanDo, "receiveVstTimeInfo", 0},
        {"effCanDo sendVstMidiEvent", effCanDo, "sendVstMidiEvent", 0},
        {"effGetProgram", effGetProgram, nullptr, 0},
    };
    for (const DispatchAnswer& a : answers) {
        char text[64] = {};
        if (a.text != nullptr) std::strncpy(text, a.text, sizeof text - 1);
        const VstIntPtr got = host.dispatch(a.opcode, 0, 0, a.text != nullptr ? text : nullptr, 0.0f);
        if (got != a.want) {
            problems.push_back(std::string(a.what) + " answered " + std::to_string(got) + ", expected " +
                               std::to_string(a.want));
        }
    }
    char name[256] = {};
    host.dispatch(effGetParamName, 0, 0, name, 0.0f);
    if (name[0] == '\0') problems.push_back("effGetParamName gave no name for parameter 0");
    if (host.close() != 1) problems.push_back("effClose did not answer 1");
    return problems;
}

}  // namespace quenvale::hostcheck
