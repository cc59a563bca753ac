#pragma once

// Writing an export: a .glb (one file), a .gltf (the document, its buffer and textures beside it) or the
// preview page, which holds the .glb.
#include "host/gltf/gltf_layout.h"

#include <filesystem>
#include <functional>
#include <string_view>

namespace host {

enum class ExportFormat { Glb, Gltf, Html };

// Writes the export of `colours` (the frame's instances in `context`) into `file`, each file replaced whole.
// `unlit` marks the materials unlit. Throws FileWriteError.
void WriteExport(const std::filesystem::path& file, ExportFormat format, HostRenderGlobalContext& context,
                 const ExportColours& colours, bool unlit);

// The .glb's bytes, a part at a time.
void WriteGlb(const GltfLayout& layout, HostRenderGlobalContext& context, const ExportColours& colours,
              const std::function<void(std::string_view)>& write);

} // namespace host
