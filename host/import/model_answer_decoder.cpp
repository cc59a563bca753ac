#include "host/import/model_answer_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace host {

namespace {

// A part takes at least its name's length, the transform, one vertex, one face of three corners with its
// size and material, and the counts of vertices, faces, corners and uv vertices.
constexpr std::uint64_t kSmallestPart = 4 + 48 + 12 + (4 + 12 + 4) + 4 * 4;

std::uint32_t LoadU32(const char* le) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(le[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(le[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(le[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(le[3])) << 24;
}

// Appends `count` items of 32-bit numbers (ints, or points of three floats) as the answer holds them: on a
// little-endian machine a copy of the bytes.
template <class T> std::span<T> AppendItems(std::vector<T>& to, const char* data, std::size_t count) {
    const std::size_t at = to.size();
    to.resize(at + count);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(to.data() + at, data, count * sizeof(T));
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t words[sizeof(T) / 4];
            for (std::size_t w = 0; w < sizeof(T) / 4; ++w)
                words[w] = LoadU32(data + i * sizeof(T) + 4 * w);
            std::memcpy(&to[at + i], words, sizeof(T));
        }
    }
    return std::span<T>(to).subspan(at);
}

} // namespace

ModelAnswerDecoder::ModelAnswerDecoder(std::uint64_t most) : most(most) {}

void ModelAnswerDecoder::Feed(std::string_view bytes) {
    while (!bytes.empty() && failure.empty()) {
        if (field == Field::End) {
            Fail("bytes follow its end");
            return;
        }
        if (carried > 0 || bytes.size() < itemBytes) {
            const std::size_t n = std::min(itemBytes - carried, bytes.size());
            std::memcpy(carry + carried, bytes.data(), n);
            carried += n;
            consumed += n;
            bytes.remove_prefix(n);
            if (carried < itemBytes)
                return;
            carried = 0;
            --itemsLeft;
            Items(carry, 1);
        } else {
            const auto whole =
                static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size() / itemBytes, itemsLeft));
            itemsLeft -= whole;
            consumed += whole * itemBytes;
            Items(bytes.data(), whole);
            bytes.remove_prefix(whole * itemBytes);
        }
        while (failure.empty() && field != Field::End && itemsLeft == 0)
            Next();
    }
}

ModelAnswer ModelAnswerDecoder::Finish() {
    if (!failure.empty())
        throw MalformedModelAnswer(failure);
    if (field != Field::End)
        throw MalformedModelAnswer(std::string("it ends inside ") + Inside());
    return std::move(answer);
}

void ModelAnswerDecoder::Expect(Field next, std::size_t size, std::uint64_t count) {
    field = next;
    itemBytes = size;
    itemsLeft = count;
}

bool ModelAnswerDecoder::Count(std::uint32_t count, std::uint64_t bytesEach, const char* what) {
    const std::uint64_t left = most > consumed ? most - consumed : 0;
    if (count * bytesEach <= left)
        return true;
    Fail(std::string("its count of ") + what + " (" + std::to_string(count) + ") exceeds what it holds");
    return false;
}

void ModelAnswerDecoder::Fail(std::string what) {
    if (failure.empty())
        failure = std::move(what);
}

void ModelAnswerDecoder::Items(const char* data, std::size_t count) {
    switch (field) {
    case Field::Magic:
        if (std::memcmp(data, kModelAnswerMagic, sizeof kModelAnswerMagic) != 0)
            Fail("it does not start as an answer does");
        break;
    case Field::Version:
        if (const std::uint32_t version = LoadU32(data); version != kModelAnswerVersion)
            Fail("its version is " + std::to_string(version) + ", not " +
                 std::to_string(kModelAnswerVersion));
        break;
    case Field::Message:
        answer.error.append(data, count);
        break;
    case Field::Name:
        Part().name.append(data, count);
        break;
    case Field::Transform:
        for (std::size_t row = 0; row < 4; ++row)
            Part().transform[row] = Point3(std::bit_cast<float>(LoadU32(data + 12 * row)),
                                           std::bit_cast<float>(LoadU32(data + 12 * row + 4)),
                                           std::bit_cast<float>(LoadU32(data + 12 * row + 8)));
        break;
    case Field::Verts:
        AppendItems(Part().verts, data, count);
        break;
    case Field::FaceSizes:
        for (std::size_t i = 0; i < count && failure.empty(); ++i) {
            const std::uint32_t size = LoadU32(data + 4 * i);
            cornerSum += size;
            if (size < 3)
                Fail("one of its faces has fewer than three corners");
            else if (cornerSum > corners)
                Fail("its face sizes do not add up to its count of corners");
            else
                Part().faceStarts.push_back(static_cast<std::uint32_t>(cornerSum));
        }
        break;
    case Field::Corners:
    case Field::UvCorners: {
        const bool uv = field == Field::UvCorners;
        const std::size_t limit = uv ? Part().uvVerts.size() : Part().verts.size();
        for (const int v : AppendItems(uv ? Part().uvCorners : Part().corners, data, count))
            if (v < 0 || static_cast<std::size_t>(v) >= limit) {
                Fail(std::string("one of its ") + (uv ? "uv corners" : "face corners") + " (" +
                     std::to_string(v) + ") is out of range");
                break;
            }
        break;
    }
    case Field::Materials:
        for (const int material : AppendItems(Part().faceMaterials, data, count))
            if (material < 0) {
                Fail("one of its face materials is negative");
                break;
            }
        break;
    case Field::UvVerts:
        AppendItems(Part().uvVerts, data, count);
        break;
    default: // the counts and the kind, each one number
        number = LoadU32(data);
        break;
    }
}

void ModelAnswerDecoder::Next() {
    switch (field) {
    case Field::Magic:
        return Expect(Field::Version, 4, 1);
    case Field::Version:
        return Expect(Field::Kind, 4, 1);
    case Field::Kind:
        if (number == kModelAnswerErrorKind)
            return Expect(Field::MessageLength, 4, 1);
        if (number == kModelAnswerModelKind)
            return Expect(Field::PartCount, 4, 1);
        return Fail("its kind is " + std::to_string(number) + ", neither a model nor an error");
    case Field::MessageLength:
        if (!Count(number, 1, "message bytes"))
            return;
        if (number == 0)
            return Fail("its error message is empty");
        return Expect(Field::Message, 1, number);
    case Field::Message:
        for (const char c : answer.error)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                return Fail("its error message holds control characters");
        return Expect(Field::End, 0, 0);
    case Field::PartCount:
        if (!Count(number, kSmallestPart, "parts"))
            return;
        if (number == 0)
            return Fail("it holds no parts");
        partsLeft = number;
        answer.model.parts.emplace_back();
        return Expect(Field::NameLength, 4, 1);
    case Field::NameLength:
        if (!Count(number, 1, "name bytes"))
            return;
        Part().name.reserve(number);
        return Expect(Field::Name, 1, number);
    case Field::Name:
        return Expect(Field::Transform, 48, 1);
    case Field::Transform:
        return Expect(Field::VertCount, 4, 1);
    case Field::VertCount:
        if (!Count(number, 12, "vertices"))
            return;
        Part().verts.reserve(number);
        return Expect(Field::Verts, 12, number);
    case Field::Verts:
        return Expect(Field::FaceCount, 4, 1);
    case Field::FaceCount:
        if (!Count(number, 8, "faces"))
            return;
        faces = number;
        return Expect(Field::CornerCount, 4, 1);
    case Field::CornerCount:
        if (!Count(number, 4, "corners"))
            return;
        corners = number;
        if (faces == 0)
            return Fail("one of its parts has no faces");
        cornerSum = 0;
        Part().faceStarts.reserve(std::size_t(faces) + 1);
        return Expect(Field::FaceSizes, 4, faces);
    case Field::FaceSizes:
        if (cornerSum != corners)
            return Fail("its face sizes do not add up to its count of corners");
        Part().corners.reserve(corners);
        return Expect(Field::Corners, 4, corners);
    case Field::Corners:
        Part().faceMaterials.reserve(faces);
        return Expect(Field::Materials, 4, faces);
    case Field::Materials:
        return Expect(Field::UvVertCount, 4, 1);
    case Field::UvVertCount:
        if (!Count(number, 12, "uv vertices"))
            return;
        Part().uvVerts.reserve(number);
        return Expect(Field::UvVerts, 12, number);
    case Field::UvVerts:
        if (!Part().uvVerts.empty()) {
            Part().uvCorners.reserve(corners);
            return Expect(Field::UvCorners, 4, corners);
        }
        break;
    case Field::UvCorners:
        break;
    case Field::End:
        return;
    }
    // The part is complete.
    if (--partsLeft == 0)
        return Expect(Field::End, 0, 0);
    answer.model.parts.emplace_back();
    Expect(Field::NameLength, 4, 1);
}

const char* ModelAnswerDecoder::Inside() const {
    switch (field) {
    case Field::Magic:
    case Field::Version:
    case Field::Kind:
        return "its header";
    case Field::MessageLength:
        return "message bytes";
    case Field::Message:
        return "the message";
    case Field::PartCount:
        return "parts";
    case Field::NameLength:
        return "name bytes";
    case Field::Name:
        return "a name";
    case Field::Transform:
        return "the transform";
    case Field::VertCount:
    case Field::Verts:
        return "vertices";
    case Field::FaceCount:
        return "faces";
    case Field::CornerCount:
        return "corners";
    case Field::FaceSizes:
        return "face sizes";
    case Field::Corners:
        return "face corners";
    case Field::Materials:
        return "materials";
    case Field::UvVertCount:
    case Field::UvVerts:
        return "uv vertices";
    case Field::UvCorners:
        return "uv corners";
    case Field::End:
        break;
    }
    return "its end";
}

} // namespace host
