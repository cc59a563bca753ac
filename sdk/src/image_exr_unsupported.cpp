#include "image_decode.h"

namespace hostsdk::image {

// This build carries no OpenEXR decoder.
BMMRES DecodeExrImage(std::span<const unsigned char>, DecodedImage&) {
    return BMMRES_NODRIVER;
}

} // namespace hostsdk::image
