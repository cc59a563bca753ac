#pragma once

#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

#include <cstddef>
#include <memory>
#include <string>

// Result of a bitmap operation: 0 is success, anything else says why it failed.
typedef unsigned short BMMRES;

#define BMMRES_SUCCESS 0
#define BMMRES_ERRORTAKENCARE 1
#define BMMRES_FILENOTFOUND 2
#define BMMRES_MEMORYERROR 3
#define BMMRES_NODRIVER 4 // no decoder for this kind of file in this build
#define BMMRES_IOERROR 5
#define BMMRES_INVALIDFORMAT 6 // not an image file this host recognises
#define BMMRES_CORRUPTFILE 7   // recognised, but the data is damaged or truncated
#define BMMRES_INVALIDUSAGE 9
#define BMMRES_INTERNALERROR 12

// One pixel as four floats. Integer images read as 0..1; floating-point images keep their values.
struct BMM_Color_fl {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

// Describes a bitmap file: its path, and the size the last load recorded.
class SDK_API BitmapInfo {
public:
    BitmapInfo();
    explicit BitmapInfo(const MCHAR* name);

    void SetName(const MCHAR* name);
    const MCHAR* Name() const;

    // 16-bit fields: sizes above 65535 keep only their low 16 bits here (the bitmap keeps its true size).
    WORD Width() const;
    WORD Height() const;
    void SetWidth(WORD width);
    void SetHeight(WORD height);

private:
    std::wstring name;
    WORD width = 0;
    WORD height = 0;
};

// The type of a bitmap's stored channels. Every pixel holds four (red, green, blue, alpha); images are kept
// at the depth they were decoded in and converted when read: 8-bit channels read as v / 255, 16-bit ones as
// v / 65535 (divisions, as every build computes them), floating-point ones as they are.
enum class BitmapChannels : unsigned char { UInt8, UInt16, Float };

// Releases pixel memory, which always comes from std::malloc (the image decoder's own buffers are kept
// as they are, without a copy).
struct SDK_API PixelMemoryFree {
    void operator()(void* memory) const;
};
using PixelMemory = std::unique_ptr<void, PixelMemoryFree>;

// The pixels of a bitmap, row by row from the top-left corner.
class SDK_API BitmapStorage {
public:
    // Takes over `pixels`: width x height pixels of four `channels` each.
    BitmapStorage(int width, int height, BitmapChannels channels, PixelMemory pixels);
    BitmapStorage(const BitmapStorage&) = delete;
    BitmapStorage& operator=(const BitmapStorage&) = delete;
    ~BitmapStorage();

    int Width() const;
    int Height() const;
    BitmapChannels Channels() const;

    // "Linear" access: `count` pixels from (x, y), continuing on the next rows. Returns 1 on success and 0
    // (touching nothing) when the run does not lie inside the bitmap.
    int GetLinearPixels(int x, int y, int count, BMM_Color_fl* out) const;

private:
    bool Contains(int x, int y, int count) const;
    std::size_t PixelCount() const;

    int width;
    int height;
    BitmapChannels channels;
    PixelMemory pixels;
};

// A bitmap made by the bitmap manager. The caller that receives one owns it and releases it with DeleteThis.
class SDK_API Bitmap {
public:
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int Width() const;
    int Height() const;

    const BitmapStorage* Storage() const;

    // As BitmapStorage's.
    int GetLinearPixels(int x, int y, int count, BMM_Color_fl* out) const;

    void DeleteThis();

private:
    friend class BitmapManager;

    explicit Bitmap(std::unique_ptr<BitmapStorage> storage);
    ~Bitmap();

    std::unique_ptr<BitmapStorage> storage;
};

// Owns a bitmap from the bitmap manager and releases it with DeleteThis.
struct BitmapDeleter {
    void operator()(Bitmap* bitmap) const { bitmap->DeleteThis(); }
};
using BitmapPtr = std::unique_ptr<Bitmap, BitmapDeleter>;

// Loads image files into bitmaps: PNG (1 to 16 bits), JPEG, BMP, TGA and Radiance HDR in every build,
// OpenEXR where the build has a decoder for it. Image types without a decoder (GIF, TIFF, PSD, WebP, and
// OpenEXR elsewhere) give BMMRES_NODRIVER.
class SDK_API BitmapManager {
public:
    BitmapManager() = default;
    BitmapManager(const BitmapManager&) = delete;
    BitmapManager& operator=(const BitmapManager&) = delete;
    virtual ~BitmapManager();

    // Loads the file named by `bi`. On success returns the bitmap, records its width and height in `bi`
    // and sets *status to BMMRES_SUCCESS; on failure returns null, leaves `bi` alone and sets a nonzero
    // *status. A file declaring more than MaxPixels() pixels is refused before its pixels are allocated
    // (BMMRES_MEMORYERROR, or BMMRES_INVALIDFORMAT for a size the decoder cannot even read).
    virtual Bitmap* Load(BitmapInfo* bi, BMMRES* status = nullptr);

    // Largest pixel count a bitmap may have: its pixels take 2 GiB in floating-point channels.
    static long long MaxPixels();
};

extern SDK_API BitmapManager* TheManager;

// A bitmap held by a parameter block: the file's description and, once loaded, the bitmap itself.
class SDK_API PBBitmap {
public:
    BitmapInfo bi;
    Bitmap* bm = nullptr;

    PBBitmap();
    explicit PBBitmap(const BitmapInfo& info);
    PBBitmap(const PBBitmap&) = delete;
    PBBitmap& operator=(const PBBitmap&) = delete;
    ~PBBitmap();

    // Loads the file that `bi` names through TheManager, replacing any bitmap held; bm is null on failure.
    void Load();
};
