#include "host/scene/member_names.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace host {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Letters inserted, left out, replaced or swapped with their neighbour to turn a into b, letter case
// aside.
std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1)});
            if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) && Lower(a[i - 2]) == Lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

} // namespace

std::string NearestName(const std::string& name, std::initializer_list<const char*> known) {
    std::string nearest;
    std::size_t best = std::max<std::size_t>(1, name.size() / 3) + 1;
    for (const char* candidate : known) {
        const std::size_t distance = EditDistance(name, candidate);
        if (distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

std::optional<UnknownMember> FindUnknownMember(const Json& object, std::initializer_list<const char*> known) {
    if (!object.is_object())
        return std::nullopt;
    for (const auto& item : object.items()) {
        const std::string& name = item.key();
        if (std::any_of(known.begin(), known.end(), [&](const char* k) { return name == k; }))
            continue;
        const std::string nearest = NearestName(name, known);
        if (!nearest.empty())
            return UnknownMember{name, "unknown member; did you mean \"" + nearest + "\"?"};
        if (known.size() == 0)
            return UnknownMember{name, "unknown member: this record takes none"};
        std::string names;
        for (const char* k : known)
            names += (names.empty() ? "\"" : ", \"") + std::string(k) + "\"";
        return UnknownMember{name, "unknown member; this record knows " + names};
    }
    return std::nullopt;
}

} // namespace host
