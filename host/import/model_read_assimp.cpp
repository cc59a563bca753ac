#include "host/import/model_read_assimp.h"

#include "host/base/text.h"
#include "host/import/model_import_flags.h"
#include "host/import/point_welding.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace host {

namespace {

bool IsYUpKind(const std::string& file) {
    const std::string extension = FileExtension(file);
    for (const char* kind : {"obj", "ply", "gltf", "glb", "fbx", "dae"})
        if (extension == kind)
            return true;
    return false;
}

// True for a file of a text kind (OBJ, Collada, glTF) whose first bytes hold a NUL, which no such file
// does: a file of zeros is refused at once instead of being read whole by the importer.
bool TextKindHoldsBinary(const std::filesystem::path& path, const std::string& file) {
    const std::string extension = FileExtension(file);
    if (extension != "obj" && extension != "dae" && extension != "gltf")
        return false;
    std::ifstream in(path, std::ios::binary);
    std::string head(1 << 16, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head.find('\0') != std::string::npos;
}

// The node's meshes as one part: positions welded (-0 and 0 alike), faces with their
// mesh's material index, texture coordinates when any of the meshes has them.
ImportedPart ReadPart(const aiScene& scene, const aiNode& node, const aiMatrix4x4& global, int index) {
    ImportedPart part;
    part.name = node.mName.length > 0 ? node.mName.C_Str() : "Part " + std::to_string(index + 1);
    // The file's matrices move column vectors; the scene's rows are the images of the axes and the origin.
    part.transform = {Point3(global.a1, global.b1, global.c1), Point3(global.a2, global.b2, global.c2),
                      Point3(global.a3, global.b3, global.c3), Point3(global.a4, global.b4, global.c4)};
    bool hasUvs = false;
    std::size_t vertCount = 0, faceCount = 0, cornerCount = 0;
    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
        hasUvs = hasUvs || mesh.HasTextureCoords(0);
        vertCount += mesh.mNumVertices;
        faceCount += mesh.mNumFaces;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f)
            if (mesh.mFaces[f].mNumIndices >= 3)
                cornerCount += mesh.mFaces[f].mNumIndices;
    }
    part.faceStarts.reserve(faceCount + 1);
    part.faceMaterials.reserve(faceCount);
    part.corners.reserve(cornerCount);
    if (hasUvs) {
        part.uvVerts.reserve(vertCount);
        part.uvCorners.reserve(cornerCount);
    }
    // Room for every position to be new: no larger than the library's own arrays of them, and no rebuilds.
    PointWelder welder(part.verts, vertCount);
    std::vector<int> vertOf;
    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
        vertOf.resize(mesh.mNumVertices);
        const auto point = [&mesh](unsigned v) {
            const aiVector3D& p = mesh.mVertices[v];
            return Point3(p.x, p.y, p.z);
        };
        constexpr unsigned kSlotAhead = 16, kPointAhead = 8;
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            if (v + kSlotAhead < mesh.mNumVertices)
                welder.FetchSlot(point(v + kSlotAhead));
            if (v + kPointAhead < mesh.mNumVertices)
                welder.FetchPoint(point(v + kPointAhead));
            vertOf[v] = welder.Add(point(v));
        }
        const int uvBase = static_cast<int>(part.uvVerts.size());
        if (hasUvs)
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                const aiVector3D uv = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][v] : aiVector3D();
                part.uvVerts.emplace_back(uv.x, uv.y, uv.z);
            }
        const int material = static_cast<int>(mesh.mMaterialIndex);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices < 3)
                continue; // points and lines have no surface to shade
            for (unsigned c = 0; c < face.mNumIndices; ++c)
                part.corners.push_back(vertOf[face.mIndices[c]]);
            if (hasUvs)
                for (unsigned c = 0; c < face.mNumIndices; ++c)
                    part.uvCorners.push_back(uvBase + static_cast<int>(face.mIndices[c]));
            part.faceStarts.push_back(static_cast<std::uint32_t>(part.corners.size()));
            part.faceMaterials.push_back(material);
        }
    }
    return part;
}

void ReadNode(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent, ImportedModel& model) {
    const aiMatrix4x4 global = parent * node.mTransformation;
    if (node.mNumMeshes > 0) {
        ImportedPart part = ReadPart(scene, node, global, static_cast<int>(model.parts.size()));
        if (part.FaceCount() > 0)
            model.parts.push_back(std::move(part));
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c)
        ReadNode(scene, *node.mChildren[c], global, model);
}

} // namespace

ImportedModel ReadModelFile(const std::string& file, const ModelImportOptions& options) {
    const std::filesystem::path path = PathFromUtf8(file);
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw std::runtime_error(file + ": cannot open the model file: it is a directory");
    if (!std::filesystem::exists(path, error))
        throw std::runtime_error(file + ": cannot open the model file: file not found");
    if (TextKindHoldsBinary(path, file))
        throw std::runtime_error(file +
                                 ": not a model file: the file holds no meshes, only binary data where its "
                                 "kind is text");
    Assimp::Importer importer;
    const unsigned flags = ConfigureModelImporter(importer, options.triangulate);
    const aiScene* scene = importer.ReadFile(file, flags);
    if (scene == nullptr || scene->mRootNode == nullptr) {
        // The importer's validation says so in its own terms.
        const std::string reason = importer.GetErrorString();
        if (reason.find("mNumMeshes is 0") != std::string::npos)
            throw std::runtime_error(file + ": cannot read the model: the file holds no meshes");
        throw std::runtime_error(file + ": cannot read the model: " + reason);
    }
    const bool yUp = options.upAxis == 'y' || (options.upAxis == 0 && IsYUpKind(file));
    // A y-up model turned a quarter about x, so that its up points along the scene's z.
    const aiMatrix4x4 upright =
        yUp ? aiMatrix4x4(1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1) : aiMatrix4x4();
    ImportedModel model;
    ReadNode(*scene, *scene->mRootNode, upright, model);
    if (model.parts.empty())
        throw std::runtime_error(file + ": the model has no faces to render");
    return model;
}

} // namespace host
