#include "host/scene/scene_reader.h"

#include "host/scene/member_names.h"

namespace host {

SceneReader::SceneReader(std::string origin, const PluginManager& plugins, const ModelImportOptions& models)
    : origin(std::move(origin)), plugins(plugins), models(models) {}

void SceneReader::Fail(const std::string& where, const std::string& what) const {
    throw SceneError(origin + ": " + (where.empty() ? "/" : where) + ": " + what);
}

const Json& SceneReader::Member(const Json& object, const std::string& where, const char* name) const {
    if (!object.is_object() || !object.contains(name))
        Fail(where, std::string("missing \"") + name + "\"");
    return object[name];
}

int SceneReader::ReadInt(const Json& value, const std::string& where) const {
    if (!value.is_number_integer())
        Fail(where, "expected an integer");
    const long long number = value.get<long long>();
    if (number < -2147483648LL || number > 2147483647LL)
        Fail(where, "integer out of range");
    return static_cast<int>(number);
}

float SceneReader::ReadFloat(const Json& value, const std::string& where) const {
    if (!value.is_number())
        Fail(where, "expected a number");
    return value.get<float>();
}

bool SceneReader::ReadBool(const Json& value, const std::string& where) const {
    if (!value.is_boolean())
        Fail(where, "expected true or false");
    return value.get<bool>();
}

void SceneReader::OnlyMembers(const Json& record, const std::string& where,
                              std::initializer_list<const char*> names) const {
    if (const std::optional<UnknownMember> unknown = FindUnknownMember(record, names))
        Fail(where + "/" + unknown->name, unknown->message);
}

} // namespace host
