// The model reader's answer as the tool receives it through the pipe: any bytes are decoded; an accepted
// answer must keep the promises the scene building relies on, and encode back to the very same bytes.
#include "host/import/model_answer.h"
#include "host/import/model_answer_decoder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Broken(const char* promise) {
    std::fprintf(stderr, "model_answer_fuzzer: an accepted answer breaks a promise: %s\n", promise);
    std::abort();
}

void CheckPromises(const host::ModelAnswer& answer) {
    if (!answer.error.empty()) {
        if (!answer.model.parts.empty())
            Broken("an error answer holds parts");
        return;
    }
    if (answer.model.parts.empty())
        Broken("a model has no parts");
    for (const host::ImportedPart& part : answer.model.parts) {
        const std::size_t faces = part.FaceCount();
        if (faces == 0 || part.faceMaterials.size() != faces || part.faceStarts.front() != 0 ||
            part.faceStarts.back() != part.corners.size())
            Broken("a part has no faces, not one material per face, or face starts that miss its corners");
        if (!part.uvVerts.empty() ? part.uvCorners.size() != part.corners.size() : !part.uvCorners.empty())
            Broken("a part's uv corners are not one per corner");
        for (std::size_t f = 0; f < faces; ++f)
            if (part.faceStarts[f + 1] < part.faceStarts[f] + 3 || part.faceMaterials[f] < 0)
                Broken("a face has fewer than three corners or a negative material");
        for (const int v : part.corners)
            if (v < 0 || static_cast<std::size_t>(v) >= part.verts.size())
                Broken("a corner names no vertex");
        for (const int v : part.uvCorners)
            if (v < 0 || static_cast<std::size_t>(v) >= part.uvVerts.size())
                Broken("a uv corner names no uv vertex");
    }
}

// The outcome of decoding: the refusal's message, or empty when the answer was taken.
std::string Refusal(const std::function<host::ModelAnswer()>& decode, host::ModelAnswer& answer) {
    try {
        answer = decode();
    } catch (const host::MalformedModelAnswer& e) {
        return e.what();
    }
    return std::string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    host::ModelAnswer answer;
    const std::string refusal = Refusal([bytes] { return host::DecodeModelAnswer(bytes); }, answer);
    // Bounded as the tool bounds it, by what the reader may send, the same bytes are taken or refused
    // alike; only the reason given for an answer that ends short may differ.
    host::ModelAnswer bounded;
    const std::string boundedRefusal =
        Refusal([bytes] { return host::DecodeModelAnswer(bytes, std::uint64_t(1) << 40); }, bounded);
    if (boundedRefusal.empty() != refusal.empty())
        Broken("decoding bounded by the answer's size and by a limit disagree");
    if (!refusal.empty())
        return 0;
    CheckPromises(answer);
    const std::string again =
        answer.error.empty() ? host::EncodeModelAnswer(answer.model) : host::EncodeErrorAnswer(answer.error);
    if (again != bytes)
        Broken("the answer does not encode back to its own bytes");
    return 0;
}
