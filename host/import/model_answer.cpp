#include "host/import/model_answer.h"

#include <bit>
#include <limits>
#include <type_traits>

namespace host {

namespace {

static_assert(sizeof(Point3) == 12 && std::is_trivially_copyable_v<Point3>, "a point is three floats");

class AnswerWriter {
public:
    explicit AnswerWriter(const std::function<void(std::string_view)>& write) : write(write) {}

    void Bytes(const void* data, std::size_t size) {
        if (size > 0)
            write(std::string_view(static_cast<const char*>(data), size));
    }
    void U32(std::uint32_t value) { Bytes(&value, sizeof value); }
    void Count(std::size_t count) { U32(static_cast<std::uint32_t>(count)); }
    void Text(const std::string& text) {
        Count(text.size());
        Bytes(text.data(), text.size());
    }
    void Header(std::uint32_t kind) {
        Bytes(kModelAnswerMagic, sizeof kModelAnswerMagic);
        U32(kModelAnswerVersion);
        U32(kind);
    }
    // 32-bit numbers (ints, floats, points of floats): the memory itself (model_answer.h).
    template <class T> void Array(const std::vector<T>& items) {
        Bytes(items.data(), items.size() * sizeof(T));
    }

private:
    const std::function<void(std::string_view)>& write;
};

void CheckCarriable(const ImportedPart& part) {
    constexpr std::size_t kMost = std::numeric_limits<std::uint32_t>::max();
    const std::size_t faces = part.FaceCount();
    const bool uvs = !part.uvVerts.empty();
    if (part.faceStarts.empty() || part.faceStarts.front() != 0 ||
        part.faceStarts.back() != part.corners.size())
        throw std::invalid_argument("a part's face starts do not span its corners");
    for (std::size_t f = 0; f < faces; ++f)
        if (part.faceStarts[f + 1] < part.faceStarts[f])
            throw std::invalid_argument("a part's face starts go backwards");
    if (part.faceMaterials.size() != faces || (uvs && part.uvCorners.size() != part.corners.size()) ||
        (!uvs && !part.uvCorners.empty()))
        throw std::invalid_argument("a part's materials or uv corners are not one per face or corner");
    if (part.name.size() > kMost || part.verts.size() > kMost || part.corners.size() > kMost ||
        part.uvVerts.size() > kMost)
        throw std::invalid_argument("the model is too large for the reader's answer");
}

} // namespace

void WriteModelAnswer(const ImportedModel& model, const std::function<void(std::string_view)>& write) {
    if (model.parts.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::invalid_argument("the model is too large for the reader's answer");
    for (const ImportedPart& part : model.parts)
        CheckCarriable(part);
    AnswerWriter out(write);
    out.Header(kModelAnswerModelKind);
    out.Count(model.parts.size());
    std::vector<std::uint32_t> sizes;
    for (const ImportedPart& part : model.parts) {
        out.Text(part.name);
        for (const Point3& row : part.transform) {
            out.U32(std::bit_cast<std::uint32_t>(row.x));
            out.U32(std::bit_cast<std::uint32_t>(row.y));
            out.U32(std::bit_cast<std::uint32_t>(row.z));
        }
        out.Count(part.verts.size());
        out.Array(part.verts);
        out.Count(part.FaceCount());
        out.Count(part.corners.size());
        sizes.resize(part.FaceCount());
        for (std::size_t f = 0; f < sizes.size(); ++f)
            sizes[f] = part.faceStarts[f + 1] - part.faceStarts[f];
        out.Array(sizes);
        out.Array(part.corners);
        out.Array(part.faceMaterials);
        out.Count(part.uvVerts.size());
        out.Array(part.uvVerts);
        out.Array(part.uvCorners);
    }
}

std::string EncodeModelAnswer(const ImportedModel& model) {
    std::string bytes;
    WriteModelAnswer(model, [&bytes](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

std::string EncodeErrorAnswer(const std::string& message) {
    std::string bytes;
    const std::function<void(std::string_view)> append = [&bytes](std::string_view piece) {
        bytes.append(piece);
    };
    AnswerWriter out(append);
    out.Header(kModelAnswerErrorKind);
    out.Text(message);
    return bytes;
}

} // namespace host
