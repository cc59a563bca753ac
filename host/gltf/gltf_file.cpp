#include "host/gltf/gltf_file.h"

#include "host/base/atomic_file.h"
#include "host/base/text.h"
#include "host/draw/png_file.h"
#include "host/gltf/gltf_vertices.h"
#include "host/gltf/preview_page.h"

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

namespace host {

namespace {

void PutWord(std::string& bytes, std::uint32_t word) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((word >> (8 * i)) & 0xff));
}

// The colours the export shows, as the preview lists them: those of faces, then those of textures.
std::vector<std::string> Swatches(const ExportColours& colours) {
    std::vector<std::uint32_t> shown;
    for (const AColor& c : colours.palette)
        shown.push_back(std::uint32_t(ToByte(c.r)) << 16 | std::uint32_t(ToByte(c.g)) << 8 | ToByte(c.b));
    for (const ObjectColours& object : colours.objects)
        shown.insert(shown.end(), object.textureColours.begin(), object.textureColours.end());
    std::vector<std::string> swatches;
    std::set<std::uint32_t> listed;
    for (const std::uint32_t colour : shown)
        if (listed.insert(colour).second) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "#%06x", static_cast<unsigned>(colour));
            swatches.push_back(hex);
        }
    return swatches;
}

} // namespace

void WriteGlb(const GltfLayout& layout, HostRenderGlobalContext& context, const ExportColours& colours,
              const std::function<void(std::string_view)>& write) {
    std::string json = layout.json;
    // Each chunk is a whole number of words; the document is padded with spaces, the buffer with zeros.
    json.append((4 - json.size() % 4) % 4, ' ');
    const bool binary = layout.bufferBytes > 0;
    const std::size_t total = 12 + 8 + json.size() + (binary ? 8 + layout.bufferBytes : 0);
    std::string head;
    PutWord(head, 0x46546C67); // "glTF"
    PutWord(head, 2);
    PutWord(head, static_cast<std::uint32_t>(total));
    PutWord(head, static_cast<std::uint32_t>(json.size()));
    PutWord(head, 0x4E4F534A); // "JSON"
    write(head);
    write(json);
    if (!binary)
        return;
    head.clear();
    PutWord(head, static_cast<std::uint32_t>(layout.bufferBytes));
    PutWord(head, 0x004E4942); // "BIN"
    write(head);
    for (const GltfBlock& block : layout.blocks)
        WriteGltfBlock(block, layout, context, colours, write);
}

void WriteExport(const std::filesystem::path& file, ExportFormat format, HostRenderGlobalContext& context,
                 const ExportColours& colours, bool unlit) {
    GltfSettings settings;
    settings.unlit = unlit;
    if (format != ExportFormat::Gltf) {
        const GltfLayout layout = LayOutGltf(context, colours, settings);
        if (format == ExportFormat::Glb) {
            WriteFileInParts(file, [&](const auto& write) { WriteGlb(layout, context, colours, write); });
        } else {
            WriteFileInParts(file, [&](const auto& write) {
                WritePreviewPage(PathToUtf8(file.stem()), Swatches(colours), write,
                                 [&](const auto& glb) { WriteGlb(layout, context, colours, glb); });
            });
        }
        return;
    }
    // The buffer and the textures take the document's name: spider.gltf, spider.bin, spider-0.png.
    const std::string stem = PathToUtf8(file.stem());
    settings.bufferUri = stem + ".bin";
    settings.imageStem = stem;
    const GltfLayout layout = LayOutGltf(context, colours, settings);
    const std::filesystem::path folder = file.parent_path();
    for (const auto& [object, name] : layout.imageFiles) {
        const std::vector<std::uint8_t>& png = colours.objects[object].texturePng;
        WriteFileAtomically(folder / PathFromUtf8(name),
                            std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
    }
    if (layout.bufferBytes > 0)
        WriteFileInParts(folder / PathFromUtf8(settings.bufferUri), [&](const auto& write) {
            for (const GltfBlock& block : layout.blocks)
                WriteGltfBlock(block, layout, context, colours, write);
        });
    WriteFileAtomically(file, layout.json);
}

} // namespace host
