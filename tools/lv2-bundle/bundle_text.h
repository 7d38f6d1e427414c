// The bundle's Turtle files, written from the parameter catalogue and a bank.
#pragma once

#include <string>

#include "engine/program.h"

namespace quenvale::lv2bundle {

inline constexpr const char* kPluginFile = "quenvale.ttl";
inline constexpr const char* kPresetFile = "presets.ttl";

// A program of the bank is a preset unless it is its slot's untouched init program ("Program 056" with
// every value its default and no component records): those would fill hosts' preset menus with copies
// of one silent-looking sound.
bool isPreset(const Program& program, int index);

// manifest.ttl: the plug-in with its binary (a file name inside the bundle) and description, and one
// entry per preset of the bank (programs[0 … 127]).
std::string manifestText(const std::string& binaryName, const Program* programs);
// The plug-in's description: ports (the 383 parameters with names, ranges, defaults, units and scale
// points), features and extensions. Empty, with a message in error, when two parameter names would
// give the same port symbol.
std::string pluginText(std::string& error);
// The presets: each program's parameter values as port values, and its record and number as state.
std::string presetText(const Program* programs);

}  // namespace quenvale::lv2bundle
