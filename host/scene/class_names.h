#pragma once

// The short names a scene file may give a record's class instead of its class ID words ("class": "box"),
// each naming one kind of object, whose super class then follows. Saved scenes keep writing IDs.
#include "hostsdk/max_types.h"

#include <string>

namespace host {

struct ClassName {
    std::string name;
    SClass_ID superClass;
    Class_ID classId;
};

// Null for a name no class has.
const ClassName* FindClassName(const std::string& name);
// The names, quoted and separated by commas, for messages.
std::string ClassNameList();

} // namespace host
