#include "image_decode.h"

#include <Iex.h>
#include <ImfArray.h>
#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfInputFile.h>
#include <ImfRgbaFile.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace hostsdk::image {

namespace {

// The library reads through a stream; this one serves the bytes the SDK has already read from the file.
class MemoryStream final : public Imf::IStream {
public:
    explicit MemoryStream(std::span<const unsigned char> bytes_) : Imf::IStream("memory"), bytes(bytes_) {}

    bool read(char c[], int n) override {
        if (n < 0 || position > bytes.size() || static_cast<std::uint64_t>(n) > bytes.size() - position)
            throw Iex::InputExc("Unexpected end of file.");
        std::memcpy(c, bytes.data() + position, static_cast<std::size_t>(n));
        position += static_cast<std::uint64_t>(n);
        return position < bytes.size();
    }
    std::uint64_t tellg() override { return position; }
    void seekg(std::uint64_t to) override { position = to; }

private:
    std::span<const unsigned char> bytes;
    std::uint64_t position = 0;
};

BMM_Color_fl* FloatPixels(DecodedImage& image) {
    return static_cast<BMM_Color_fl*>(image.pixels.get());
}

// Luminance-chroma files need the library's own conversion to RGB, which works in half precision.
void ReadLuminanceChroma(MemoryStream& stream, const Imath::Box2i& window, DecodedImage& out) {
    Imf::RgbaInputFile file(stream);
    Imf::Array2D<Imf::Rgba> halves(out.height, out.width);
    // The library addresses pixel (x, y) of the data window as base + x + y * width; the base is computed
    // in integers because it lies outside the array.
    const std::uintptr_t origin = reinterpret_cast<std::uintptr_t>(&halves[0][0]);
    const std::uintptr_t offset =
        (static_cast<std::uintptr_t>(window.min.x) +
         static_cast<std::uintptr_t>(window.min.y) * static_cast<std::uintptr_t>(out.width)) *
        sizeof(Imf::Rgba);
    file.setFrameBuffer(reinterpret_cast<Imf::Rgba*>(origin - offset), 1,
                        static_cast<std::size_t>(out.width));
    file.readPixels(window.min.y, window.max.y);
    BMM_Color_fl* pixels = FloatPixels(out);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const Imf::Rgba& half = halves[y][x];
            pixels[static_cast<std::size_t>(y) * out.width + x] = {half.r, half.g, half.b, half.a};
        }
}

// Any other file: red, green, blue and alpha read as 32-bit floats (absent ones filled with 0, 0, 0 and 1),
// or a luminance channel copied into red, green and blue.
void ReadChannels(MemoryStream& stream, const Imath::Box2i& window, DecodedImage& out) {
    Imf::InputFile file(stream);
    const Imf::ChannelList& channels = file.header().channels();
    const bool grey = channels.findChannel("Y") != nullptr && channels.findChannel("R") == nullptr &&
                      channels.findChannel("G") == nullptr && channels.findChannel("B") == nullptr;

    constexpr std::size_t xStride = sizeof(BMM_Color_fl);
    const std::size_t yStride = xStride * static_cast<std::size_t>(out.width);
    BMM_Color_fl* first = FloatPixels(out);
    const auto slice = [&](float* channel, double fill) {
        return Imf::Slice::Make(Imf::FLOAT, channel, window, xStride, yStride, 1, 1, fill);
    };
    Imf::FrameBuffer frame;
    if (grey) {
        frame.insert("Y", slice(&first->r, 0.0));
    } else {
        frame.insert("R", slice(&first->r, 0.0));
        frame.insert("G", slice(&first->g, 0.0));
        frame.insert("B", slice(&first->b, 0.0));
    }
    frame.insert("A", slice(&first->a, 1.0));
    file.setFrameBuffer(frame);
    file.readPixels(window.min.y, window.max.y);
    if (grey) {
        const std::size_t count = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height);
        for (BMM_Color_fl* pixel = first; pixel != first + count; ++pixel)
            pixel->g = pixel->b = pixel->r;
    }
}

} // namespace

BMMRES DecodeExrImage(std::span<const unsigned char> bytes, DecodedImage& out) {
    try {
        MemoryStream stream(bytes);
        // The header alone first, so that a forged data window is refused before anything is allocated
        // for it.
        unsigned char magicAndVersion[8];
        stream.read(reinterpret_cast<char*>(magicAndVersion), sizeof magicAndVersion);
        int version = static_cast<int>(magicAndVersion[4] | magicAndVersion[5] << 8 |
                                       magicAndVersion[6] << 16 | std::uint32_t{magicAndVersion[7]} << 24);
        Imf::Header header;
        header.readFrom(stream, version);
        const Imath::Box2i window = header.dataWindow();
        const long long width = static_cast<long long>(window.max.x) - window.min.x + 1;
        const long long height = static_cast<long long>(window.max.y) - window.min.y + 1;
        if (const BMMRES status = CheckImageSize(width, height); status != BMMRES_SUCCESS)
            return status;

        // Floating-point channels, zeroed: channels the file lacks and the frame buffer leaves out read 0.
        DecodedImage image;
        image.width = static_cast<int>(width);
        image.height = static_cast<int>(height);
        image.channels = BitmapChannels::Float;
        image.pixels.reset(std::calloc(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                       sizeof(BMM_Color_fl)));
        if (!image.pixels)
            return BMMRES_MEMORYERROR;
        stream.seekg(0);
        const Imf::ChannelList& channels = header.channels();
        if (channels.findChannel("RY") != nullptr || channels.findChannel("BY") != nullptr)
            ReadLuminanceChroma(stream, window, image);
        else
            ReadChannels(stream, window, image);
        out = std::move(image);
        return BMMRES_SUCCESS;
    } catch (const std::bad_alloc&) {
        return BMMRES_MEMORYERROR;
    } catch (const std::exception&) {
        // The library reports damaged and truncated files, and the kinds it cannot read, by exceptions.
        return BMMRES_CORRUPTFILE;
    }
}

} // namespace hostsdk::image
