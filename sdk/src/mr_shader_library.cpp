#include "hostsdk/mr_shader_library.h"

#include "hostsdk/mtl_base.h"

namespace {

int ValueType(mrParamKind kind) {
    switch (kind) {
    case mrParamKind::Integer:
        return TYPE_INT;
    case mrParamKind::ColourTable:
        return TYPE_FRGBA | TYPE_TAB;
    case mrParamKind::Float:
    default:
        return TYPE_FLOAT;
    }
}

ParamDef Definition(ParamID id, const MCHAR* name, int type, double defaultValue = 0.0) {
    ParamDef def;
    def.id = id;
    def.internalName = name;
    def.type = type;
    // Shader parameters animate like any other parameter of the host.
    def.flags = is_tab(type) ? P_VARIABLE_SIZE : P_ANIMATABLE;
    def.hasDefault = true;
    def.defaultValue.i = static_cast<int>(defaultValue);
    def.defaultValue.f = defaultValue;
    return def;
}

} // namespace

// One shader instance. The descriptions name their parameters through the declaration's strings and the
// connection names, so both are kept for as long as the blocks live.
class mrShaderLibrary::Instance : public imrShader {
public:
    Instance(std::shared_ptr<const mrShaderDeclaration> declaration_, std::wstring name_)
        : declaration(std::move(declaration_)), name(std::move(name_)) {
        std::vector<ParamDef> valueDefs;
        for (const mrShaderParamDecl& param : declaration->params) {
            valueDefs.push_back(Definition(static_cast<ParamID>(valueDefs.size()), param.name.c_str(),
                                           ValueType(param.kind), param.defaultValue));
            if (param.connectable)
                connectionNames.push_back(param.name + L".shader");
        }
        std::vector<ParamDef> connectionDefs;
        for (const std::wstring& connection : connectionNames)
            connectionDefs.push_back(
                Definition(static_cast<ParamID>(connectionDefs.size()), connection.c_str(), TYPE_TEXMAP));
        valueDesc = std::make_unique<ParamBlockDesc2>(0, L"Parameters", std::move(valueDefs));
        connectionDesc = std::make_unique<ParamBlockDesc2>(1, L"Connections", std::move(connectionDefs));
        values = CreateParameterBlock2(valueDesc.get(), nullptr);
        connections = CreateParameterBlock2(connectionDesc.get(), nullptr);
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
    ~Instance() override {
        // The connection block refers to the connected maps, which outlive the render.
        values->DeleteThis();
        connections->DeleteThis();
    }

    const MCHAR* GetName() override { return name.c_str(); }
    const MCHAR* GetDeclarationName() override { return declaration->name.c_str(); }
    IParamBlock2* GetParametersParamBlock() override { return values; }
    IParamBlock2* GetConnectionsParamBlock() override { return connections; }

private:
    std::shared_ptr<const mrShaderDeclaration> declaration;
    std::wstring name;
    // Complete before the connection block's description points into its strings; never changed after.
    std::vector<std::wstring> connectionNames;
    std::unique_ptr<ParamBlockDesc2> valueDesc;
    std::unique_ptr<ParamBlockDesc2> connectionDesc;
    IParamBlock2* values = nullptr;
    IParamBlock2* connections = nullptr;
};

mrShaderLibrary::mrShaderLibrary() = default;

mrShaderLibrary::~mrShaderLibrary() = default;

void mrShaderLibrary::Declare(const mrShaderDeclaration& declaration) {
    declarations.push_back(std::make_shared<const mrShaderDeclaration>(declaration));
}

imrShader* mrShaderLibrary::CreateShader(const MCHAR* declarationName, const MCHAR* mtlName) {
    if (declarationName == nullptr)
        return nullptr;
    for (auto it = declarations.rbegin(); it != declarations.rend(); ++it)
        if ((*it)->name == declarationName) {
            shaders.push_back(std::make_unique<Instance>(*it, mtlName == nullptr ? std::wstring() : mtlName));
            return shaders.back().get();
        }
    return nullptr;
}
