#include "grid_scene_file.h"

#include "grid_meshes.h"

#include "host/scene/scene_json.h"
#include "host/scene/scene_records.h"

#include "hostsdk/tri_object.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace growth {

namespace {

// Appends to a buffer that goes to the file whenever it grows past a few megabytes.
class TextOut {
public:
    explicit TextOut(std::FILE* file) : file(file) {}
    ~TextOut() { Flush(); }

    TextOut& operator<<(const std::string& text) {
        buffer += text;
        if (buffer.size() > (4u << 20))
            Flush();
        return *this;
    }
    TextOut& operator<<(long long number) { return *this << std::to_string(number); }
    bool Flush() {
        ok = ok && std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
        buffer.clear();
        return ok;
    }

private:
    std::FILE* file;
    std::string buffer;
    bool ok = true;
};

// Vertex coordinates are whole numbers: written without a fraction.
std::string Whole(float value) {
    return std::to_string(static_cast<long long>(value));
}

// The vertices first, then the faces: the grids are visited once for each.
void WriteMeshObject(TextOut& out, int id, const GridSceneSize& size) {
    out << "{\"id\":" << id << ",\"superClass\":\"" << host::HexWord(GEOMOBJECT_CLASS_ID)
        << "\",\"class\":" << host::ClassWords(triObjectClassID).dump()
        << ",\"settings\":{\"mesh\":{\"verts\":[";
    bool first = true;
    VisitGrids(
        size.elements, size.facesPerElement,
        [&](float x, float y) {
            out << (first ? "[" : ",[") << Whole(x) << "," << Whole(y) << ",0]";
            first = false;
        },
        [](int, int, int, int, bool) {});
    out << "],\"faces\":[";
    first = true;
    const auto triangle = [&](int a, int b, int c) {
        out << (first ? "[" : ",[") << a << "," << b << "," << c << "]";
        first = false;
    };
    VisitGrids(
        size.elements, size.facesPerElement, [](float, float) {},
        [&](int a, int b, int c, int d, bool half) {
            triangle(a, b, c);
            if (!half)
                triangle(a, c, d);
        });
    out << "]}}}";
}

} // namespace

bool WriteGridScene(const std::filesystem::path& file, const GridSceneSize& size) {
    std::FILE* handle = std::fopen(file.string().c_str(), "wb");
    if (handle == nullptr)
        return false;
    enum { kMap = 1, kMaterial = 2, kFirstObject = 3 };
    const int firstNode = kFirstObject + size.nodes;
    const GridShape shape = ShapeFor(size.facesPerElement);
    const float objectWidth = static_cast<float>(size.elements * (shape.columns + 1));
    const float objectHeight = static_cast<float>(shape.rows);
    const int perRow = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(size.nodes)))));
    const float spacing = std::max(objectWidth, objectHeight) + 1.0f;
    {
        TextOut out(handle);
        out << "{\"format\":\"" << host::kSceneFormat << "\",\"version\":" << host::kSceneVersion
            << ",\"objects\":[\n"
            << host::ChromasiftMapRecord(kMap).dump() << ",\n"
            << host::ChromasiftMaterialRecord(kMaterial, kMap).dump();
        for (int n = 0; n < size.nodes; ++n) {
            out << ",\n";
            WriteMeshObject(out, kFirstObject + n, size);
        }
        for (int n = 0; n < size.nodes; ++n) {
            const float x = static_cast<float>(n % perRow) * spacing;
            const float y = static_cast<float>(n / perRow) * spacing;
            out << ",\n"
                << host::NodeRecord(firstNode + n, "Grid " + std::to_string(n), n + 1,
                                    host::Json{{"position", {x, y, 0.0f}}}, kFirstObject + n, kMaterial)
                       .dump();
        }
        out << "\n],\"maps\":[" << kMap << "],\"nodes\":[";
        for (int n = 0; n < size.nodes; ++n)
            out << (n == 0 ? "" : ",") << firstNode + n;
        // Looking straight down on the square of nodes, from far enough to see all of it.
        const int nodeRows = (size.nodes + perRow - 1) / perRow;
        const float wide = static_cast<float>(perRow - 1) * spacing + objectWidth;
        const float high = static_cast<float>(nodeRows - 1) * spacing + objectHeight;
        const float distance = std::max(wide, high) * 1.1f + 1.0f;
        out << "],\"camera\":"
            << host::Json{{"position", {wide / 2, high / 2, distance}},
                          {"target", {wide / 2, high / 2, 0.0f}},
                          {"up", {0.0f, 1.0f, 0.0f}},
                          {"fov", 60.0f}}
                   .dump()
            << "}\n";
        if (!out.Flush()) {
            std::fclose(handle);
            return false;
        }
    }
    return std::fclose(handle) == 0;
}

} // namespace growth
