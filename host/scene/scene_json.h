#pragma once

// What scene reading and writing share: the JSON type, the format's name and version, and the spelling of
// class IDs and parameter types.
#include "hostsdk/max_types.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace host {

// Keys keep the order they are written in, so that files read naturally.
using Json = nlohmann::ordered_json;

inline constexpr const char* kSceneFormat = "chromasift-scene";
inline constexpr int kSceneVersion = 1;

// Class ID words are written as "0x61c17ce2".
std::string HexWord(ULONG word);
// Reads a word written as a hexadecimal string or as a number; empty when it is neither.
std::optional<ULONG> ReadWord(const Json& value);

// "int", "bool", "float", "texmap", "bitmap", "reftarg", "point3", "color", "string".
const char* ParamTypeName(int type);

} // namespace host
