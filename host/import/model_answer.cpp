#include "host/import/model_answer.h"

#include <cstring>
#include <limits>

namespace host {

namespace {

constexpr char kMagic[4] = {'C', 'S', 'M', 'A'};
constexpr std::uint32_t kModelKind = 0;
constexpr std::uint32_t kErrorKind = 1;

class AnswerWriter {
public:
    void Bytes(const void* data, std::size_t size) { bytes.append(static_cast<const char*>(data), size); }
    void U32(std::uint32_t value) {
        const char le[4] = {static_cast<char>(value), static_cast<char>(value >> 8),
                            static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
        Bytes(le, sizeof le);
    }
    void I32(int value) { U32(static_cast<std::uint32_t>(value)); }
    void F32(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }
    void Point(const Point3& p) {
        F32(p.x);
        F32(p.y);
        F32(p.z);
    }
    void Count(std::size_t count) {
        if (count > std::numeric_limits<std::uint32_t>::max())
            throw std::invalid_argument("the model is too large for the reader's answer");
        U32(static_cast<std::uint32_t>(count));
    }
    void Text(const std::string& text) {
        Count(text.size());
        Bytes(text.data(), text.size());
    }
    void Header(std::uint32_t kind) {
        Bytes(kMagic, sizeof kMagic);
        U32(kModelAnswerVersion);
        U32(kind);
    }

    std::string bytes;
};

class AnswerReader {
public:
    explicit AnswerReader(std::string_view bytes) : rest(bytes) {}

    [[noreturn]] static void Fail(const std::string& what) { throw MalformedModelAnswer(what); }

    std::string_view Take(std::size_t size, const char* what) {
        if (size > rest.size())
            Fail(std::string("it ends inside ") + what);
        const std::string_view taken = rest.substr(0, size);
        rest.remove_prefix(size);
        return taken;
    }
    std::uint32_t U32(const char* what) {
        const std::string_view le = Take(4, what);
        return static_cast<std::uint32_t>(static_cast<unsigned char>(le[0])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(le[1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(le[2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(le[3])) << 24;
    }
    int I32(const char* what) { return static_cast<int>(U32(what)); }
    float F32(const char* what) {
        const std::uint32_t bits = U32(what);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    Point3 Point(const char* what) {
        const float x = F32(what), y = F32(what), z = F32(what);
        return Point3(x, y, z);
    }
    // A count of items of `itemBytes` each that must still fit in the bytes left, checked before anything
    // is allocated for them.
    std::uint32_t Count(std::uint64_t itemBytes, const char* what) {
        const std::uint32_t count = U32(what);
        if (count * itemBytes > rest.size())
            Fail(std::string("its count of ") + what + " (" + std::to_string(count) +
                 ") exceeds what it holds");
        return count;
    }
    bool AtEnd() const { return rest.empty(); }

private:
    std::string_view rest;
};

// An index into `count` items, read from the answer.
int Index(AnswerReader& in, std::size_t count, const char* what) {
    const int index = in.I32(what);
    if (index < 0 || static_cast<std::size_t>(index) >= count)
        AnswerReader::Fail(std::string("one of its ") + what + " (" + std::to_string(index) +
                           ") is out of range");
    return index;
}

ImportedPart DecodePart(AnswerReader& in) {
    ImportedPart part;
    const std::uint32_t nameLength = in.Count(1, "name bytes");
    part.name = std::string(in.Take(nameLength, "a name"));
    for (Point3& row : part.transform)
        row = in.Point("the transform");
    const std::uint32_t verts = in.Count(12, "vertices");
    part.verts.reserve(verts);
    for (std::uint32_t v = 0; v < verts; ++v)
        part.verts.push_back(in.Point("vertices"));
    // Per face: a size and a material; per corner: a vertex.
    const std::uint32_t faces = in.Count(8, "faces");
    const std::uint32_t corners = in.Count(4, "corners");
    if (faces == 0)
        AnswerReader::Fail("one of its parts has no faces");
    std::vector<std::uint32_t> sizes(faces);
    std::uint64_t cornerSum = 0;
    for (std::uint32_t& size : sizes) {
        size = in.U32("face sizes");
        if (size < 3)
            AnswerReader::Fail("one of its faces has fewer than three corners");
        cornerSum += size;
    }
    if (cornerSum != corners)
        AnswerReader::Fail("its face sizes do not add up to its count of corners");
    part.faces.reserve(faces);
    for (const std::uint32_t size : sizes) {
        std::vector<int> face(size);
        for (int& corner : face)
            corner = Index(in, part.verts.size(), "face corners");
        part.faces.push_back(std::move(face));
    }
    part.faceMaterials.reserve(faces);
    for (std::uint32_t f = 0; f < faces; ++f) {
        const int material = in.I32("materials");
        if (material < 0)
            AnswerReader::Fail("one of its face materials is negative");
        part.faceMaterials.push_back(material);
    }
    const std::uint32_t uvVerts = in.Count(12, "uv vertices");
    if (uvVerts == 0)
        return part;
    part.uvVerts.reserve(uvVerts);
    for (std::uint32_t v = 0; v < uvVerts; ++v)
        part.uvVerts.push_back(in.Point("uv vertices"));
    part.uvFaces.reserve(faces);
    for (const std::uint32_t size : sizes) {
        std::vector<int> face(size);
        for (int& corner : face)
            corner = Index(in, part.uvVerts.size(), "uv corners");
        part.uvFaces.push_back(std::move(face));
    }
    return part;
}

} // namespace

std::string EncodeModelAnswer(const ImportedModel& model) {
    AnswerWriter out;
    out.Header(kModelKind);
    out.Count(model.parts.size());
    for (const ImportedPart& part : model.parts) {
        const bool uvs = !part.uvVerts.empty();
        if (part.faceMaterials.size() != part.faces.size() ||
            (uvs && part.uvFaces.size() != part.faces.size()) || (!uvs && !part.uvFaces.empty()))
            throw std::invalid_argument("a part's materials or uv faces are not one per face");
        out.Text(part.name);
        for (const Point3& row : part.transform)
            out.Point(row);
        out.Count(part.verts.size());
        for (const Point3& p : part.verts)
            out.Point(p);
        std::size_t corners = 0;
        for (std::size_t f = 0; f < part.faces.size(); ++f) {
            if (uvs && part.uvFaces[f].size() != part.faces[f].size())
                throw std::invalid_argument("a part's uv face does not match its face corner for corner");
            corners += part.faces[f].size();
        }
        out.Count(part.faces.size());
        out.Count(corners);
        for (const std::vector<int>& face : part.faces)
            out.Count(face.size());
        for (const std::vector<int>& face : part.faces)
            for (const int v : face)
                out.I32(v);
        for (const int material : part.faceMaterials)
            out.I32(material);
        out.Count(part.uvVerts.size());
        for (const Point3& uv : part.uvVerts)
            out.Point(uv);
        for (const std::vector<int>& face : part.uvFaces)
            for (const int v : face)
                out.I32(v);
    }
    return std::move(out.bytes);
}

std::string EncodeErrorAnswer(const std::string& message) {
    AnswerWriter out;
    out.Header(kErrorKind);
    out.Text(message);
    return std::move(out.bytes);
}

ModelAnswer DecodeModelAnswer(std::string_view bytes) {
    AnswerReader in(bytes);
    if (in.Take(sizeof kMagic, "its header") != std::string_view(kMagic, sizeof kMagic))
        AnswerReader::Fail("it does not start as an answer does");
    const std::uint32_t version = in.U32("its header");
    if (version != kModelAnswerVersion)
        AnswerReader::Fail("its version is " + std::to_string(version) + ", not " +
                           std::to_string(kModelAnswerVersion));
    const std::uint32_t kind = in.U32("its header");
    ModelAnswer answer;
    if (kind == kErrorKind) {
        const std::uint32_t length = in.Count(1, "message bytes");
        answer.error = std::string(in.Take(length, "the message"));
        if (answer.error.empty())
            AnswerReader::Fail("its error message is empty");
        for (const char c : answer.error)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                AnswerReader::Fail("its error message holds control characters");
    } else if (kind == kModelKind) {
        // A part takes at least its name's length, the transform, one vertex, one face of three corners
        // with its size and material, and the counts of vertices, faces, corners and uv vertices.
        const std::uint32_t parts = in.Count(4 + 48 + 12 + (4 + 12 + 4) + 4 * 4, "parts");
        if (parts == 0)
            AnswerReader::Fail("it holds no parts");
        answer.model.parts.reserve(parts);
        for (std::uint32_t p = 0; p < parts; ++p)
            answer.model.parts.push_back(DecodePart(in));
    } else {
        AnswerReader::Fail("its kind is " + std::to_string(kind) + ", neither a model nor an error");
    }
    if (!in.AtEnd())
        AnswerReader::Fail("bytes follow its end");
    return answer;
}

} // namespace host
