#pragma once

// The image decoder's build options: the formats the host reads, and no stdio (files are read by the
// caller). The SDK's one copy of the decoder and the big-image benchmark's decode-only yardstick both
// include this, so the yardstick decodes exactly as the bitmap manager does.
#define STBI_NO_STDIO
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_HDR
