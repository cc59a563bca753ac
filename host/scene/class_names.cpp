#include "host/scene/class_names.h"

#include "host/scene/primitive_objects.h"
#include "plugin/param_ids.h"

#include "hostsdk/poly_object.h"
#include "hostsdk/std_mat.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/tri_object.h"

#include <vector>

namespace host {

namespace {

// As the guide's table of kinds writes them: never rename one, scenes use them.
const std::vector<ClassName>& ClassNames() {
    static const std::vector<ClassName> names = [] {
        std::vector<ClassName> list = {
            {"chromasift", TEXMAP_CLASS_ID, CHROMASIFT_CLASS_ID},
            {"bitmap", TEXMAP_CLASS_ID, BMTEX_CLASS_ID},
            {"material", MATERIAL_CLASS_ID, Class_ID(DMTL_CLASS_ID, 0)},
            {"coordinates", XYZGEN_CLASS_ID, STDXYZGEN_CLASS_ID},
            {"output", TEXOUTPUT_CLASS_ID, STDTEXOUT_CLASS_ID},
            {"node", BASENODE_CLASS_ID, Class_ID(0, 0)},
            {"mesh", GEOMOBJECT_CLASS_ID, triObjectClassID},
            {"polymesh", GEOMOBJECT_CLASS_ID, polyObjectClassID},
        };
        for (const PrimitiveType& type : PrimitiveTypes())
            list.push_back({type.name, GEOMOBJECT_CLASS_ID, type.classId});
        return list;
    }();
    return names;
}

} // namespace

const ClassName* FindClassName(const std::string& name) {
    for (const ClassName& entry : ClassNames())
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::string ClassNameList() {
    std::string list;
    for (const ClassName& entry : ClassNames())
        list += (list.empty() ? "\"" : ", \"") + entry.name + "\"";
    return list;
}

} // namespace host
