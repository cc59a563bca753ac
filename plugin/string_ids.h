#pragma once

// String resource IDs of the library's string table (strings.inc).
enum StringId : int {
#define KR_STRING(name, id, text) name = id,
#include "plugin/strings.inc"
#undef KR_STRING
};
