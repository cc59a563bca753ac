// The model reader's answer: a model survives the trip bit for bit, and the tool's side refuses every
// answer the reader could not have written, whatever its bytes.
#include "host/import/model_answer.h"

#include "host/import/model_answer_decoder.h"
#include "part_faces.h"

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
    const int square[] = {0, 1, 2, 3}, roof[] = {3, 2, 4};
    quads.AddFace(square, 2);
    quads.AddFace(roof, 0);
    model.parts.push_back(quads);
    ImportedPart mapped;
    mapped.name = std::string(300, 'n'); // longer than the rest of the answer
    mapped.verts = {Point3(std::numeric_limits<float>::quiet_NaN(), 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)};
    mapped.uvVerts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0)};
    import_test::SetFaces(mapped, {{0, 1, 2}, {2, 1, 0}}, 7, {{0, 1, 2}, {3, 1, 0}});
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
        EXPECT_EQ(got.faceStarts, sent.faceStarts);
        EXPECT_EQ(got.corners, sent.corners);
        EXPECT_EQ(got.faceMaterials, sent.faceMaterials);
        EXPECT_TRUE(SameBits(got.uvVerts, sent.uvVerts));
        EXPECT_EQ(got.uvCorners, sent.uvCorners);
    }
    EXPECT_EQ(host::EncodeModelAnswer(answer.model), bytes) << "one model, one answer";
}

TEST(ModelAnswer, AnErrorMessageSurvivesTheTrip) {
    const std::string message = "chair.ply: cannot read the model: PLY: unexpected end of file";
    const host::ModelAnswer answer = DecodeModelAnswer(host::EncodeErrorAnswer(message));
    EXPECT_EQ(answer.error, message);
    EXPECT_TRUE(answer.model.parts.empty());
}

TEST(ModelAnswer, TheEncoderRefusesPartsThatDoNotHangTogether) {
    const auto refused = [](const std::function<void(ImportedPart&)>& change) {
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

// The answer fed to a decoder in pieces of `piece` bytes, as the pipe may hand it over.
host::ModelAnswer DecodeInPieces(const std::string& bytes, std::size_t piece, std::uint64_t most) {
    host::ModelAnswerDecoder decoder(most);
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        decoder.Feed(std::string_view(bytes).substr(at, piece));
    return decoder.Finish();
}

TEST(ModelAnswer, PiecesOfAnySizeDecodeAsTheWhole) {
    const std::string bytes = host::EncodeModelAnswer(TwoParts());
    // Pieces of one byte split every number; 7 and 13 bytes cut numbers and points at shifting places.
    for (const std::size_t piece : {std::size_t(1), std::size_t(7), std::size_t(13), bytes.size()}) {
        SCOPED_TRACE(piece);
        const host::ModelAnswer answer = DecodeInPieces(bytes, piece, std::uint64_t(1) << 30);
        EXPECT_EQ(host::EncodeModelAnswer(answer.model), bytes);
    }
    EXPECT_EQ(DecodeInPieces(host::EncodeErrorAnswer("a: b"), 3, 1000).error, "a: b");
}

TEST(ModelAnswer, AStreamCutShortSaysWhereItEnds) {
    const std::string bytes = host::EncodeModelAnswer(TwoParts());
    const auto ending = [&bytes](std::size_t size) {
        try {
            DecodeInPieces(bytes.substr(0, size), 5, std::uint64_t(1) << 30);
        } catch (const MalformedModelAnswer& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    // The first part: header and count (16 bytes), name length and 8 bytes of name, the transform
    // (48), five vertices (4 + 60), then the face and corner counts and the two faces' sizes.
    EXPECT_EQ(ending(0), "it ends inside its header");
    EXPECT_EQ(ending(14), "it ends inside parts");
    EXPECT_EQ(ending(22), "it ends inside a name");
    EXPECT_EQ(ending(28 + 47), "it ends inside the transform");
    EXPECT_EQ(ending(76 + 4 + 59), "it ends inside vertices");
    EXPECT_EQ(ending(140 + 8 + 7), "it ends inside face sizes");
    EXPECT_EQ(ending(156 + 27), "it ends inside face corners");
    EXPECT_EQ(ending(bytes.size() - 1), "it ends inside uv corners");
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_NE(ending(size), "accepted") << "cut to " << size << " bytes";
}

TEST(ModelAnswer, AStreamFaultIsFoundAsItArrivesAndTheRestIgnored) {
    std::string bytes = host::EncodeModelAnswer(TwoParts());
    // The first part's second face's first corner (after 156 bytes and four corners) names vertex 9.
    const std::size_t corner = 156 + 16;
    bytes[corner] = 9;
    host::ModelAnswerDecoder decoder(std::uint64_t(1) << 30);
    decoder.Feed(std::string_view(bytes).substr(0, corner + 3));
    EXPECT_FALSE(decoder.Failed()) << "three bytes of the corner are not yet a corner";
    decoder.Feed(std::string_view(bytes).substr(corner + 3, 1));
    EXPECT_TRUE(decoder.Failed());
    decoder.Feed("whatever follows");
    try {
        decoder.Finish();
        ADD_FAILURE() << "the answer was taken";
    } catch (const MalformedModelAnswer& e) {
        EXPECT_STREQ(e.what(), "one of its face corners (9) is out of range");
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
    EXPECT_EQ(import_test::Faces(answer.model.parts[0]), (import_test::FaceLists{{0, 1, 2}}));
    HandAnswer mapped;
    mapped.uvVerts = 4;
    mapped.uvCorners = {3, 2, 0};
    EXPECT_EQ(import_test::UvFaces(DecodeModelAnswer(mapped.Bytes()).model.parts[0]),
              (import_test::FaceLists{{3, 2, 0}}));
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
    import_test::SetFaces(smallest.parts[0], {{0, 0, 0}});
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

TEST(ModelAnswer, AStreamsCountsAreBoundedByWhatItMaySend) {
    HandAnswer answer;
    answer.verts = 0x40000000u; // 12 GiB of vertices
    const std::string bytes = answer.Bytes();
    // Header, part count, name length, transform and the count of vertices.
    const std::size_t counted = 12 + 4 + 4 + 48 + 4;
    host::ModelAnswerDecoder decoder(std::uint64_t(1) << 30);
    decoder.Feed(std::string_view(bytes).substr(0, counted - 1));
    EXPECT_FALSE(decoder.Failed());
    decoder.Feed(std::string_view(bytes).substr(counted - 1, 1));
    EXPECT_TRUE(decoder.Failed()) << "refused before any vertex arrives";
    try {
        decoder.Finish();
        ADD_FAILURE() << "the answer was taken";
    } catch (const MalformedModelAnswer& e) {
        EXPECT_STREQ(e.what(), "its count of vertices (1073741824) exceeds what it holds");
    }
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
