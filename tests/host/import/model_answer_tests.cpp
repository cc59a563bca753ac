// The model reader's answer: a model survives the trip bit for bit, and the tool's side refuses every
// answer the reader could not have written, whatever its bytes.
#include "host/import/model_answer.h"

#include "host/import/model_answer_decoder.h"
#include "part_faces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

using host::DecodeModelAnswer;
using host::ImportedModel;
using host::ImportedPart;

// What the tool lets a reader send, far beyond the answers here: a count then passes, and the answer
// ends inside the items counted.
constexpr std::uint64_t kLimit = std::uint64_t(1) << 30;

ImportedModel TwoParts() {
    ImportedModel model;
    ImportedPart quads;
    quads.name = "Wheel \xc3\xa9"; // names are bytes, UTF-8 here
    quads.transform = {Point3(0, 0, -1), Point3(0, 1, 0), Point3(1, 0, 0), Point3(5, -2.5f, 1e-30f)};
    quads.verts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0),
                   Point3(0.5f, 2, -0.0f)};
    const int square[] = {0, 1, 2, 3}, roof[] = {3, 2, 4};
    quads.AddFace(square, 2);
    quads.AddFace(roof, 0);
    model.parts.push_back(quads);
    ImportedPart mapped;
    mapped.name = std::string(300, 'n'); // longer than the rest of the answer
    mapped.verts = {Point3(std::numeric_limits<float>::quiet_NaN(), 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)};
    mapped.uvVerts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0)};
    import_test::SetFaces(mapped, {{2, 1, 0}}, 7, {{3, 1, 0}}); // arrays of one item too
    model.parts.push_back(mapped);
    return model;
}

// Points compared by their bits, so that NaN and -0 count too.
bool SameBits(const std::vector<Point3>& a, const std::vector<Point3>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Point3)) == 0);
}

std::string Refusal(const std::string& bytes, std::uint64_t most = 0) {
    try {
        DecodeModelAnswer(bytes, most);
    } catch (const host::MalformedModelAnswer& e) {
        return e.what();
    }
    return "accepted";
}

// An answer of one part, or of an error message, written field by field as the format describes it, with
// every field open to damage. Counts are written as they are; their items only as far as the good answer
// has them.
struct HandAnswer {
    std::string magic = "CSMA";
    std::uint32_t version = 1, kind = 0, parts = 1, nameBytes = 0, verts = 3, faces = 1, corners = 3,
                  uvVerts = 0;
    std::vector<std::uint32_t> sizes{3};
    std::vector<int> cornerVerts{0, 1, 2}, materials{0}, uvCorners;
    std::string message;
    std::uint32_t messageBytes = 0;
    std::size_t keep = std::string::npos; // the bytes kept from the start
    std::string after;                    // bytes after the answer

    // The smallest part there is: one vertex, one triangle on it.
    void Smallest() {
        verts = 1;
        cornerVerts = {0, 0, 0};
    }
    void Error(const std::string& text) {
        kind = 1;
        message = text;
        messageBytes = static_cast<std::uint32_t>(text.size());
    }
    std::string Bytes() const {
        std::string out = magic;
        const auto u32 = [&out](std::uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); };
        u32(version);
        u32(kind);
        if (kind == 1) {
            u32(messageBytes);
            out += message;
            return out.substr(0, keep) + after;
        }
        u32(parts);
        u32(nameBytes);
        out.append(48, '\0'); // the transform
        u32(verts);
        out.append(12 * std::min(verts, 3u), '\0');
        u32(faces);
        u32(corners);
        for (const std::uint32_t size : sizes)
            u32(size);
        for (const std::vector<int>* list : {&cornerVerts, &materials})
            for (const int v : *list)
                u32(static_cast<std::uint32_t>(v));
        u32(uvVerts);
        out.append(12 * std::min(uvVerts, 4u), '\0');
        for (const int v : uvCorners)
            u32(static_cast<std::uint32_t>(v));
        return out.substr(0, keep) + after;
    }
};

TEST(ModelAnswer, ModelsAndMessagesSurviveTheTripExactly) {
    const ImportedModel model = TwoParts();
    const std::string bytes = host::EncodeModelAnswer(model);
    const host::ModelAnswer answer = DecodeModelAnswer(bytes);
    EXPECT_EQ(answer.error, "");
    ASSERT_EQ(answer.model.parts.size(), model.parts.size());
    for (std::size_t p = 0; p < model.parts.size(); ++p) {
        SCOPED_TRACE(p);
        const ImportedPart& sent = model.parts[p];
        const ImportedPart& got = answer.model.parts[p];
        EXPECT_EQ(got.name, sent.name);
        EXPECT_EQ(got.transform, sent.transform);
        EXPECT_TRUE(SameBits(got.verts, sent.verts));
        EXPECT_EQ(got.faceStarts, sent.faceStarts);
        EXPECT_EQ(got.faceStarts.capacity(), got.faceStarts.size()) << "sized once";
        EXPECT_EQ(got.corners, sent.corners);
        EXPECT_EQ(got.faceMaterials, sent.faceMaterials);
        EXPECT_TRUE(SameBits(got.uvVerts, sent.uvVerts));
        EXPECT_EQ(got.uvCorners, sent.uvCorners);
    }
    EXPECT_EQ(host::EncodeModelAnswer(answer.model), bytes) << "one model, one answer";
    const std::string message = "chair.ply: cannot read the model: PLY: unexpected end of file";
    EXPECT_EQ(DecodeModelAnswer(host::EncodeErrorAnswer(message)).error, message);
    // The smallest part there is fits the bound on the count of parts (a row below: one byte less does not).
    HandAnswer smallest;
    smallest.Smallest();
    EXPECT_EQ(Refusal(smallest.Bytes()), "accepted");
    for (const std::string& whole : {bytes, host::EncodeErrorAnswer("a: b")})
        for (std::size_t size = 0; size < whole.size(); ++size)
            for (const std::uint64_t most : {std::uint64_t(0), kLimit})
                EXPECT_NE(Refusal(whole.substr(0, size), most), "accepted") << "cut to " << size << " bytes";
}

TEST(ModelAnswer, TheEncoderRefusesPartsThatDoNotHangTogether) {
    const auto refused = [](void (*change)(ImportedPart&)) {
        ImportedModel model = TwoParts();
        change(model.parts[1]);
        bool written = false;
        try {
            host::WriteModelAnswer(model, [&written](std::string_view) { written = true; });
        } catch (const std::invalid_argument&) {
            return !written; // refused before a byte went out
        }
        return false;
    };
    EXPECT_FALSE(refused([](ImportedPart&) {}));
    EXPECT_TRUE(refused([](ImportedPart& part) { part.uvCorners.pop_back(); }));
    EXPECT_TRUE(refused([](ImportedPart& part) { part.uvVerts.clear(); }))
        << "uv corners without uv vertices";
    EXPECT_TRUE(refused([](ImportedPart& part) { part.faceMaterials.pop_back(); }));
    EXPECT_TRUE(refused([](ImportedPart& part) { part.corners.pop_back(); }));
    EXPECT_TRUE(refused([](ImportedPart& part) { part.faceStarts = {0, 7, 6}; })) << "a face runs backwards";
    EXPECT_TRUE(refused([](ImportedPart& part) { part.faceStarts = {1, 3, 6}; }));
}

TEST(ModelAnswer, EveryDamageIsRefusedWithItsReason) {
    // The good answer's fields end at: header 12, part count 16, name length 20, transform 68, vertices
    // 72 and 108, face count 112, corner count 116, sizes 120, corners 132, materials 136, uv count 140.
    // One damage a line.
    // clang-format off
    const struct {
        void (*damage)(HandAnswer&);
        std::uint64_t most; // what the answer may hold: 0 for its own size
        const char* refusal;
    } kDamages[] = {
        {[](HandAnswer& a) { a.magic = "CSMB"; }, 0, "it does not start as an answer does"},
        {[](HandAnswer& a) { a.version = 2; }, 0, "its version is 2, not 1"},
        {[](HandAnswer& a) { a.kind = 2; }, 0, "its kind is 2, neither a model nor an error"},
        {[](HandAnswer& a) { a.keep = 10; }, 0, "it ends inside its header"},
        {[](HandAnswer& a) { a.Error(""); }, 0, "its error message is empty"},
        {[](HandAnswer& a) { a.Error("unit\x1fsep"); }, 0, "its error message holds control characters"},
        {[](HandAnswer& a) { a.Error("rub\x7fout"); }, 0, "its error message holds control characters"},
        {[](HandAnswer& a) { a.Error("abc"), a.messageBytes = 9; }, 0, "its count of message bytes (9) exceeds what it holds"},
        {[](HandAnswer& a) { a.Error("abc"), a.messageBytes = 9; }, kLimit, "it ends inside the message"},
        {[](HandAnswer& a) { a.Error("abc"), a.keep = 14; }, kLimit, "it ends inside message bytes"},
        {[](HandAnswer& a) { a.parts = 0; }, 0, "it holds no parts"},
        {[](HandAnswer& a) { a.parts = 0xffffffffu; }, kLimit, "its count of parts (4294967295) exceeds what it holds"},
        {[](HandAnswer& a) { a.Smallest(), a.parts = 2, a.after = std::string(99, '\0'); }, 0, "its count of parts (2) exceeds what it holds"},
        {[](HandAnswer& a) { a.parts = 2; }, kLimit, "it ends inside name bytes"},
        {[](HandAnswer& a) { a.keep = 14; }, kLimit, "it ends inside parts"},
        {[](HandAnswer& a) { a.nameBytes = 1000; }, 0, "its count of name bytes (1000) exceeds what it holds"},
        {[](HandAnswer& a) { a.nameBytes = 1000; }, kLimit, "it ends inside a name"},
        {[](HandAnswer& a) { a.keep = 67; }, kLimit, "it ends inside the transform"},
        {[](HandAnswer& a) { a.verts = 0x40000000u; }, kLimit, "its count of vertices (1073741824) exceeds what it holds"},
        {[](HandAnswer& a) { a.keep = 70; }, kLimit, "it ends inside vertices"},
        {[](HandAnswer& a) { a.keep = 107; }, kLimit, "it ends inside vertices"},
        {[](HandAnswer& a) { a.keep = 110; }, kLimit, "it ends inside faces"},
        {[](HandAnswer& a) { a.faces = 0xffffffffu; }, kLimit, "its count of faces (4294967295) exceeds what it holds"},
        {[](HandAnswer& a) { a.keep = 115; }, kLimit, "it ends inside corners"},
        {[](HandAnswer& a) { a.corners = 0x80000000u; }, kLimit, "its count of corners (2147483648) exceeds what it holds"},
        {[](HandAnswer& a) { a.faces = a.corners = 0, a.sizes = {}, a.cornerVerts = a.materials = {}; }, 0, "one of its parts has no faces"},
        {[](HandAnswer& a) { a.sizes = {2}, a.corners = 2, a.cornerVerts = {0, 1}; }, 0, "one of its faces has fewer than three corners"},
        {[](HandAnswer& a) { a.corners = 4, a.cornerVerts = {0, 1, 2, 0}; }, 0, "its face sizes do not add up to its count of corners"},
        {[](HandAnswer& a) { a.sizes = {4}; }, kLimit, "its face sizes do not add up to its count of corners"},
        {[](HandAnswer& a) { a.keep = 119; }, kLimit, "it ends inside face sizes"},
        {[](HandAnswer& a) { a.keep = 131; }, kLimit, "it ends inside face corners"},
        {[](HandAnswer& a) { a.cornerVerts = {0, 1, 3}; }, 0, "one of its face corners (3) is out of range"},
        {[](HandAnswer& a) { a.cornerVerts = {-1, 1, 2}; }, 0, "one of its face corners (-1) is out of range"},
        {[](HandAnswer& a) { a.materials = {-2}; }, 0, "one of its face materials is negative"},
        {[](HandAnswer& a) { a.keep = 135; }, kLimit, "it ends inside materials"},
        {[](HandAnswer& a) { a.uvVerts = 5; }, 0, "its count of uv vertices (5) exceeds what it holds"},
        {[](HandAnswer& a) { a.keep = 139; }, kLimit, "it ends inside uv vertices"},
        {[](HandAnswer& a) { a.uvVerts = 4, a.uvCorners = {0, 4, 1}; }, 0, "one of its uv corners (4) is out of range"},
        {[](HandAnswer& a) { a.uvVerts = 4, a.uvCorners = {0, 1}; }, kLimit, "it ends inside uv corners"},
        {[](HandAnswer& a) { a.after = std::string(1, '\0'); }, 0, "bytes follow its end"},
    };
    // clang-format on
    ASSERT_EQ(Refusal(HandAnswer().Bytes()), "accepted");
    for (const auto& row : kDamages) {
        HandAnswer answer;
        row.damage(answer);
        EXPECT_EQ(Refusal(answer.Bytes(), row.most), row.refusal);
    }
}

} // namespace
