#pragma once

// Published by a material or map class to say which renderers it works with.
#include "hostsdk/function_publishing.h"

constexpr Interface_ID IMTLRENDER_COMPATIBILITY_MTLBASE_INTERFACEID(0x5537445b, 0x70a97e02);

class SDK_API IMtlRender_Compatibility_MtlBase : public FPStaticInterface {
public:
    ~IMtlRender_Compatibility_MtlBase() override;
    virtual bool IsCompatibleWithRenderer(ClassDesc& rendererClassDesc) = 0;
    // False when the class has no icon of its own for the material browser.
    virtual bool GetCustomMtlBrowserIcon(HIMAGELIST& imageList, int& inactiveIndex, int& activeIndex,
                                         int& disabledIndex) {
        (void)imageList;
        (void)inactiveIndex;
        (void)activeIndex;
        (void)disabledIndex;
        return false;
    }
};
