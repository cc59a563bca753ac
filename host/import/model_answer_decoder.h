#pragma once

// Decoding the model reader's answer (model_answer.h) as its bytes arrive, so that the tool decodes while
// the reader is still writing and never holds the answer's bytes beside the model they make.
#include "host/import/model_answer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace host {

class ModelAnswerDecoder {
public:
    // `most` is the most bytes the answer can hold: its size when the whole answer is at hand, else the
    // limit on what the reader may send. Every count is checked against what is left of it before space is
    // reserved for the items counted; the items fill that space only as their bytes arrive.
    explicit ModelAnswerDecoder(std::uint64_t most);

    // Takes the next bytes of the answer, in pieces of any size. The first fault found is kept, and the
    // bytes after it are ignored.
    void Feed(std::string_view bytes);

    // Whether a fault has been found (the answer is then refused whatever follows).
    bool Failed() const { return !failure.empty(); }

    // The answer, once every byte has been fed. Throws MalformedModelAnswer for the first fault found, or
    // for an answer that has not ended (naming what it ends inside); the model moves out.
    ModelAnswer Finish();

private:
    // The answer's fields in order; each holds a count of items of one size.
    enum class Field {
        Magic,
        Version,
        Kind,
        MessageLength,
        Message,
        PartCount,
        NameLength,
        Name,
        Transform,
        VertCount,
        Verts,
        FaceCount,
        CornerCount,
        FaceSizes,
        Corners,
        Materials,
        UvVertCount,
        UvVerts,
        UvCorners,
        End,
    };

    void Expect(Field next, std::size_t size, std::uint64_t count);
    // Checks and stores `count` whole items of the current field.
    void Items(const char* data, std::size_t count);
    // Moves on once the current field's items are all in.
    void Next();
    // A count of items of `itemBytes` each that must fit in what the answer can still hold.
    bool Count(std::uint32_t count, std::uint64_t itemBytes, const char* what);
    void Fail(std::string what);
    // What the answer ends inside, when it ends in the current field.
    const char* Inside() const;
    ImportedPart& Part() { return answer.model.parts.back(); }

    std::uint64_t most;
    std::uint64_t consumed = 0;
    Field field = Field::Magic;
    std::size_t itemBytes = 4;
    std::uint64_t itemsLeft = 1;
    // An item split between two pieces.
    char carry[48];
    std::size_t carried = 0;

    std::uint32_t partsLeft = 0;
    std::uint32_t number = 0; // the last count read
    std::uint32_t faces = 0, corners = 0;
    std::uint64_t cornerSum = 0;
    ModelAnswer answer;
    std::string failure;
};

} // namespace host
