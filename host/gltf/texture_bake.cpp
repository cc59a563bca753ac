#include "host/gltf/texture_bake.h"

#include "host/draw/png_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace host {

namespace {

// The nearest source along one line (Felzenszwalb and Huttenlocher's lower envelope of parabolas): for
// each position p, the source q minimising (p - q)^2 + cost[q]; `nearest` gets q, or -1 without sources.
void NearestAlongLine(const std::vector<double>& cost, std::vector<int>& nearest) {
    const int n = static_cast<int>(cost.size());
    std::vector<int> apex;    // the sources whose parabolas form the envelope
    std::vector<double> from; // where each of them starts to be lowest
    constexpr double kNone = std::numeric_limits<double>::infinity();
    for (int q = 0; q < n; ++q) {
        if (cost[static_cast<std::size_t>(q)] == kNone)
            continue;
        double start = -kNone;
        while (!apex.empty()) {
            const int r = apex.back();
            start = ((cost[static_cast<std::size_t>(q)] + double(q) * q) -
                     (cost[static_cast<std::size_t>(r)] + double(r) * r)) /
                    (2.0 * (q - r));
            if (start > from.back())
                break;
            apex.pop_back();
            from.pop_back();
            start = -kNone;
        }
        apex.push_back(q);
        from.push_back(start);
    }
    std::size_t k = 0;
    for (int p = 0; p < n; ++p) {
        if (apex.empty()) {
            nearest[static_cast<std::size_t>(p)] = -1;
            continue;
        }
        while (k + 1 < apex.size() && from[k + 1] < p)
            ++k;
        nearest[static_cast<std::size_t>(p)] = apex[k];
    }
}

// Twice the signed area of the triangle (a, b, p) in texel space.
double Edge(const Point3& a, const Point3& b, double px, double py) {
    return (double(b.x) - a.x) * (py - a.y) - (double(b.y) - a.y) * (px - a.x);
}

// Whether a point exactly on the edge from a to b belongs to the triangle: only the edges on one side do,
// so that a texel centre on an edge two faces share belongs to one of them.
bool OwnsEdge(const Point3& a, const Point3& b) {
    return b.y < a.y || (b.y == a.y && b.x > a.x);
}

// Narrows [first, last] to the texels of row centre `py` that may lie in the triangle `c` (turning
// positively): where each edge's function is not negative, widened by a texel against rounding, since the
// exact test follows. False when the row misses the triangle.
bool RowSpan(const std::array<Point3, 3>& c, double py, int& first, int& last) {
    double lo = first + 0.5, hi = last + 0.5;
    for (int i = 0; i < 3; ++i) {
        const Point3& a = c[static_cast<std::size_t>((i + 1) % 3)];
        const Point3& b = c[static_cast<std::size_t>((i + 2) % 3)];
        // Edge(a, b, px, py) = rise * (py - a.y) - fall * (px - a.x), with fall = b.y - a.y.
        const double rise = double(b.x) - a.x, fall = double(b.y) - a.y;
        const double atEdge = rise * (py - a.y);
        if (fall == 0.0) {
            if (atEdge < 0.0)
                return false;
            continue;
        }
        const double crossing = a.x + atEdge / fall;
        if (fall > 0.0)
            hi = std::min(hi, crossing);
        else
            lo = std::max(lo, crossing);
    }
    first = std::max(first, static_cast<int>(std::floor(lo - 0.5)) - 1);
    last = std::min(last, static_cast<int>(std::ceil(hi - 0.5)) + 1);
    return first <= last;
}

} // namespace

std::vector<int> NearestInside(const std::vector<bool>& inside, int size, int margin) {
    const auto n = static_cast<std::size_t>(size);
    constexpr double kNone = std::numeric_limits<double>::infinity();
    // Down each column: the nearest texel inside in that column.
    std::vector<int> columnNearest(n * n);
    std::vector<double> cost(n);
    std::vector<int> nearest(n);
    for (std::size_t x = 0; x < n; ++x) {
        for (std::size_t y = 0; y < n; ++y)
            cost[y] = inside[y * n + x] ? 0.0 : kNone;
        NearestAlongLine(cost, nearest);
        for (std::size_t y = 0; y < n; ++y)
            columnNearest[y * n + x] = nearest[y];
    }
    // Along each row, over the columns' nearest: the nearest in the plane.
    std::vector<int> result(n * n, -1);
    const double limit = double(margin) * margin;
    for (std::size_t y = 0; y < n; ++y) {
        for (std::size_t x = 0; x < n; ++x) {
            const int row = columnNearest[y * n + x];
            cost[x] = row < 0 ? kNone : (double(row) - double(y)) * (double(row) - double(y));
        }
        NearestAlongLine(cost, nearest);
        for (std::size_t x = 0; x < n; ++x) {
            const int column = nearest[x];
            if (column < 0)
                continue;
            const std::size_t at = y * n + static_cast<std::size_t>(column);
            const double dx = double(column) - double(x);
            if (dx * dx + cost[static_cast<std::size_t>(column)] <= limit)
                result[y * n + x] =
                    static_cast<int>(static_cast<std::size_t>(columnNearest[at]) * n) + column;
        }
    }
    return result;
}

BakedTexture BakeTexture(int size, int margin, const std::vector<UvTriangle>& uvs,
                         const SurfaceColour& colour) {
    BakedTexture baked;
    baked.size = size;
    const auto n = static_cast<std::size_t>(size);
    baked.rgba.assign(n * n * 4, 0);
    std::vector<bool> inside(n * n, false);
    for (std::size_t face = 0; face < uvs.size(); ++face) {
        // In texel space, y down from the texture's top row.
        std::array<Point3, 3> c;
        for (std::size_t i = 0; i < 3; ++i)
            c[i] = Point3(uvs[face][i].x * float(size), (1.0f - uvs[face][i].y) * float(size), 0.0f);
        double area = Edge(c[0], c[1], c[2].x, c[2].y);
        if (!(std::abs(area) > 0.0))
            continue;
        // Corners in one turning sense, so that the same edges own their points in every face.
        std::array<int, 3> order{0, 1, 2};
        if (area < 0.0) {
            std::swap(order[1], order[2]);
            std::swap(c[1], c[2]);
            area = -area;
        }
        const double x0 = std::min({c[0].x, c[1].x, c[2].x}), x1 = std::max({c[0].x, c[1].x, c[2].x});
        const double y0 = std::min({c[0].y, c[1].y, c[2].y}), y1 = std::max({c[0].y, c[1].y, c[2].y});
        const int xFirst = std::max(0, static_cast<int>(std::ceil(x0 - 0.5)));
        const int xLast = std::min(size - 1, static_cast<int>(std::floor(x1 - 0.5)));
        const int yFirst = std::max(0, static_cast<int>(std::ceil(y0 - 0.5)));
        const int yLast = std::min(size - 1, static_cast<int>(std::floor(y1 - 0.5)));
        for (int y = yFirst; y <= yLast; ++y) {
            int spanFirst = xFirst, spanLast = xLast;
            if (!RowSpan(c, y + 0.5, spanFirst, spanLast))
                continue;
            for (int x = spanFirst; x <= spanLast; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                // w[i]: the weight of corner i, from the edge facing it.
                double w[3];
                bool in = true;
                for (int i = 0; i < 3 && in; ++i) {
                    const Point3& a = c[static_cast<std::size_t>((i + 1) % 3)];
                    const Point3& b = c[static_cast<std::size_t>((i + 2) % 3)];
                    w[i] = Edge(a, b, px, py);
                    in = w[i] > 0.0 || (w[i] == 0.0 && OwnsEdge(a, b));
                }
                if (!in)
                    continue;
                const std::size_t at = static_cast<std::size_t>(y) * n + static_cast<std::size_t>(x);
                if (inside[at])
                    ++baked.overlapping;
                inside[at] = true;
                float weights[3];
                for (int i = 0; i < 3; ++i)
                    weights[order[static_cast<std::size_t>(i)]] = static_cast<float>(w[i] / area);
                const AColor shade =
                    colour(static_cast<int>(face), Point3(weights[0], weights[1], weights[2]));
                std::uint8_t* texel = &baked.rgba[at * 4];
                texel[0] = ToByte(shade.r);
                texel[1] = ToByte(shade.g);
                texel[2] = ToByte(shade.b);
                texel[3] = ToByte(shade.a);
            }
        }
    }
    const std::vector<int> nearest = NearestInside(inside, size, margin);
    for (std::size_t at = 0; at < n * n; ++at)
        if (!inside[at] && nearest[at] >= 0)
            std::copy_n(&baked.rgba[static_cast<std::size_t>(nearest[at]) * 4], 4, &baked.rgba[at * 4]);
    return baked;
}

} // namespace host
