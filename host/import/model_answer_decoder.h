#pragma once

// The tool's side of the model reader's answer (model_answer.h): the whole answer, read to its end, decoded
// without trusting it.
#include "host/import/model_answer.h"

#include <cstdint>
#include <string_view>

namespace host {

// Decodes one whole answer. Throws MalformedModelAnswer unless `bytes` are exactly one answer with: a
// known version and kind; an error message of one line; at least one part, each with at least one face;
// faces of three or more corners, each corner naming one of its part's vertices; materials not negative;
// uv faces naming uv vertices. Every count must fit in what the answer may still hold: `most` bytes in all
// (the limit the reader wrote under), or 0 for the answer's own size; an answer within that limit that
// ends short is refused as ending inside its field. Nothing is allocated for a count before its items
// are there.
ModelAnswer DecodeModelAnswer(std::string_view bytes, std::uint64_t most = 0);

} // namespace host
