#include "host/import/imported_model.h"

#include <algorithm>
#include <cctype>

namespace host {

void ImportedPart::AddFace(std::span<const int> vertices, int material, std::span<const int> uvs) {
    corners.insert(corners.end(), vertices.begin(), vertices.end());
    uvCorners.insert(uvCorners.end(), uvs.begin(), uvs.end());
    faceStarts.push_back(static_cast<std::uint32_t>(corners.size()));
    faceMaterials.push_back(material);
}

bool ImportedPart::HasPolygons() const {
    for (std::size_t f = 0; f + 1 < faceStarts.size(); ++f)
        if (faceStarts[f + 1] - faceStarts[f] > 3)
            return true;
    return false;
}

std::string FileExtension(const std::string& file) {
    const std::size_t dot = file.find_last_of('.');
    if (dot == std::string::npos || file.find_first_of("/\\", dot) != std::string::npos)
        return std::string();
    std::string extension = file.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool IsModelFile(const std::string& file) {
    const std::string extension = FileExtension(file);
    static const char* const kExtensions[] = {"obj", "ply", "stl", "3ds", "gltf", "glb", "fbx", "dae"};
    return std::find(std::begin(kExtensions), std::end(kExtensions), extension) != std::end(kExtensions);
}

} // namespace host
