// The model reader's answer: a model survives the trip bit for bit, and the tool's side refuses every
// answer the reader could not have written, whatever its bytes.
#include "host/import/model_answer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

using host::DecodeModelAnswer;
using host::ImportedModel;
using host::ImportedPart;
using host::MalformedModelAnswer;

ImportedModel TwoParts() {
    ImportedModel model;
    ImportedPart quads;
    quads.name = "Wheel \xc3\xa9"; // names are bytes, UTF-8 here
    quads.transform = {Point3(0, 0, -1), Point3(0, 1, 0), Point3(1, 0, 0), Point3(5, -2.5f, 1e-30f)};
    quads.verts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0),
                   Point3(0.5f, 2, -0.0f)};
    quads.faces = {{0, 1, 2, 3}, {3, 2, 4}};
    quads.faceMaterials = {2, 0};
    model.parts.push_back(quads);
    ImportedPart mapped;
    mapped.name = std::string(300, 'n'); // longer than the rest of the answer
    mapped.verts = {Point3(std::numeric_limits<float>::quiet_NaN(), 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)};
    mapped.faces = {{0, 1, 2}, {2, 1, 0}};
    mapped.faceMaterials = {7, 7};
    mapped.uvVerts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0)};
    mapped.uvFaces = {{0, 1, 2}, {3, 1, 0}};
    model.parts.push_back(mapped);
    return model;
}

// Points compared by their bits, so that NaN and -0 count too.
bool SameBits(const std::vector<Point3>& a, const std::vector<Point3>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Point3)) == 0);
}

TEST(ModelAnswer, AModelSurvivesTheTripExactly) {
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
        EXPECT_EQ(got.faces, sent.faces);
        EXPECT_EQ(got.faceMaterials, sent.faceMaterials);
        EXPECT_TRUE(SameBits(got.uvVerts, sent.uvVerts));
        EXPECT_EQ(got.uvFaces, sent.uvFaces);
    }
    EXPECT_EQ(host::EncodeModelAnswer(answer.model), bytes) << "one model, one answer";
}

TEST(ModelAnswer, AnErrorMessageSurvivesTheTrip) {
    const std::string message = "chair.ply: cannot read the model: PLY: unexpected end of file";
    const host::ModelAnswer answer = DecodeModelAnswer(host::EncodeErrorAnswer(message));
    EXPECT_EQ(answer.error, message);
    EXPECT_TRUE(answer.model.parts.empty());
}

TEST(ModelAnswer, TheEncoderRefusesUvFacesThatDoNotMatchTheFaces) {
    ImportedModel model = TwoParts();
    model.parts[1].uvFaces[1].pop_back();
    EXPECT_THROW(host::EncodeModelAnswer(model), std::invalid_argument);
    model = TwoParts();
    model.parts[1].uvFaces.pop_back();
    EXPECT_THROW(host::EncodeModelAnswer(model), std::invalid_argument);
    model = TwoParts();
    model.parts[0].faceMaterials.pop_back();
    EXPECT_THROW(host::EncodeModelAnswer(model), std::invalid_argument);
}

std::string Rejection(const std::string& bytes) {
    try {
        DecodeModelAnswer(bytes);
    } catch (const MalformedModelAnswer& e) {
        return e.what();
    }
    return "accepted";
}

TEST(ModelAnswer, EveryCutOrExtendedAnswerIsRefused) {
    for (const std::string& whole : {host::EncodeModelAnswer(TwoParts()), host::EncodeErrorAnswer("a: b")}) {
        for (std::size_t size = 0; size < whole.size(); ++size)
            EXPECT_NE(Rejection(whole.substr(0, size)), "accepted") << "cut to " << size << " bytes";
        EXPECT_EQ(Rejection(whole + '\0'), "bytes follow its end");
    }
}

// An answer of one part written field by field, as the format describes it, with every field open to
// change.
struct HandAnswer {
    std::string magic = "CSMA";
    std::uint32_t version = 1, kind = 0, parts = 1;
    std::uint32_t verts = 3;
    std::uint32_t faces = 1, corners = 3;
    std::vector<std::uint32_t> sizes{3};
    std::vector<int> cornerVerts{0, 1, 2};
    std::vector<int> materials{0};
    std::uint32_t uvVerts = 0;
    std::vector<int> uvCorners;

    std::string Bytes() const {
        std::string out = magic;
        const auto u32 = [&out](std::uint32_t v) {
            for (int shift = 0; shift < 32; shift += 8)
                out += static_cast<char>(v >> shift);
        };
        u32(version);
        u32(kind);
        u32(parts);
        u32(0); // no name
        for (int i = 0; i < 12; ++i)
            u32(0);
        u32(verts);
        for (std::uint32_t i = 0; i < 3 * std::min(verts, 3u); ++i)
            u32(0x3f800000); // 1.0f
        u32(faces);
        u32(corners);
        for (const std::uint32_t size : sizes)
            u32(size);
        for (const int v : cornerVerts)
            u32(static_cast<std::uint32_t>(v));
        for (const int m : materials)
            u32(static_cast<std::uint32_t>(m));
        u32(uvVerts);
        for (std::uint32_t i = 0; i < 3 * std::min(uvVerts, 4u); ++i)
            u32(0);
        for (const int v : uvCorners)
            u32(static_cast<std::uint32_t>(v));
        return out;
    }
};

TEST(ModelAnswer, TheHandWrittenAnswerIsTheFormat) {
    const host::ModelAnswer answer = DecodeModelAnswer(HandAnswer().Bytes());
    ASSERT_EQ(answer.model.parts.size(), 1u);
    EXPECT_EQ(answer.model.parts[0].verts, std::vector<Point3>(3, Point3(1, 1, 1)));
    EXPECT_EQ(answer.model.parts[0].faces, (std::vector<std::vector<int>>{{0, 1, 2}}));
    HandAnswer mapped;
    mapped.uvVerts = 4;
    mapped.uvCorners = {3, 2, 0};
    EXPECT_EQ(DecodeModelAnswer(mapped.Bytes()).model.parts[0].uvFaces,
              (std::vector<std::vector<int>>{{3, 2, 0}}));
}

TEST(ModelAnswer, ItsHeaderIsChecked) {
    HandAnswer answer;
    answer.magic = "CSMB";
    EXPECT_EQ(Rejection(answer.Bytes()), "it does not start as an answer does");
    answer = HandAnswer();
    answer.version = 2;
    EXPECT_EQ(Rejection(answer.Bytes()), "its version is 2, not 1");
    answer = HandAnswer();
    answer.kind = 2;
    EXPECT_EQ(Rejection(answer.Bytes()), "its kind is 2, neither a model nor an error");
    EXPECT_EQ(Rejection(std::string("CSMA\1\0\0\0\0\0\0\0\0\0\0\0", 16)), "it holds no parts");
}

TEST(ModelAnswer, ThePartCountIsBoundedByTheSmallestPart) {
    // The smallest part there is: no name, one vertex, one triangle on it, no texture coordinates.
    ImportedModel smallest;
    smallest.parts.resize(1);
    smallest.parts[0].verts = {Point3(1, 2, 3)};
    smallest.parts[0].faces = {{0, 0, 0}};
    smallest.parts[0].faceMaterials = {0};
    const std::string bytes = host::EncodeModelAnswer(smallest);
    ASSERT_EQ(DecodeModelAnswer(bytes).model.parts.size(), 1u);
    // Twelve bytes of header and four of count; one byte less than that part cannot hold a part.
    const std::size_t part = bytes.size() - 16;
    EXPECT_EQ(Rejection(bytes.substr(0, 16 + part - 1)), "its count of parts (1) exceeds what it holds");
}

TEST(ModelAnswer, CountsBeyondTheBytesAreRefusedBeforeAllocating) {
    HandAnswer answer;
    answer.parts = 0xffffffffu;
    EXPECT_EQ(Rejection(answer.Bytes()), "its count of parts (4294967295) exceeds what it holds");
    answer = HandAnswer();
    answer.verts = 0x40000000u; // 12 GiB of vertices
    EXPECT_EQ(Rejection(answer.Bytes()), "its count of vertices (1073741824) exceeds what it holds");
    answer = HandAnswer();
    answer.faces = 0xffffffffu;
    EXPECT_EQ(Rejection(answer.Bytes()), "its count of faces (4294967295) exceeds what it holds");
    answer = HandAnswer();
    answer.corners = 0x80000000u;
    EXPECT_EQ(Rejection(answer.Bytes()), "its count of corners (2147483648) exceeds what it holds");
    answer = HandAnswer();
    answer.uvVerts = 5;
    EXPECT_EQ(Rejection(answer.Bytes()), "its count of uv vertices (5) exceeds what it holds");
}

TEST(ModelAnswer, FacesMustBeWhole) {
    HandAnswer answer;
    answer.faces = 0;
    answer.corners = 0;
    answer.sizes = {};
    answer.cornerVerts = {};
    answer.materials = {};
    EXPECT_EQ(Rejection(answer.Bytes()), "one of its parts has no faces");
    answer = HandAnswer();
    answer.sizes = {2};
    answer.corners = 2;
    answer.cornerVerts = {0, 1};
    EXPECT_EQ(Rejection(answer.Bytes()), "one of its faces has fewer than three corners");
    answer = HandAnswer();
    answer.corners = 4;
    answer.cornerVerts = {0, 1, 2, 0};
    EXPECT_EQ(Rejection(answer.Bytes()), "its face sizes do not add up to its count of corners");
}

TEST(ModelAnswer, IndicesMustNameWhatThePartHolds) {
    HandAnswer answer;
    answer.cornerVerts = {0, 1, 3};
    EXPECT_EQ(Rejection(answer.Bytes()), "one of its face corners (3) is out of range");
    answer.cornerVerts = {-1, 1, 2};
    EXPECT_EQ(Rejection(answer.Bytes()), "one of its face corners (-1) is out of range");
    answer = HandAnswer();
    answer.materials = {-2};
    EXPECT_EQ(Rejection(answer.Bytes()), "one of its face materials is negative");
    answer = HandAnswer();
    answer.uvVerts = 4;
    answer.uvCorners = {0, 4, 1};
    EXPECT_EQ(Rejection(answer.Bytes()), "one of its uv corners (4) is out of range");
    answer.uvCorners = {0, 1};
    EXPECT_EQ(Rejection(answer.Bytes()), "it ends inside uv corners");
}

TEST(ModelAnswer, AnErrorMessageIsOneLineOfText) {
    EXPECT_EQ(Rejection(host::EncodeErrorAnswer("")), "its error message is empty");
    EXPECT_EQ(Rejection(host::EncodeErrorAnswer("two\nlines")), "its error message holds control characters");
    EXPECT_EQ(Rejection(host::EncodeErrorAnswer(std::string("nul\0", 4))),
              "its error message holds control characters");
    std::string longer = host::EncodeErrorAnswer("abc");
    longer[12] = 9; // a length beyond the bytes
    EXPECT_EQ(Rejection(longer), "its count of message bytes (9) exceeds what it holds");
}

} // namespace
