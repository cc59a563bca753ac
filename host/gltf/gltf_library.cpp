// The glTF library's code, compiled once from its header.
#define TINYGLTF_IMPLEMENTATION
#include "host/gltf/gltf_library.h"
