// The model reader's answer as the tool receives it through the pipe: any bytes are decoded; an accepted
// answer must keep the promises the scene building relies on, and encode back to the very same bytes.
#include "host/import/model_answer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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
        if (part.faces.empty() || part.faceMaterials.size() != part.faces.size())
            Broken("a part has no faces, or not one material per face");
        if (!part.uvVerts.empty() && part.uvFaces.size() != part.faces.size())
            Broken("a part's uv faces are not one per face");
        for (std::size_t f = 0; f < part.faces.size(); ++f) {
            if (part.faces[f].size() < 3 || part.faceMaterials[f] < 0)
                Broken("a face has fewer than three corners or a negative material");
            for (const int v : part.faces[f])
                if (v < 0 || static_cast<std::size_t>(v) >= part.verts.size())
                    Broken("a corner names no vertex");
            if (part.uvVerts.empty())
                continue;
            if (part.uvFaces[f].size() != part.faces[f].size())
                Broken("a uv face does not match its face");
            for (const int v : part.uvFaces[f])
                if (v < 0 || static_cast<std::size_t>(v) >= part.uvVerts.size())
                    Broken("a uv corner names no uv vertex");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    host::ModelAnswer answer;
    try {
        answer = host::DecodeModelAnswer(bytes);
    } catch (const host::MalformedModelAnswer&) {
        return 0;
    }
    CheckPromises(answer);
    const std::string again =
        answer.error.empty() ? host::EncodeModelAnswer(answer.model) : host::EncodeErrorAnswer(answer.error);
    if (again != bytes)
        Broken("the answer does not encode back to its own bytes");
    return 0;
}
