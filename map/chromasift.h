#pragma once

#include "map/block_change_count.h"
#include "map/file_stamp.h"
#include "map/shading_state.h"
#include "palette/palette_entry.h"
#include "palette/sample_grid.h"
#include "plugin/host_sdk.h"
#include "plugin/param_ids.h"
#include "shade/keyed_random.h"
#include "snapshot/published_snapshot.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// The texture map: a palette extracted from a picture, painted onto surfaces by a distribution mode.
class Chromasift : public Texmap, public imrShaderTranslation {
public:
    class Chromasift_ClassDesc;

    // References of the map.
    enum RefSlot { kRefParamBlock = 0, kRefCoords = 1, kRefOutput = 2, kNumRefs = 3 };
    // Sub-map slots.
    enum SubMapSlot { kSubMapInput = 0, kSubMapSource = 1, kNumSubMaps = 2 };

    explicit Chromasift(bool loading);
    ~Chromasift() override;

    // --- Animatable
    BaseInterface* GetInterface(Interface_ID id) override;
    void DeleteThis() override { delete this; }
    void GetClassName(MSTR& name) override;
    SClass_ID SuperClassID() override;
    Class_ID ClassID() override;
    void BeginEditParams(IObjParam* ip, ULONG flags, Animatable* prev) override;
    void EndEditParams(IObjParam* ip, ULONG flags, Animatable* prev) override;
    void* GetInterface(ULONG id) override;
    int NumSubs() override { return kNumRefs; }
    Animatable* SubAnim(int i) override { return GetReference(i); }
    MSTR SubAnimName(int i) override;
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock : nullptr; }
    IParamBlock2* GetParamBlockByID(BlockID id) override { return id == 0 ? pblock : nullptr; }

    // --- ReferenceMaker / ReferenceTarget
    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;
    RefResult NotifyRefChanged(const Interval& changeInterval, RefTargetHandle target, PartID& partId,
                               RefMessage message, BOOL propagate) override;
    RefTargetHandle Clone(RemapDir& remap) override;

    // --- MtlBase
    ULONG LocalRequirements(int subMtlNum) override;
    void LocalMappingsRequired(int subMtlNum, BitArray& mapreq, BitArray& bumpreq) override;
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override;
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND editorWindow, IMtlParams* params) override;

    // --- Texmap
    AColor EvalColor(ShadeContext& sc) override;
    float EvalMono(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    void GetUVTransform(Matrix3& uvtrans) override { uvtrans.IdentityMatrix(); }
    int GetTextureTiling() override { return U_WRAP | V_WRAP; }
    int GetUVWSource() override { return 0; }
    int GetMapChannel() override { return 1; }
    UVGen* GetTheUVGen() override { return nullptr; }
    XYZGen* GetTheXYZGen() override { return coords; }
    void SetOutputLevel(TimeValue t, float level) override;

    // --- ISubMap
    int NumSubTexmaps() override { return kNumSubMaps; }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* map) override;
    int SubTexmapOn(int i) override;
    MSTR GetSubTexmapSlotName(int i) override;
    BOOL SetDlgThing(ParamDlg* dlg) override;
    ReferenceTarget* GetRefTarget() override { return this; }

    // --- imrShaderTranslation (the external mental ray shader "Chromasift"; see mentalray/)
    imrShader* GetMRShader(imrShaderCreation& shaderCreation) override;
    void ReleaseMRShader() override;
    bool NeedsAutomaticParamBlock2Translation() override;
    void TranslateParameters(imrTranslation& translation, imrShader* shader, TimeValue t,
                             Interval& valid) override;
    void GetAdditionalReferenceDependencies(AdditionalDependencyTable& refTargets) override;

    // --- Palette
    // The working palette as shading sees it: an immutable snapshot that every edit replaces whole, so a
    // render never sees a palette half rebuilt. The snapshot stays valid, on any thread, for as long as the
    // returned pin lives, whatever edits and render starts happen meanwhile.
    class PalettePin {
    public:
        const Palette& operator*() const { return pin->palette; }
        const Palette* operator->() const { return &pin->palette; }
        // The tables of the render that started last when the palette was read, held by the same pin.
        const ShadingTables& Tables() const { return *pin->tables; }
        // The parameters as the samples read them, for this palette, held by the same pin.
        const ShadeSettings& Settings() const { return pin->settings; }

    private:
        friend class Chromasift;
        explicit PalettePin(PublishedSnapshot<ShadingState>::Pin pin_) : pin(std::move(pin_)) {}
        PublishedSnapshot<ShadingState>::Pin pin;
    };
    PalettePin GetPalette() const { return PalettePin(shading.Read()); }
    // The replaced palettes and tables still waiting for samples to let go of them: none once no sample
    // or other reader holds one.
    std::size_t WaitingShadingStates() const { return shading.RetiredCount(); }
    void SetPalette(Palette newPalette);
    const Palette& GetExtractedPalette() const { return extractedPalette; }

    // Extracts the palette of the bitmap into both lists (a message box when it cannot be loaded).
    void ExtractPalette(BitmapInfo& info, std::uint32_t numColours, std::uint32_t skipColours);
    // The same, reusing the samples of the picture last extracted from while the file on disk is provably
    // the same (same name, size and write time): changing the counts then needs no new decoding, whatever
    // the picture's size, and a picture edited or deleted meanwhile is read anew.
    void ReextractPalette(BitmapInfo& info, std::uint32_t numColours, std::uint32_t skipColours);
    // Pulls the working palette's hues onto the harmonic template chosen in "Color harmony".
    void HarmonisePalette();
    // Sorts the working palette in the order chosen in "Sorts".
    void AutoSortPalette();
    // "# colors" and "# colors skip" at time 0 as the unsigned counts extraction takes (a negative value
    // reads as its unsigned 32-bit pattern).
    struct ColourCounts {
        std::uint32_t numColours;
        std::uint32_t skipColours;
    };
    ColourCounts ReadColourCounts() const;
    // A bitmap texture of the file, named after it, for the "Source map" slot.
    BitmapTex* NewSourceMap(const BitmapInfo& info);
    // Starts a render from clean shading state. Renders that were not told keep the tables they shade with.
    void PrepareForRender();
    // For a mental ray render in "Per Element" or "Per Face": numbers the elements or polygons of every node
    // using the map into the face material IDs of the render's geometry.
    void NumberMeshesForMentalRay();

    // The number of evaluations made by the counter modes since the render started.
    std::uint32_t SampleCount() const { return sampleCounter.load(); }

    // True when the source bitmap was chosen anew and the next Update must extract the palette.
    bool IsExtractPending() const { return extractPending; }
    void MarkExtractPending() { extractPending = true; }

    IParamBlock2* pblock = nullptr;

protected:
    void SetReference(int i, RefTargetHandle target) override;

private:
    // The lookups below use the tables of the render that started last, held by the sample's pin of the
    // palette: what they return stays valid while that pin lives.
    // The palette index of a keyed mode's key: drawn once per key and render, then looked up.
    std::uint32_t KeyedRandomIndex(const ShadingTables& tables, std::int32_t key, std::uint32_t multiplier,
                                   std::uint32_t n);
    // The element number of every face of the object's render mesh, built on first use in a render.
    const FaceElementList* ElementList(const ShadingTables& tables, Object* object, INode* node);
    // A copy of the object's render mesh whose face material IDs hold polygon numbers.
    const Mesh* PolygonMesh(const ShadingTables& tables, Object* object, RenderGlobalContext* context);
    // Reads the shading settings again for the palette now published, for a sample that found them out of
    // date.
    void ResettleShading();

    // Locks of the shading tables, created with the map; shading never holds both at once.
    std::unique_ptr<std::mutex> meshCacheLock;
    std::unique_ptr<std::mutex> drawLock;
    // The working palette and the shading tables, pinned together by a sample; a replaced state is freed
    // once no pin can hold it. The tables are replaced by empty ones before every render; their caches hold
    // evaluated objects by identity. Render threads look entries up without locks and take a table's lock
    // only to add one.
    PublishedSnapshot<ShadingState> shading;
    Palette extractedPalette;
    // The samples of the picture last extracted from, with the file they came from.
    struct SourceSamples {
        MSTR fileName;
        FileStamp stamp;
        SampleGrid grid;
    };
    std::optional<SourceSamples> sourceSamples;
    std::atomic<std::uint32_t> sampleCounter{0};
    // Follows pblock wherever reference 0 goes; the shading settings are read again when it moves on.
    BlockChangeCount blockChanges;
    bool extractPending = false;
    XYZGen* coords = nullptr;        // reference 1
    TextureOutput* output = nullptr; // reference 2
    KeyedRandom keyedRandom;
};
