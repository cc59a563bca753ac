#include "plugin/string_table.h"

const ModuleString kStringTable[] = {
#define KR_STRING(name, id, text) {id, L##text},
#include "plugin/strings.inc"
#undef KR_STRING
};

const std::size_t kStringTableSize = sizeof(kStringTable) / sizeof(kStringTable[0]);
