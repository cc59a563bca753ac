#pragma once

// Baking a surface's colours into a texture over its texture coordinates: each texel whose centre lies in a
// face's image in texture space takes the colour at that point of the face, and the texels around the
// islands take the colour of the nearest island texel, so that filtering and smaller mip levels do not
// bleed the background in.
#include "hostsdk/color.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace host {

// A face's corners in texture space (u, v; v up, as map channels hold them).
using UvTriangle = std::array<Point3, 3>;

struct BakedTexture {
    int size = 0;
    // size x size texels, four bytes each (sRGB as the colours are, straight alpha), row 0 at the top (v =
    // 1).
    std::vector<std::uint8_t> rgba;
    // Texels whose centre lies in more than one face's image: overlapping islands.
    std::size_t overlapping = 0;
};

// The colour at barycentric weights `barycentric` of face `face`.
using SurfaceColour = std::function<AColor(int face, const Point3& barycentric)>;

// Bakes the faces `uvs` (indexed as `colour` takes them) into a size x size texture. A texel belongs to the
// face whose image holds its centre (an edge shared by two faces belongs to one of them); texels no face
// holds take the colour of the nearest texel one holds when it lies within `margin` texels, and are fully
// transparent beyond.
BakedTexture BakeTexture(int size, int margin, const std::vector<UvTriangle>& uvs,
                         const SurfaceColour& colour);

// For each texel, the index of the nearest texel with `inside` set (by distance between centres; of nearest
// texels at equal distances, any one), or -1 when there is none within `margin` texels. Texels inside are
// their own.
std::vector<int> NearestInside(const std::vector<bool>& inside, int size, int margin);

} // namespace host
