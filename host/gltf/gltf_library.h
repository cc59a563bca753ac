#pragma once

// The glTF library as the tool uses it, without its image coders: the tool encodes its pictures with its own
// PNG writer, and the Windows build keeps one image decoder, the SDK's. Every file that uses the library
// includes it through this header, so that all of them see it configured alike.
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#include <tiny_gltf.h>
