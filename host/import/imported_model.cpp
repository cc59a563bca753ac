#include "host/import/imported_model.h"

#include <algorithm>
#include <cctype>

namespace host {

bool ImportedPart::HasPolygons() const {
    return std::any_of(faces.begin(), faces.end(), [](const std::vector<int>& f) { return f.size() > 3; });
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
