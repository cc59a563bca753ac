#pragma once

// The host's side of the mental ray integration: shader declarations, and the factory that makes shader
// instances of them for a render.
#include "hostsdk/mental_ray.h"

#include <memory>
#include <string>
#include <vector>

// The kinds of value a shader parameter holds.
enum class mrParamKind { Integer, Float, ColourTable };

struct mrShaderParamDecl {
    std::wstring name;
    mrParamKind kind = mrParamKind::Float;
    // A parameter that can take its value from a connected map: the connection block then holds a map
    // parameter named after it with ".shader" appended.
    bool connectable = false;
    // The value a new shader holds (integers take it truncated); tables start empty.
    double defaultValue = 0.0;
};

// A shader's declaration: its name and its parameters in order.
struct mrShaderDeclaration {
    std::wstring name;
    std::vector<mrShaderParamDecl> params;
};

// Makes shader instances of the declarations it knows, and owns them until it is destroyed.
class SDK_API mrShaderLibrary : public imrShaderCreation {
public:
    mrShaderLibrary();
    mrShaderLibrary(const mrShaderLibrary&) = delete;
    mrShaderLibrary& operator=(const mrShaderLibrary&) = delete;
    ~mrShaderLibrary() override;

    // A later declaration of the same name replaces the earlier one for shaders created after it.
    void Declare(const mrShaderDeclaration& declaration);
    // Null for an unknown declaration name (compared exactly) or a null name.
    imrShader* CreateShader(const MCHAR* declarationName, const MCHAR* mtlName) override;

private:
    class Instance;
    std::vector<std::shared_ptr<const mrShaderDeclaration>> declarations;
    std::vector<std::unique_ptr<Instance>> shaders;
};
