// The model export: baked texels at their points, margins and what lies beyond them, and each exported face
// read back with the glTF library's own loader in the colour the unlit render shows on it.
#include "host/draw/png_file.h"
#include "host/gltf/export_command.h"
#include "host/gltf/gltf_library.h"
#include "host/scene/primitive_meshes.h"
#include "host/scene/renderable_object.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/null_view.h"
#include "hostsdk/tri_object.h"

#include "../render_test_support.h"
#include "scratch_folder.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <sstream>

using namespace render_test;

namespace {

// One RGBA texel of a texture read back, as bytes.
std::array<int, 4> Texel(const Picture& picture, int x, int y) {
    const AColor c = picture.Pixel(x, y);
    return {host::ToByte(c.r), host::ToByte(c.g), host::ToByte(c.b), host::ToByte(c.a)};
}

TEST(ModelExport, BakesEachTexelAtItsPointAndSpreadsIslandsByTheMargin) {
    // A plane whose texture coordinates fill the middle half of the texture, under a map whose colour is its
    // coordinates: on a 64-texel texture the island is texels 16 to 47 across and down.
    auto* plane = CreateNewTriObject();
    host::BuildPlaneMesh(plane->GetMesh(), 100.0f, 100.0f, 2, 2);
    for (UVVert& uv : plane->GetMesh().Map(1).tv)
        uv = UVVert(0.25f + 0.5f * uv.x, 0.25f + 0.5f * uv.y, 0.0f);
    auto* probe = new ProbeMap([](ShadeContext& sc) {
        const Point3 uv = sc.UVW(1);
        return AColor(uv.x, uv.y, 0.0f, 1.0f);
    });
    host::SceneRoot scene;
    AddNode(scene, plane, MaterialWith(probe), Point3(0, 0, 0));

    constexpr int kSize = 64, kMargin = 4;
    host::ExportColours colours;
    host::RenderSettings settings = Settings(64, 64);
    settings.unlit = true;
    host::RenderJob job(scene, settings);
    job.ShadeFrame(0, [&](const host::FrameSurfaces& frame) {
        colours = host::FindExportColours(frame, 0, {kSize, kMargin}, [](double) {});
    });
    ASSERT_EQ(colours.objects.size(), 1u);
    EXPECT_TRUE(colours.palette.empty());
    EXPECT_TRUE(colours.overlapping.empty()) << "the plane's faces share edges, and no texel";
    const std::vector<std::uint8_t>& png = colours.objects[0].texturePng;
    const ScratchFolder folder;
    WriteBytes(folder / "baked.png", std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
    const Picture pixels(folder / "baked.png");
    ASSERT_TRUE(pixels.Loaded());
    ASSERT_EQ(pixels.Width(), kSize);
    ASSERT_EQ(pixels.Height(), kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const std::array<int, 4> texel = Texel(pixels, x, y);
            const int nearX = std::clamp(x, 16, 47), nearY = std::clamp(y, 16, 47);
            const int dx = x - nearX, dy = y - nearY;
            if (dx == 0 && dy == 0) {
                // The texel's centre in texture coordinates, the top row at v = 1.
                const float u = (x + 0.5f) / kSize, v = 1.0f - (y + 0.5f) / kSize;
                EXPECT_NEAR(texel[0], host::ToByte(u), 1) << x << ", " << y;
                EXPECT_NEAR(texel[1], host::ToByte(v), 1) << x << ", " << y;
                EXPECT_EQ(texel[3], 255) << x << ", " << y;
            } else if (dx * dx + dy * dy <= kMargin * kMargin) {
                EXPECT_EQ(texel, Texel(pixels, nearX, nearY)) << "margin texel " << x << ", " << y;
            } else {
                EXPECT_EQ(texel[3], 0) << "beyond the margin " << x << ", " << y;
            }
        }
}

TEST(ModelExport, ColourFactorsAreLinearAsGltfAsks) {
    // IEC 61966-2-1 on both sides of its joint, and its ends.
    const std::pair<double, double> values[] = {
        {0.0, 0.0}, {0.02, 0.02 / 12.92}, {0.5, 0.21404114}, {1.0, 1.0}};
    for (const auto& [encoded, linear] : values)
        EXPECT_NEAR(host::SrgbToLinear(encoded), linear, 1e-8) << encoded;
}

// The key of a face: its corners' coordinates, bit for bit as the export copies them.
using Corners = std::array<float, 9>;

// Each face's material factor in an exported .glb, read with the library's loader: per node in the order
// the document lists them, per face (found by its corners among `meshes`' faces).
std::vector<std::map<int, std::array<double, 4>>> ReadFaceFactors(const std::string& file,
                                                                  const std::vector<Mesh*>& meshes) {
    tinygltf::Model model;
    tinygltf::TinyGLTF loader;
    std::string error, warning;
    EXPECT_TRUE(loader.LoadBinaryFromFile(&model, &error, &warning, file)) << error;
    EXPECT_EQ(warning, "");
    std::vector<std::map<int, std::array<double, 4>>> factors(meshes.size());
    const std::vector<int>& nodes = model.nodes.at(0).children;
    EXPECT_EQ(nodes.size(), meshes.size());
    for (std::size_t k = 0; k < std::min(nodes.size(), meshes.size()); ++k) {
        std::map<Corners, int> faceOf;
        const Mesh& mesh = *meshes[k];
        for (int f = 0; f < mesh.getNumFaces(); ++f) {
            Corners key;
            for (int c = 0; c < 3; ++c) {
                const Point3& p = mesh.verts[mesh.faces[static_cast<std::size_t>(f)].v[c]];
                key[c * 3] = p.x;
                key[c * 3 + 1] = p.y;
                key[c * 3 + 2] = p.z;
            }
            faceOf.emplace(key, f);
        }
        for (const tinygltf::Primitive& primitive :
             model.meshes.at(model.nodes.at(nodes[k]).mesh).primitives) {
            const std::vector<double>& factor =
                model.materials.at(primitive.material).pbrMetallicRoughness.baseColorFactor;
            const tinygltf::Accessor& accessor = model.accessors.at(primitive.attributes.at("POSITION"));
            const tinygltf::BufferView& view = model.bufferViews.at(accessor.bufferView);
            const auto* floats = reinterpret_cast<const float*>(model.buffers.at(view.buffer).data.data() +
                                                                view.byteOffset + accessor.byteOffset);
            for (std::size_t t = 0; t < accessor.count / 3; ++t) {
                Corners key;
                std::copy_n(floats + t * 9, 9, key.begin());
                const auto face = faceOf.find(key);
                EXPECT_NE(face, faceOf.end()) << "node " << k << ": a triangle that is no face of the mesh";
                if (face != faceOf.end())
                    factors[k][face->second] = {factor[0], factor[1], factor[2], factor[3]};
            }
        }
    }
    return factors;
}

TEST(ModelExport, EveryFaceHasTheLinearColourTheUnlitRenderShowsOnIt) {
    const ScratchFolder folder;
    const struct {
        std::string model;
        const char* mode;
        host::RendererKind renderer;
    } cases[] = {
#ifndef _WIN32 // model files are read by the Linux build
        {TestDataFile("meshes/spider.obj"), "Per Face", host::RendererKind::Scanline},
        {TestDataFile("meshes/spider.obj"), "Object (random)", host::RendererKind::Scanline},
#endif
        {"", "Per Element", host::RendererKind::Scanline},
        {"", "VRay Instance (rnd)", host::RendererKind::VRay},
        {"", "Material ID", host::RendererKind::MentalRay},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " on " + (c.model.empty() ? "the built-in scene" : c.model));
        host::ExportOptions options;
        options.render = ModeOptions(c.mode);
        options.render.scene = c.model;
        options.render.renderer = c.renderer;
        options.render.output = folder.File("faces.glb");
        std::ostringstream out, err;
        ASSERT_EQ(host::RunExportCommand(options, LoadedPlugins(), out, err, false), 0) << err.str();

        host::TemporaryPicture picture;
        std::unique_ptr<host::SceneRoot> scene = Prepare(options.render, picture);
        const host::FrameBuffer frame = RenderUnlit(*scene, 320, 240, 1, c.renderer);
        std::vector<Mesh*> meshes;
        NullView view;
        std::vector<std::unique_ptr<Mesh>> owned;
        for (INode* node : scene->Nodes())
            if (GeomObject* object = host::RenderableObject(*node, 0)) {
                BOOL needDelete = FALSE;
                meshes.push_back(object->GetRenderMesh(0, node, view, needDelete));
                if (needDelete)
                    owned.emplace_back(meshes.back());
            }
        const auto factors = ReadFaceFactors(options.render.output, meshes);
        int checked = 0, wrong = 0;
        for (std::size_t i = 0; i < frame.colour.size(); ++i) {
            if (frame.nodeID[i] < 0)
                continue;
            const auto& faces = factors.at(static_cast<std::size_t>(frame.nodeID[i]));
            const auto face = faces.find(frame.face[i]);
            ASSERT_NE(face, faces.end()) << "a face the render shows is missing from the file";
            const AColor& shown = frame.colour[i];
            const float channels[3] = {shown.r, shown.g, shown.b};
            for (int k = 0; k < 3; ++k)
                wrong += std::abs(face->second[static_cast<std::size_t>(k)] -
                                  host::SrgbToLinear(std::clamp(channels[k], 0.0f, 1.0f))) > 1e-6
                             ? 1
                             : 0;
            ++checked;
        }
        EXPECT_GT(checked, 1000);
        EXPECT_EQ(wrong, 0);
    }
}

} // namespace
