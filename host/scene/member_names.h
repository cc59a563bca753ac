#pragma once

// Names a scene file may give the members of a record, and what the loader says of any other: a misspelt
// member would otherwise be skipped and the scene rendered without what it meant to set.
#include "host/scene/scene_json.h"

#include <initializer_list>
#include <optional>
#include <string>

namespace host {

// The known name a person most likely meant by `name`: the same letters in another case, or one at most a
// third of whose letters differ. Empty when none is that close.
std::string NearestName(const std::string& name, std::initializer_list<const char*> known);

// The first member of `object` not among `known`, and what to say of it: "unknown member; did you mean
// \"paramBlocks\"?" or the known names. Nothing when every member is known (or `object` is no object).
struct UnknownMember {
    std::string name;
    std::string message;
};
std::optional<UnknownMember> FindUnknownMember(const Json& object, std::initializer_list<const char*> known);

} // namespace host
