#pragma once

// ParamBlockDesc2: the description of a parameter block, built once from a tagged argument list.
#include "hostsdk/color.h"
#include "hostsdk/max_types.h"
#include "hostsdk/param_types.h"
#include "hostsdk/sdk_api.h"

#include <vector>

class ClassDesc2;
class ParamMap2UserDlgProc;

// One rollout of an automatic user interface.
struct ParamMapSpec {
    MapID mapId = 0;
    int dialogTemplate = 0;
    StringResID title = 0;
    int flagMask = 0;
    int rollupFlags = 0;
    ParamMap2UserDlgProc* userDlgProc = nullptr;
};

// A default or range bound: integers keep `i`, floating-point values keep `f` as passed (double).
struct ParamValueSpec {
    int i = 0;
    double f = 0.0;
    Point3 p;
    void* ptr = nullptr;
};

struct ParamDef {
    ParamID id = -1;
    const MCHAR* internalName = nullptr;
    int type = TYPE_INT;
    int tabSize = 0;
    int flags = 0;
    StringResID localName = 0;

    bool hasDefault = false;
    ParamValueSpec defaultValue;
    bool hasRange = false;
    ParamValueSpec rangeLow;
    ParamValueSpec rangeHigh;

    bool hasUi = false;
    MapID uiMapId = 0;
    int controlType = -1;
    std::vector<int> controlIds;
    int editType = 0;
    double spinnerScale = 0.0;
    std::vector<StringResID> itemStrings;
    std::vector<int> listValues;

    int refNo = -1;
    int subTexNo = -1;
};

class SDK_API ParamBlockDesc2 {
public:
    // The argument list after `flags` follows the host's encoding: [version], [reference number],
    // rollout specifications, then per parameter its ID, internal name, type, [tab size], flags, display
    // name and tagged options closed by p_end, and one more p_end. A malformed list is a programming error
    // and throws std::invalid_argument naming the parameter and tag.
    ParamBlockDesc2(BlockID id, const MCHAR* internalName, StringResID localName, ClassDesc2* classDesc,
                    int flags, ...);
    ParamBlockDesc2(const ParamBlockDesc2&) = delete;
    ParamBlockDesc2& operator=(const ParamBlockDesc2&) = delete;
    // A description the host builds itself (a renderer's shader declaration): the parameters as given,
    // with no rollouts. The internal names must outlive the description.
    ParamBlockDesc2(BlockID id, const MCHAR* internalName, std::vector<ParamDef> params);
    ~ParamBlockDesc2();

    void SetClassDesc(ClassDesc2* classDesc);
    ClassDesc2* ClassDescriptor() const { return cd; }

    BlockID ID() const { return blockId; }
    const MCHAR* InternalName() const { return internalName; }
    StringResID LocalName() const { return localName; }
    int Flags() const { return flags; }
    int Version() const { return version; }
    int RefNo() const { return refNo; }

    int Count() const { return static_cast<int>(params.size()); }
    // Parameters in declaration order.
    const ParamDef& GetParamDefByIndex(int index) const { return params[static_cast<std::size_t>(index)]; }
    // -1 when the block has no parameter with that ID. Inline: shading looks parameters up on every sample.
    int IDtoIndex(ParamID id) const {
        return id < 0 || static_cast<std::size_t>(id) >= indexById.size()
                   ? -1
                   : indexById[static_cast<std::size_t>(id)];
    }
    ParamID IndextoID(int index) const;
    // The index of the first parameter whose internal name is exactly `name`, or -1.
    int NameToIndex(const MCHAR* name) const;
    // Null when the block has no parameter with that ID.
    const ParamDef* GetParamDef(ParamID id) const;

    int NumMaps() const { return static_cast<int>(maps.size()); }
    const ParamMapSpec& GetMap(int index) const { return maps[static_cast<std::size_t>(index)]; }
    // Null when no rollout has that ID.
    ParamMapSpec* FindMap(MapID id);
    void SetUserDlgProc(MapID id, ParamMap2UserDlgProc* proc);

private:
    BlockID blockId;
    const MCHAR* internalName;
    StringResID localName;
    ClassDesc2* cd = nullptr;
    int flags;
    int version = 0;
    int refNo = -1;
    std::vector<ParamMapSpec> maps;
    std::vector<ParamDef> params;
    // Parameter IDs are small numbers; a direct table keeps lookups by ID cheap on the shading path.
    std::vector<short> indexById;
};
