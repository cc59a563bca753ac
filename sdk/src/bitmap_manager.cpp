#include "hostsdk/bitmap.h"

#include "image_decode.h"
#include "image_file.h"

#include <exception>
#include <new>
#include <utility>

// ---- BitmapInfo

BitmapInfo::BitmapInfo() = default;

BitmapInfo::BitmapInfo(const MCHAR* name_) {
    SetName(name_);
}

void BitmapInfo::SetName(const MCHAR* name_) {
    name = name_ != nullptr ? name_ : L"";
}

const MCHAR* BitmapInfo::Name() const {
    return name.c_str();
}

WORD BitmapInfo::Width() const {
    return width;
}

WORD BitmapInfo::Height() const {
    return height;
}

void BitmapInfo::SetWidth(WORD width_) {
    width = width_;
}

void BitmapInfo::SetHeight(WORD height_) {
    height = height_;
}

// ---- Bitmap

Bitmap::Bitmap(std::unique_ptr<BitmapStorage> storage_) : storage(std::move(storage_)) {}

Bitmap::~Bitmap() = default;

int Bitmap::Width() const {
    return storage->Width();
}

int Bitmap::Height() const {
    return storage->Height();
}

const BitmapStorage* Bitmap::Storage() const {
    return storage.get();
}

int Bitmap::GetLinearPixels(int x, int y, int count, BMM_Color_fl* out) const {
    return storage->GetLinearPixels(x, y, count, out);
}

void Bitmap::DeleteThis() {
    delete this;
}

// ---- BitmapManager

namespace {

BMMRES ReadAndDecode(const BitmapInfo& bi, hostsdk::image::DecodedImage& image) {
    std::vector<unsigned char> bytes;
    if (const BMMRES status = hostsdk::image::ReadImageFile(bi.Name(), bytes, hostsdk::image::CheckImageHead,
                                                            hostsdk::image::kImageHeadBytes);
        status != BMMRES_SUCCESS)
        return status;
    return hostsdk::image::DecodeImage(bytes, image);
}

} // namespace

BitmapManager::~BitmapManager() = default;

Bitmap* BitmapManager::Load(BitmapInfo* bi, BMMRES* status) {
    BMMRES result = BMMRES_SUCCESS;
    Bitmap* bitmap = nullptr;
    if (bi == nullptr) {
        result = BMMRES_INVALIDUSAGE;
    } else {
        // A host call never lets an exception through to the plug-in.
        try {
            hostsdk::image::DecodedImage image;
            result = ReadAndDecode(*bi, image);
            if (result == BMMRES_SUCCESS) {
                bitmap = new Bitmap(std::make_unique<BitmapStorage>(image.width, image.height, image.channels,
                                                                    std::move(image.pixels)));
                bi->SetWidth(static_cast<WORD>(image.width));
                bi->SetHeight(static_cast<WORD>(image.height));
            }
        } catch (const std::bad_alloc&) {
            result = BMMRES_MEMORYERROR;
        } catch (const std::exception&) {
            result = BMMRES_INTERNALERROR;
        }
    }
    if (status != nullptr)
        *status = result;
    return bitmap;
}

long long BitmapManager::MaxPixels() {
    return hostsdk::image::kMaxImagePixels;
}

namespace {
BitmapManager theManager;
} // namespace

BitmapManager* TheManager = &theManager;

// ---- PBBitmap

PBBitmap::PBBitmap() = default;

PBBitmap::PBBitmap(const BitmapInfo& info) : bi(info) {}

PBBitmap::~PBBitmap() {
    if (bm != nullptr)
        bm->DeleteThis();
}

void PBBitmap::Load() {
    if (bm != nullptr) {
        bm->DeleteThis();
        bm = nullptr;
    }
    bm = TheManager->Load(&bi);
}
