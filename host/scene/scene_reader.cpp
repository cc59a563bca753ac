#include "host/scene/scene_reader.h"

#include <algorithm>

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

void SceneReader::OnlySettings(const Json& settings, const std::string& where,
                               std::initializer_list<const char*> names) const {
    for (const auto& item : settings.items())
        if (std::find_if(names.begin(), names.end(), [&](const char* n) { return item.key() == n; }) ==
            names.end())
            Fail(where + "/" + item.key(), "unknown setting");
}

} // namespace host
