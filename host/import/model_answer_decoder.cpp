#include "host/import/model_answer_decoder.h"

#include "hostsdk/large_arrays.h"

#include <cstring>
#include <type_traits>

namespace host {

namespace {

static_assert(sizeof(Point3) == 12 && std::is_trivially_copyable_v<Point3>, "a point is three floats");

// A part takes at least its name's length, the transform, one vertex, one face of three corners with its
// size and material, and the counts of vertices, faces, corners and uv vertices.
constexpr std::uint64_t kSmallestPart = 4 + 48 + 12 + (4 + 12 + 4) + 4 * 4;

[[noreturn]] void Refuse(const std::string& what) {
    throw MalformedModelAnswer(what);
}

// Reads the answer's fields in order. Each read names the field it belongs to, which is what a refusal
// for an answer that ends there says.
class Cursor {
public:
    Cursor(std::string_view bytes, std::uint64_t most) : bytes(bytes), most(most) {}

    const char* Take(std::size_t size, const char* field) {
        if (size > bytes.size() - at)
            Refuse(std::string("it ends inside ") + field);
        const char* data = bytes.data() + at;
        at += size;
        return data;
    }

    std::uint32_t U32(const char* field) {
        std::uint32_t value;
        std::memcpy(&value, Take(4, field), 4);
        return value;
    }

    // A count of items of `itemBytes` each, which must fit in what the answer may still hold.
    std::uint32_t Count(const char* field, std::uint64_t itemBytes, const char* what) {
        const std::uint32_t count = U32(field);
        if (count * itemBytes > (most > at ? most - at : 0))
            Refuse(std::string("its count of ") + what + " (" + std::to_string(count) +
                   ") exceeds what it holds");
        return count;
    }

    // `count` items of 32-bit numbers (ints, or points of three floats), copied as they lie; the array is
    // allocated once, at its size, after its bytes are found to be there.
    template <class T> void Items(std::vector<T>& to, std::uint32_t count, const char* field) {
        const char* data = Take(std::size_t(count) * sizeof(T), field);
        ReserveLarge(to, count);
        to.resize(count);
        if (count > 0)
            std::memcpy(to.data(), data, std::size_t(count) * sizeof(T));
    }

    bool AtEnd() const { return at == bytes.size(); }

private:
    std::string_view bytes;
    std::uint64_t most;
    std::size_t at = 0;
};

// Refuses corners (or uv corners) that name none of `limit` vertices, naming the first.
void CheckCorners(const std::vector<int>& corners, std::size_t limit, const char* what) {
    for (const int v : corners)
        if (v < 0 || static_cast<std::size_t>(v) >= limit)
            Refuse(std::string("one of its ") + what + " (" + std::to_string(v) + ") is out of range");
}

std::string Message(Cursor& in) {
    const std::uint32_t length = in.Count("message bytes", 1, "message bytes");
    if (length == 0)
        Refuse("its error message is empty");
    std::string message(in.Take(length, "the message"), length);
    for (const char c : message)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            Refuse("its error message holds control characters");
    return message;
}

void Faces(Cursor& in, ImportedPart& part) {
    const std::uint32_t faces = in.Count("faces", 8, "faces");
    const std::uint32_t corners = in.Count("corners", 4, "corners");
    if (faces == 0)
        Refuse("one of its parts has no faces");
    const char* sizes = in.Take(std::size_t(faces) * 4, "face sizes");
    ReserveLarge(part.faceStarts, std::size_t(faces) + 1);
    std::uint64_t cornerSum = 0; // cannot overflow: fewer than 2^32 sizes below 2^32 each
    for (std::uint32_t f = 0; f < faces; ++f) {
        std::uint32_t size;
        std::memcpy(&size, sizes + 4 * std::size_t(f), 4);
        if (size < 3)
            Refuse("one of its faces has fewer than three corners");
        cornerSum += size;
        // Past the count of corners the start is wrong, and the sum below refuses the answer.
        part.faceStarts.push_back(static_cast<std::uint32_t>(cornerSum));
    }
    if (cornerSum != corners)
        Refuse("its face sizes do not add up to its count of corners");
    in.Items(part.corners, corners, "face corners");
    CheckCorners(part.corners, part.verts.size(), "face corners");
    in.Items(part.faceMaterials, faces, "materials");
    for (const int material : part.faceMaterials)
        if (material < 0)
            Refuse("one of its face materials is negative");
}

ImportedPart Part(Cursor& in) {
    ImportedPart part;
    const std::uint32_t nameBytes = in.Count("name bytes", 1, "name bytes");
    part.name.assign(in.Take(nameBytes, "a name"), nameBytes);
    std::memcpy(part.transform.data(), in.Take(sizeof part.transform, "the transform"),
                sizeof part.transform);
    in.Items(part.verts, in.Count("vertices", 12, "vertices"), "vertices");
    Faces(in, part);
    in.Items(part.uvVerts, in.Count("uv vertices", 12, "uv vertices"), "uv vertices");
    if (!part.uvVerts.empty()) {
        in.Items(part.uvCorners, static_cast<std::uint32_t>(part.corners.size()), "uv corners");
        CheckCorners(part.uvCorners, part.uvVerts.size(), "uv corners");
    }
    return part;
}

} // namespace

ModelAnswer DecodeModelAnswer(std::string_view bytes, std::uint64_t most) {
    Cursor in(bytes, most != 0 ? most : bytes.size());
    if (std::memcmp(in.Take(sizeof kModelAnswerMagic, "its header"), kModelAnswerMagic,
                    sizeof kModelAnswerMagic) != 0)
        Refuse("it does not start as an answer does");
    if (const std::uint32_t version = in.U32("its header"); version != kModelAnswerVersion)
        Refuse("its version is " + std::to_string(version) + ", not " + std::to_string(kModelAnswerVersion));
    ModelAnswer answer;
    const std::uint32_t kind = in.U32("its header");
    if (kind == kModelAnswerErrorKind) {
        answer.error = Message(in);
    } else if (kind == kModelAnswerModelKind) {
        const std::uint32_t parts = in.Count("parts", kSmallestPart, "parts");
        if (parts == 0)
            Refuse("it holds no parts");
        // Not reserved at the count: the parts' bytes are not known to be there yet.
        for (std::uint32_t p = 0; p < parts; ++p)
            answer.model.parts.push_back(Part(in));
    } else {
        Refuse("its kind is " + std::to_string(kind) + ", neither a model nor an error");
    }
    if (!in.AtEnd())
        Refuse("bytes follow its end");
    return answer;
}

} // namespace host
