#pragma once

// The preview of an export: one HTML page that shows the model, lit and turning with the mouse, beside its
// palette. It opens from the file system with no network: the viewer (three.js, built into the tool) and
// the model (a .glb as base64, since a page from a file may not fetch another file) are inside it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

using PartWriter = std::function<void(std::string_view)>;

// Writes the page, titled `title`, with the colours `swatches` ("#rrggbb") beside the model, a part at a time
// into `write`; `glb` writes the model's bytes into the writer it is given, which encodes them.
void WritePreviewPage(const std::string& title, const std::vector<std::string>& swatches,
                      const PartWriter& write, const std::function<void(const PartWriter& glb)>& glb);

// Encodes bytes as base64 a part at a time; Finish writes the last, padded group.
class Base64Writer {
public:
    explicit Base64Writer(const PartWriter& out) : out(out) {}
    void Write(std::string_view bytes);
    void Finish();

private:
    const PartWriter& out;
    unsigned char held[2] = {0, 0};
    int heldCount = 0;
    std::string encoded;
};

} // namespace host
