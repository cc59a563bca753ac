#include "host/gltf/gltf_layout.h"

#include "host/draw/png_file.h"
#include "host/gltf/gltf_vertices.h"

#include "hostsdk/mesh.h"

#include "host/gltf/gltf_library.h"
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>

namespace host {

namespace {

constexpr int kArrayBuffer = 34962;

// The document's parts as the layout adds them, each given its index.
class GltfBuilder {
public:
    GltfBuilder(GltfLayout& layout, tinygltf::Model& model) : layout(layout), model(model) {}

    // A block of `bytes` at the end of the buffer, and the buffer view over it.
    int AddBlock(GltfBlock block, std::size_t bytes, bool vertexData) {
        block.offset = layout.bufferBytes;
        block.bytes = bytes;
        layout.bufferBytes += (bytes + 3) / 4 * 4;
        layout.blocks.push_back(block);
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = block.offset;
        view.byteLength = bytes;
        if (vertexData)
            view.target = kArrayBuffer;
        model.bufferViews.push_back(view);
        return static_cast<int>(model.bufferViews.size()) - 1;
    }

    int AddAccessor(int view, std::size_t count, int type, std::vector<double> min = {},
                    std::vector<double> max = {}) {
        tinygltf::Accessor accessor;
        accessor.bufferView = view;
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        accessor.count = count;
        accessor.type = type;
        accessor.minValues = std::move(min);
        accessor.maxValues = std::move(max);
        model.accessors.push_back(accessor);
        return static_cast<int>(model.accessors.size()) - 1;
    }

    int AddMaterial(const std::string& name, const std::vector<double>& factor, int texture, bool unlit) {
        tinygltf::Material material;
        material.name = name;
        material.pbrMetallicRoughness.baseColorFactor = factor;
        material.pbrMetallicRoughness.baseColorTexture.index = texture;
        // A painted, not a metal, surface: lit viewers show the colour itself.
        material.pbrMetallicRoughness.metallicFactor = 0.0;
        material.pbrMetallicRoughness.roughnessFactor = 1.0;
        if (factor[3] < 1.0)
            material.alphaMode = "BLEND";
        if (unlit)
            material.extensions["KHR_materials_unlit"] = tinygltf::Value(tinygltf::Value::Object());
        model.materials.push_back(material);
        return static_cast<int>(model.materials.size()) - 1;
    }

    // One primitive over `count` faces of the object's order from `first`.
    tinygltf::Primitive AddPrimitive(std::size_t object, const Mesh& mesh, bool uvs, std::size_t first,
                                     std::size_t count, int material) {
        const std::vector<int>& faces = layout.faces[object];
        std::vector<double> lo(3, std::numeric_limits<double>::infinity());
        std::vector<double> hi(3, -std::numeric_limits<double>::infinity());
        for (std::size_t i = first; i < first + count; ++i)
            for (const Point3& p : FaceCorners(mesh, faces[i])) {
                const double c[3] = {p.x, p.y, p.z};
                for (std::size_t k = 0; k < 3; ++k) {
                    lo[k] = std::min(lo[k], c[k]);
                    hi[k] = std::max(hi[k], c[k]);
                }
            }
        const std::size_t corners = count * 3;
        GltfBlock block;
        block.object = object;
        block.first = first;
        block.count = count;
        tinygltf::Primitive primitive;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        primitive.material = material;
        block.kind = GltfBlock::Kind::Positions;
        primitive.attributes["POSITION"] =
            AddAccessor(AddBlock(block, corners * 12, true), corners, TINYGLTF_TYPE_VEC3, lo, hi);
        block.kind = GltfBlock::Kind::Normals;
        primitive.attributes["NORMAL"] =
            AddAccessor(AddBlock(block, corners * 12, true), corners, TINYGLTF_TYPE_VEC3);
        if (uvs) {
            block.kind = GltfBlock::Kind::TexCoords;
            primitive.attributes["TEXCOORD_0"] =
                AddAccessor(AddBlock(block, corners * 8, true), corners, TINYGLTF_TYPE_VEC2);
        }
        return primitive;
    }

private:
    GltfLayout& layout;
    tinygltf::Model& model;
};

std::string HexName(const AColor& colour) {
    char name[8];
    std::snprintf(name, sizeof name, "#%02x%02x%02x", ToByte(colour.r), ToByte(colour.g), ToByte(colour.b));
    return name;
}

double Clamp01(float value) {
    return value > 0.0f ? std::min(double(value), 1.0) : 0.0;
}

// The node's transform as glTF's column-major matrix: the host's rows are glTF's columns.
std::vector<double> NodeMatrix(const Matrix3& m) {
    std::vector<double> matrix;
    for (int row = 0; row < 4; ++row) {
        matrix.push_back(m[row].x);
        matrix.push_back(m[row].y);
        matrix.push_back(m[row].z);
        matrix.push_back(row == 3 ? 1.0 : 0.0);
    }
    return matrix;
}

// A file name as a relative URI reference: every byte but the unreserved ones percent-encoded.
std::string UriReference(const std::string& name) {
    std::string uri;
    for (const unsigned char c : name) {
        if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
            uri.push_back(static_cast<char>(c));
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

} // namespace

double SrgbToLinear(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

GltfLayout LayOutGltf(HostRenderGlobalContext& context, const ExportColours& colours,
                      const GltfSettings& settings) {
    GltfLayout layout;
    tinygltf::Model model;
    GltfBuilder builder(layout, model);
    model.asset.version = "2.0";
    model.asset.generator = "chromasift export";
    if (settings.unlit)
        model.extensionsUsed.push_back("KHR_materials_unlit");
    for (const AColor& colour : colours.palette)
        builder.AddMaterial(HexName(colour),
                            {SrgbToLinear(Clamp01(colour.r)), SrgbToLinear(Clamp01(colour.g)),
                             SrgbToLinear(Clamp01(colour.b)), Clamp01(colour.a)},
                            -1, settings.unlit);

    // The host's Z points up, glTF's Y: one node turns the whole scene (-90 degrees about X).
    tinygltf::Node root;
    root.name = "scene";
    const double half = std::sqrt(0.5);
    root.rotation = {-half, 0.0, 0.0, half};
    model.nodes.push_back(root);
    tinygltf::Scene scene;
    scene.nodes.push_back(0);
    model.scenes.push_back(scene);
    model.defaultScene = 0;

    layout.faces.resize(colours.objects.size());
    for (std::size_t o = 0; o < colours.objects.size(); ++o) {
        const ObjectColours& object = colours.objects[o];
        HostRenderInstance& instance = context.Instance(object.instance);
        const Mesh& mesh = *instance.mesh;
        std::vector<int>& faces = layout.faces[o];
        tinygltf::Mesh gltfMesh;
        gltfMesh.name = object.name;
        if (object.faceColour.empty()) {
            for (int f = 0; f < mesh.getNumFaces(); ++f)
                if (FaceIsExported(mesh, f))
                    faces.push_back(f);
            int image = static_cast<int>(model.images.size());
            tinygltf::Image picture;
            picture.name = object.name;
            if (settings.bufferUri.empty()) {
                GltfBlock block;
                block.kind = GltfBlock::Kind::Image;
                block.object = o;
                picture.bufferView = builder.AddBlock(block, object.texturePng.size(), false);
                picture.mimeType = "image/png";
            } else {
                const std::string name = settings.imageStem + "-" + std::to_string(image) + ".png";
                picture.uri = UriReference(name);
                layout.imageFiles.emplace_back(o, name);
            }
            model.images.push_back(picture);
            if (model.samplers.empty()) {
                tinygltf::Sampler sampler;
                sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
                sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR;
                model.samplers.push_back(sampler);
            }
            tinygltf::Texture texture;
            texture.source = image;
            texture.sampler = 0;
            model.textures.push_back(texture);
            const int material =
                builder.AddMaterial(object.name, {1.0, 1.0, 1.0, 1.0},
                                    static_cast<int>(model.textures.size()) - 1, settings.unlit);
            if (!faces.empty())
                gltfMesh.primitives.push_back(builder.AddPrimitive(o, mesh, true, 0, faces.size(), material));
        } else {
            // Faces grouped by colour, each group one primitive with that colour's material.
            std::vector<std::size_t> starts(colours.palette.size() + 1, 0);
            for (int colour : object.faceColour)
                if (colour >= 0)
                    ++starts[static_cast<std::size_t>(colour) + 1];
            for (std::size_t c = 1; c < starts.size(); ++c)
                starts[c] += starts[c - 1];
            faces.resize(starts.back());
            std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
            for (std::size_t f = 0; f < object.faceColour.size(); ++f)
                if (object.faceColour[f] >= 0)
                    faces[next[static_cast<std::size_t>(object.faceColour[f])]++] = static_cast<int>(f);
            for (std::size_t c = 0; c + 1 < starts.size(); ++c)
                if (starts[c + 1] > starts[c])
                    gltfMesh.primitives.push_back(builder.AddPrimitive(
                        o, mesh, object.hasUvs, starts[c], starts[c + 1] - starts[c], static_cast<int>(c)));
        }
        // glTF has no mesh without primitives: an object without faces is left out.
        if (gltfMesh.primitives.empty())
            continue;
        model.meshes.push_back(gltfMesh);
        tinygltf::Node node;
        node.name = object.name;
        node.mesh = static_cast<int>(model.meshes.size()) - 1;
        if (!instance.objToWorld.IsIdentity())
            node.matrix = NodeMatrix(instance.objToWorld);
        model.nodes.push_back(node);
        model.nodes[0].children.push_back(static_cast<int>(model.nodes.size()) - 1);
    }

    // The document is written by the library; the buffer, which it would hold and copy whole, is made by the
    // writer block by block, so only its description is added here.
    tinygltf::TinyGLTF writer;
    std::ostringstream text;
    writer.WriteGltfSceneToStream(&model, text, false, false);
    nlohmann::json document = nlohmann::json::parse(text.str());
    if (layout.bufferBytes > 0) {
        nlohmann::json buffer = {{"byteLength", layout.bufferBytes}};
        if (!settings.bufferUri.empty())
            buffer["uri"] = UriReference(settings.bufferUri);
        document["buffers"] = nlohmann::json::array({buffer});
    }
    layout.json = document.dump();
    return layout;
}

} // namespace host
