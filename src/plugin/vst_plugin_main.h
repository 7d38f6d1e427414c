// The library's one exported function: a host calls it once per plug-in instance.
#pragma once

#include "plugin/vst2_abi.h"

#if defined(_WIN32)
#define QUENVALE_EXPORT __declspec(dllexport)
#else
#define QUENVALE_EXPORT __attribute__((visibility("default")))
#endif

// Returns the new instance's record, or null when no host answers or the instance cannot be built.
extern "C" QUENVALE_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback host);
