#pragma once

// The model reader's answer: what the reader process sends back through its pipe, as bytes. A small header
// (magic, version, kind), then either the reader's error message or the model's parts as flat arrays, all
// numbers little-endian:
//   "CSMA" u32 version u32 kind
//   kind 1 (error): u32 length, message bytes
//   kind 0 (model): u32 parts, then for each part:
//     u32 name length, name bytes, 12 f32 transform rows,
//     u32 verts, 3 f32 each, u32 faces, u32 corners (all faces together), u32 size per face,
//     i32 vertex per corner, i32 material per face,
//     u32 uv verts, 3 f32 each, and when there are uv verts, i32 uv vertex per corner
// The reader's side writes it; the tool's side decodes it without trusting it (model_answer_decoder.h).
// Both sides copy the arrays as they lie in memory: both builds' machines are little-endian.
#include "host/import/imported_model.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace host {

static_assert(std::endian::native == std::endian::little, "the answer's numbers are copied as they lie");

inline constexpr char kModelAnswerMagic[4] = {'C', 'S', 'M', 'A'};
inline constexpr std::uint32_t kModelAnswerVersion = 1;
inline constexpr std::uint32_t kModelAnswerModelKind = 0;
inline constexpr std::uint32_t kModelAnswerErrorKind = 1;

// An answer that is not one the reader could have written; the message says what is wrong with it.
struct MalformedModelAnswer : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The decoded answer: the reader's error message (the model is then empty), or the model.
struct ModelAnswer {
    std::string error;
    ImportedModel model;
};

// Hands the answer that carries `model` to `write` in order, piece by piece: the parts' arrays go as they
// lie in memory, with no copy of the whole answer made. Throws std::invalid_argument, before writing
// anything, for a model the format cannot carry: materials that are not one per face, texture coordinates
// that are not one uv vertex per corner, or counts beyond 32 bits.
void WriteModelAnswer(const ImportedModel& model, const std::function<void(std::string_view)>& write);

// The answer that carries `model`, as one string (see WriteModelAnswer).
std::string EncodeModelAnswer(const ImportedModel& model);

// The answer that carries the reader's error message.
std::string EncodeErrorAnswer(const std::string& message);

} // namespace host
