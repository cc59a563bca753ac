#include "hostsdk/mesh_adjacency.h"

#include "hostsdk/large_arrays.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace {

// Calls visit(face, a, b) for every side of every face that joins two different vertices of the mesh: the
// sides that make edges.
template <class Visit> void ForEachEdgeSide(const Mesh& mesh, std::size_t vertexCount, Visit visit) {
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const Face& face = mesh.faces[f];
        for (int e = 0; e < 3; ++e) {
            const DWORD a = face.v[e];
            const DWORD b = face.v[(e + 1) % 3];
            if (a != b && a < vertexCount && b < vertexCount)
                visit(static_cast<DWORD>(f), a, b);
        }
    }
}

// `count` copies of `value`, on huge pages when large.
std::vector<DWORD> LargeArray(std::size_t count, DWORD value) {
    std::vector<DWORD> items;
    ReserveLarge(items, count);
    items.assign(count, value);
    return items;
}

// Counts in counts[1..n] become the starts of n runs in counts[0..n]: each run starts where the one before
// it ends.
void CountsToStarts(std::vector<DWORD>& counts) {
    std::partial_sum(counts.begin(), counts.end(), counts.begin());
}

// The slot of a run that holds what `holds` looks for, or else the run's first free slot. A run has a slot
// for every side filed under its vertex, so it always has one for the side being filed.
template <class Holds> DWORD& SlotFor(std::vector<DWORD>& slots, DWORD first, Holds holds) {
    for (std::size_t i = first;; ++i)
        if (slots[i] == UNDEFINED || holds(slots[i]))
            return slots[i];
}

bool Joins(const MEdge& edge, DWORD a, DWORD b) {
    return (edge.v[0] == a && edge.v[1] == b) || (edge.v[0] == b && edge.v[1] == a);
}

void RecordFace(MEdge& edge, DWORD face) {
    // A face meeting the edge twice is recorded once; a third face is dropped, as the edge has two slots.
    if (edge.f[0] != face && edge.f[1] == UNDEFINED)
        edge.f[1] = face;
}

// Points the sides of `face` that run along the edge at `other`.
void LinkAcross(const Mesh& mesh, const MEdge& edge, DWORD face, DWORD other, Tab<AdjFace>& list) {
    if (face >= list.size())
        return;
    const Face& sides = mesh.faces[face];
    for (int e = 0; e < 3; ++e)
        if (Joins(edge, sides.v[e], sides.v[(e + 1) % 3]))
            list[face].f[e] = other;
}

} // namespace

EdgeIndices VertexEdgeLists::operator[](std::size_t v) const {
    if (!made.load(std::memory_order_acquire))
        Make();
    if (v >= size())
        return {nullptr, nullptr};
    return {entries.data() + start[v], entries.data() + start[v + 1]};
}

std::size_t VertexEdgeLists::size() const {
    return static_cast<std::size_t>(std::max(owner.nverts, 0));
}

void VertexEdgeLists::Forget() {
    made.store(false, std::memory_order_release);
    std::vector<DWORD>().swap(start);
    std::vector<DWORD>().swap(entries);
}

void VertexEdgeLists::Make() const {
    const std::lock_guard<std::mutex> guard(making);
    if (made.load(std::memory_order_relaxed))
        return;
    const std::size_t n = size();
    start.assign(n + 1, 0);
    for (const MEdge& edge : owner.edges)
        for (const DWORD v : edge.v)
            if (v < n)
                ++start[v + 1];
    CountsToStarts(start);
    entries.assign(start[n], 0);
    std::vector<DWORD> next(start.begin(), start.end() - 1);
    for (std::size_t e = 0; e < owner.edges.size(); ++e)
        for (const DWORD v : owner.edges[e].v)
            if (v < n)
                entries[next[v]++] = static_cast<DWORD>(e);
    made.store(true, std::memory_order_release);
}

AdjEdgeList::AdjEdgeList(Mesh& mesh) : nverts(mesh.getNumVerts()) {
    const std::size_t vertexCount = list.size();
    // Each side is filed under its lower vertex, which has a slot for every side filed under it: the slots
    // fill with what was found from that vertex to higher ones, so a side's match is among a few slots and
    // a new one takes the first free slot. A first walk over the sides counts the distinct edges, a second
    // numbers them: the slots and the edges are made once at their size and never grow, and nothing is
    // kept per vertex once the edges are found.
    std::vector<DWORD> start = LargeArray(vertexCount + 1, 0);
    std::size_t sides = 0;
    ForEachEdgeSide(mesh, vertexCount, [&](DWORD, DWORD a, DWORD b) {
        ++start[std::min(a, b) + 1];
        ++sides;
    });
    if (sides >= UNDEFINED)
        throw std::length_error("AdjEdgeList: more edges than a DWORD numbers");
    CountsToStarts(start);
    std::vector<DWORD> slots = LargeArray(sides, UNDEFINED);
    std::size_t count = 0;
    ForEachEdgeSide(mesh, vertexCount, [&](DWORD, DWORD a, DWORD b) {
        const DWORD higher = std::max(a, b);
        DWORD& slot = SlotFor(slots, start[std::min(a, b)], [higher](DWORD held) { return held == higher; });
        if (slot == UNDEFINED) {
            slot = higher;
            ++count;
        }
    });
    std::fill(slots.begin(), slots.end(), UNDEFINED);
    ReserveLarge(edges, count);
    ForEachEdgeSide(mesh, vertexCount, [&](DWORD face, DWORD a, DWORD b) {
        DWORD& slot =
            SlotFor(slots, start[std::min(a, b)], [&](DWORD held) { return Joins(edges[held], a, b); });
        if (slot != UNDEFINED) {
            RecordFace(edges[slot], face);
            return;
        }
        slot = static_cast<DWORD>(edges.size());
        edges.push_back(MEdge{{face, UNDEFINED}, {a, b}});
    });
}

int AdjEdgeList::FindEdge(DWORD v0, DWORD v1) const {
    for (const DWORD e : list[v0])
        if (Joins(edges[e], v0, v1))
            return static_cast<int>(e);
    return -1;
}

void AdjEdgeList::AddEdge(DWORD face, DWORD v0, DWORD v1) {
    if (v0 == v1 || v0 >= list.size() || v1 >= list.size())
        return;
    const int found = FindEdge(v0, v1);
    if (found >= 0) {
        RecordFace(edges[static_cast<std::size_t>(found)], face);
        return;
    }
    edges.push_back(MEdge{{face, UNDEFINED}, {v0, v1}});
    list.Forget();
}

AdjFaceList::AdjFaceList(Mesh& mesh, AdjEdgeList& edges) {
    // Each edge names its two faces, and the sides of each that run along it point at the other; the sides
    // of a third face on the edge, which the edge does not record, stay UNDEFINED.
    ReserveLarge(list, mesh.faces.size());
    list.resize(mesh.faces.size());
    for (const MEdge& edge : edges.edges) {
        LinkAcross(mesh, edge, edge.f[0], edge.f[1], list);
        LinkAcross(mesh, edge, edge.f[1], edge.f[0], list);
    }
}

FaceElementList::FaceElementList(Mesh& mesh, AdjFaceList& adjacency) {
    const std::size_t n = mesh.faces.size();
    elem.assign(n, UNDEFINED);
    std::vector<DWORD> pending;
    for (std::size_t seed = 0; seed < n; ++seed) {
        if (elem[seed] != UNDEFINED)
            continue;
        elem[seed] = count;
        pending.push_back(static_cast<DWORD>(seed));
        while (!pending.empty()) {
            const DWORD f = pending.back();
            pending.pop_back();
            if (f >= adjacency.list.size())
                continue;
            for (DWORD b : adjacency.list[f].f) {
                if (b < n && elem[b] == UNDEFINED) {
                    elem[b] = count;
                    pending.push_back(b);
                }
            }
        }
        ++count;
    }
}
