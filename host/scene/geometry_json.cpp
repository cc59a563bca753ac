#include "host/scene/geometry_json.h"

#include "host/base/option_table.h"
#include "host/scene/member_names.h"
#include "host/scene/scene_file.h"

#include <cmath>

namespace host {

namespace {

// One reading position: the file and the path within the document, for messages.
class Place {
public:
    Place(const std::string& origin, std::string where) : origin(origin), where(std::move(where)) {}

    Place operator/(const std::string& member) const { return Place(origin, where + "/" + member); }
    Place operator/(std::size_t index) const { return *this / std::to_string(index); }

    [[noreturn]] void Fail(const std::string& what) const {
        throw SceneError(origin + ": " + (where.empty() ? "/" : where) + ": " + what);
    }

    const Json& Member(const Json& object, const char* name) const {
        if (!object.is_object() || !object.contains(name))
            Fail(std::string("missing \"") + name + "\"");
        return object[name];
    }
    const Json& Array(const Json& value) const {
        if (!value.is_array())
            Fail("expected an array");
        return value;
    }
    float Float(const Json& value) const {
        if (!value.is_number() || !std::isfinite(value.get<double>()))
            Fail("expected a number");
        return value.get<float>();
    }
    long long Integer(const Json& value, long long lo, long long hi) const {
        if (!value.is_number_integer())
            Fail("expected an integer");
        const long long number = value.get<long long>();
        if (number < lo || number > hi)
            Fail("expected an integer from " + std::to_string(lo) + " to " + std::to_string(hi));
        return number;
    }
    bool Bool(const Json& value) const {
        if (!value.is_boolean())
            Fail("expected true or false");
        return value.get<bool>();
    }
    Point3 Point(const Json& value) const {
        if (!value.is_array() || value.size() != 3)
            Fail("expected three numbers");
        return Point3((*this / 0).Float(value[0]), (*this / 1).Float(value[1]), (*this / 2).Float(value[2]));
    }
    std::vector<Point3> Points(const Json& value) const {
        std::vector<Point3> points;
        for (std::size_t i = 0; i < Array(value).size(); ++i)
            points.push_back((*this / i).Point(value[i]));
        return points;
    }
    // Vertex indices below `count`; exactly `corners` of them unless corners is 0 (then at least three).
    std::vector<int> Corners(const Json& value, std::size_t count, std::size_t corners) const {
        if (!value.is_array() || (corners != 0 && value.size() != corners) ||
            (corners == 0 && value.size() < 3))
            Fail(corners != 0 ? "expected " + std::to_string(corners) + " vertex indices"
                              : std::string("expected at least three vertex indices"));
        std::vector<int> indices;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const Place at = *this / i;
            if (count == 0)
                at.Fail("there are no vertices to refer to");
            indices.push_back(static_cast<int>(at.Integer(value[i], 0, static_cast<long long>(count) - 1)));
        }
        return indices;
    }
    void OnlyMembers(const Json& object, std::initializer_list<const char*> names) const {
        if (const std::optional<UnknownMember> unknown = FindUnknownMember(object, names))
            (*this / unknown->name).Fail(unknown->message);
    }

private:
    const std::string& origin;
    std::string where;
};

Json PointJson(const Point3& p) {
    return Json::array({p.x, p.y, p.z});
}

Json PointsJson(const std::vector<Point3>& points) {
    Json list = Json::array();
    for (const Point3& p : points)
        list.push_back(PointJson(p));
    return list;
}

// One map channel as a scene file gives it: its vertices and, per face of the mesh, the map vertex of each
// corner.
struct MapChannel {
    int channel = 0;
    std::vector<Point3> verts;
    std::vector<std::vector<int>> faces;
};

// The mesh's "maps", each with one map face per face of the mesh and as many corners as that face
// (`cornersOf(f)`); `faceName` names the mesh's faces in messages. A channel given twice is refused.
template <class CornersOf>
std::vector<MapChannel> ReadMapChannels(const Json& value, const Place& place, std::size_t faceCount,
                                        const char* faceName, CornersOf cornersOf) {
    std::vector<MapChannel> channels;
    if (!value.contains("maps"))
        return channels;
    const Json& maps = (place / "maps").Array(value["maps"]);
    for (std::size_t i = 0; i < maps.size(); ++i) {
        const Place at = place / "maps" / i;
        at.OnlyMembers(maps[i], {"channel", "verts", "faces"});
        MapChannel map;
        map.channel =
            static_cast<int>((at / "channel").Integer(at.Member(maps[i], "channel"), 0, MAX_MESHMAPS - 1));
        for (const MapChannel& earlier : channels)
            if (earlier.channel == map.channel)
                (at / "channel").Fail("channel " + std::to_string(map.channel) + " is given twice");
        map.verts = (at / "verts").Points(at.Member(maps[i], "verts"));
        const Json& mapFaces = (at / "faces").Array(at.Member(maps[i], "faces"));
        if (mapFaces.size() != faceCount)
            (at / "faces")
                .Fail("expected one map face per " + std::string(faceName) + " (" +
                      std::to_string(faceCount) + ")");
        for (std::size_t f = 0; f < mapFaces.size(); ++f)
            map.faces.push_back((at / "faces" / f).Corners(mapFaces[f], map.verts.size(), cornersOf(f)));
        channels.push_back(std::move(map));
    }
    return channels;
}

} // namespace

void ReadMesh(const Json& value, const std::string& origin, const std::string& where, Mesh& mesh) {
    const Place place(origin, where);
    if (!value.is_object())
        place.Fail("expected a mesh object");
    place.OnlyMembers(value, {"verts", "faces", "maps"});
    mesh = Mesh();
    mesh.verts = (place / "verts").Points(place.Member(value, "verts"));
    const Json& faces = (place / "faces").Array(place.Member(value, "faces"));
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const Place at = place / "faces" / i;
        const Json& record = faces[i];
        Face face;
        const Json& corners = record.is_object() ? at.Member(record, "v") : record;
        const std::vector<int> v =
            (record.is_object() ? at / "v" : at).Corners(corners, mesh.verts.size(), 3);
        face.setVerts(static_cast<DWORD>(v[0]), static_cast<DWORD>(v[1]), static_cast<DWORD>(v[2]));
        if (record.is_object()) {
            at.OnlyMembers(record, {"v", "edges", "matId", "smGroup", "hidden"});
            if (record.contains("edges")) {
                const Json& edges = record["edges"];
                if (!edges.is_array() || edges.size() != 3)
                    (at / "edges").Fail("expected three edge visibilities");
                for (int e = 0; e < 3; ++e)
                    face.setEdgeVis(
                        e,
                        (at / "edges" / static_cast<std::size_t>(e)).Bool(edges[static_cast<std::size_t>(e)])
                            ? EDGE_VIS
                            : EDGE_INVIS);
            }
            if (record.contains("matId"))
                face.setMatID(static_cast<MtlID>((at / "matId").Integer(record["matId"], 0, 65535)));
            if (record.contains("smGroup"))
                face.setSmGroup(
                    static_cast<DWORD>((at / "smGroup").Integer(record["smGroup"], 0, 0xffffffffLL)));
            if (record.contains("hidden") && (at / "hidden").Bool(record["hidden"]))
                face.Hide();
        }
        mesh.faces.push_back(face);
    }
    for (MapChannel& read :
         ReadMapChannels(value, place, mesh.faces.size(), "mesh face", [](std::size_t) { return 3; })) {
        mesh.setMapSupport(read.channel, TRUE);
        MeshMap& map = mesh.Map(read.channel);
        map.tv = std::move(read.verts);
        map.tf.clear();
        for (const std::vector<int>& t : read.faces)
            map.tf.emplace_back(static_cast<DWORD>(t[0]), static_cast<DWORD>(t[1]), static_cast<DWORD>(t[2]));
    }
}

Json WriteMesh(Mesh& mesh) {
    Json faces = Json::array();
    for (const Face& face : mesh.faces) {
        Json record{{"v", {face.v[0], face.v[1], face.v[2]}}};
        if ((face.flags & EDGE_ALL) != EDGE_ALL)
            record["edges"] = {face.getEdgeVis(0) != 0, face.getEdgeVis(1) != 0, face.getEdgeVis(2) != 0};
        if (face.getMatID() != 0)
            record["matId"] = face.getMatID();
        if (face.smGroup != 0)
            record["smGroup"] = face.smGroup;
        if (face.Hidden())
            record["hidden"] = true;
        faces.push_back(std::move(record));
    }
    Json value{{"verts", PointsJson(mesh.verts)}, {"faces", std::move(faces)}};
    Json maps = Json::array();
    for (int channel = 0; channel < mesh.getNumMaps(); ++channel) {
        if (!mesh.mapSupport(channel))
            continue;
        const MeshMap& map = mesh.Map(channel);
        Json mapFaces = Json::array();
        for (const TVFace& f : map.tf)
            mapFaces.push_back({f.t[0], f.t[1], f.t[2]});
        maps.push_back(
            Json{{"channel", channel}, {"verts", PointsJson(map.tv)}, {"faces", std::move(mapFaces)}});
    }
    if (!maps.empty())
        value["maps"] = std::move(maps);
    return value;
}

void ReadPolyMesh(const Json& value, const std::string& origin, const std::string& where, MNMesh& mesh) {
    const Place place(origin, where);
    if (!value.is_object())
        place.Fail("expected a polygon mesh object");
    place.OnlyMembers(value, {"verts", "faces", "maps"});
    mesh.ClearAndFree();
    for (const Point3& p : (place / "verts").Points(place.Member(value, "verts")))
        mesh.NewVert(p);
    const Json& faces = (place / "faces").Array(place.Member(value, "faces"));
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const Place at = place / "faces" / i;
        const Json& record = faces[i];
        if (record.is_object())
            at.OnlyMembers(record, {"v", "matId", "smGroup"});
        const Json& corners = record.is_object() ? at.Member(record, "v") : record;
        const std::vector<int> v =
            (record.is_object() ? at / "v" : at).Corners(corners, static_cast<std::size_t>(mesh.numv), 0);
        const int f = mesh.NewFace(-1, static_cast<int>(v.size()), v.data());
        if (record.is_object() && record.contains("matId"))
            mesh.f[f].material = static_cast<MtlID>((at / "matId").Integer(record["matId"], 0, 65535));
        if (record.is_object() && record.contains("smGroup"))
            mesh.f[f].smGroup =
                static_cast<DWORD>((at / "smGroup").Integer(record["smGroup"], 0, 0xffffffffLL));
    }
    const auto degree = [&mesh](std::size_t f) { return static_cast<std::size_t>(mesh.f[f].deg); };
    for (MapChannel& read :
         ReadMapChannels(value, place, static_cast<std::size_t>(mesh.numf), "polygon", degree)) {
        if (read.channel >= mesh.MNum())
            mesh.SetMapNum(read.channel + 1);
        MNMap& map = *mesh.M(read.channel);
        map.v = std::move(read.verts);
        map.f.clear();
        for (const std::vector<int>& t : read.faces)
            map.f.emplace_back().MakePoly(static_cast<int>(t.size()), t.data());
    }
}

Json WritePolyMesh(MNMesh& mesh) {
    Json verts = Json::array();
    for (int i = 0; i < mesh.numv; ++i)
        verts.push_back(PointJson(mesh.v[i].p));
    Json faces = Json::array();
    for (int i = 0; i < mesh.numf; ++i) {
        const MNFace& face = mesh.f[i];
        Json record{{"v", std::vector<int>(face.vtx.begin(), face.vtx.end())}};
        if (face.material != 0)
            record["matId"] = face.material;
        if (face.smGroup != 0)
            record["smGroup"] = face.smGroup;
        faces.push_back(std::move(record));
    }
    Json value{{"verts", std::move(verts)}, {"faces", std::move(faces)}};
    Json maps = Json::array();
    for (int channel = 0; channel < mesh.MNum(); ++channel) {
        const MNMap& map = *mesh.M(channel);
        if (map.FNum() == 0)
            continue;
        Json mapFaces = Json::array();
        for (const MNMapFace& f : map.f)
            mapFaces.push_back(std::vector<int>(f.tv.begin(), f.tv.end()));
        maps.push_back(
            Json{{"channel", channel}, {"verts", PointsJson(map.v)}, {"faces", std::move(mapFaces)}});
    }
    if (!maps.empty())
        value["maps"] = std::move(maps);
    return value;
}

Matrix3 ReadPlacement(const Json& settings, const std::string& origin, const std::string& where) {
    const Place place(origin, where);
    Matrix3 transform(true);
    if (settings.contains("position") && settings.contains("transform"))
        (place / "transform").Fail("give either \"position\" or \"transform\", not both");
    if (settings.contains("position"))
        transform[3] = (place / "position").Point(settings["position"]);
    if (settings.contains("transform")) {
        const Json& rows = settings["transform"];
        if (!rows.is_array() || rows.size() != 4)
            (place / "transform").Fail("expected four rows of three numbers");
        for (std::size_t i = 0; i < 4; ++i)
            transform[static_cast<int>(i)] = (place / "transform" / i).Point(rows[i]);
    }
    return transform;
}

void WritePlacement(const Matrix3& transform, Json& settings) {
    Matrix3 axes = transform;
    axes[3] = Point3();
    if (axes.IsIdentity()) {
        settings["position"] = PointJson(transform[3]);
        return;
    }
    settings["transform"] = Json::array();
    for (int i = 0; i < 4; ++i)
        settings["transform"].push_back(PointJson(transform[i]));
}

SceneCamera ReadCamera(const Json& value, const std::string& origin, const std::string& where) {
    const Place place(origin, where);
    if (!value.is_object())
        place.Fail("expected a camera object");
    place.OnlyMembers(value, {"position", "target", "up", "fov"});
    SceneCamera camera;
    camera.position = (place / "position").Point(place.Member(value, "position"));
    camera.target = (place / "target").Point(place.Member(value, "target"));
    if (value.contains("up"))
        camera.up = (place / "up").Point(value["up"]);
    if (value.contains("fov")) {
        camera.fov = (place / "fov").Float(value["fov"]);
        if (camera.fov < 1.0f || camera.fov > 170.0f)
            (place / "fov").Fail("the field of view is given in degrees, from 1 to 170");
    }
    if (camera.position == camera.target)
        (place / "target").Fail("the camera looks at its own position");
    return camera;
}

Json WriteCamera(const SceneCamera& camera) {
    return Json{{"position", PointJson(camera.position)},
                {"target", PointJson(camera.target)},
                {"up", PointJson(camera.up)},
                {"fov", camera.fov}};
}

void ReadPrimitive(IPrimitive& primitive, const Json& settings, const std::string& origin,
                   const std::string& where) {
    const Place place(origin, where);
    const PrimitiveType& type = primitive.Type();
    std::vector<float> values = primitive.Values();
    for (const auto& item : settings.items()) {
        std::size_t i = 0;
        while (i < type.params.size() && item.key() != type.params[i].name)
            ++i;
        if (i == type.params.size()) {
            std::string names, nearest;
            for (const PrimitiveParam& param : type.params) {
                names += (names.empty() ? "" : ", ") + std::string(param.name);
                if (nearest.empty())
                    nearest = NearestName(item.key(), {param.name});
            }
            (place / item.key())
                .Fail(std::string("a ") + type.name + " has no such parameter " +
                      (nearest.empty() ? "(it has " + names + ")" : "(did you mean \"" + nearest + "\"?)"));
        }
        const PrimitiveParam& param = type.params[i];
        values[i] = (place / item.key()).Float(item.value());
        if (values[i] < param.minimum || values[i] > param.maximum)
            (place / item.key())
                .Fail(std::string("expected ") + (param.whole ? "a whole number" : "a number") + " from " +
                      BoundText(param.minimum) + " to " + BoundText(param.maximum));
    }
    primitive.SetValues(values);
}

Json WritePrimitive(const IPrimitive& primitive) {
    Json settings = Json::object();
    const PrimitiveType& type = primitive.Type();
    for (std::size_t i = 0; i < type.params.size(); ++i) {
        const float value = primitive.Values()[i];
        if (type.params[i].whole)
            settings[type.params[i].name] = static_cast<long long>(value);
        else
            settings[type.params[i].name] = value;
    }
    return settings;
}

} // namespace host
