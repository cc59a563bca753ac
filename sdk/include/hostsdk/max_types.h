#pragma once

// The host SDK's basic value types: identifiers, time, intervals and the wide-character text type.
#include "hostsdk/win32.h"

#include <cstdint>
#include <string>

using MCHAR = wchar_t;
using MSTR = std::wstring;
#define _M(text) L##text

using TimeValue = int;
constexpr TimeValue TIME_NegInfinity = static_cast<TimeValue>(0x80000000);
constexpr TimeValue TIME_PosInfinity = 0x7fffffff;

class Interval {
public:
    constexpr Interval() = default;
    constexpr Interval(TimeValue start, TimeValue end) : startTime(start), endTime(end) {}

    constexpr TimeValue Start() const { return startTime; }
    constexpr TimeValue End() const { return endTime; }
    constexpr void Set(TimeValue start, TimeValue end) {
        startTime = start;
        endTime = end;
    }
    constexpr bool Empty() const { return startTime > endTime; }
    constexpr Interval& operator&=(const Interval& other) {
        startTime = startTime > other.startTime ? startTime : other.startTime;
        endTime = endTime < other.endTime ? endTime : other.endTime;
        return *this;
    }
    friend constexpr bool operator==(const Interval&, const Interval&) = default;

private:
    // The default interval is empty, as the host's is.
    TimeValue startTime = 0;
    TimeValue endTime = -1;
};

constexpr Interval FOREVER(TIME_NegInfinity, TIME_PosInfinity);
constexpr Interval NEVER(TIME_NegInfinity, TIME_NegInfinity);

using SClass_ID = ULONG;

class Class_ID {
public:
    constexpr Class_ID() = default;
    constexpr Class_ID(ULONG a, ULONG b) : first(a), second(b) {}
    constexpr ULONG PartA() const { return first; }
    constexpr ULONG PartB() const { return second; }
    friend constexpr bool operator==(const Class_ID&, const Class_ID&) = default;

private:
    ULONG first = 0xffffffff;
    ULONG second = 0xffffffff;
};

class Interface_ID {
public:
    constexpr Interface_ID() = default;
    constexpr Interface_ID(ULONG a, ULONG b) : first(a), second(b) {}
    constexpr ULONG PartA() const { return first; }
    constexpr ULONG PartB() const { return second; }
    friend constexpr bool operator==(const Interface_ID&, const Interface_ID&) = default;

private:
    ULONG first = 0;
    ULONG second = 0;
};

// Super class IDs of the classes the stand-in knows.
constexpr SClass_ID REF_MAKER_CLASS_ID = 0x00000100;
constexpr SClass_ID REF_TARGET_CLASS_ID = 0x00000300;
constexpr SClass_ID PARAMETER_BLOCK2_CLASS_ID = 0x00000082;
constexpr SClass_ID MATERIAL_CLASS_ID = 0x00000c00;
constexpr SClass_ID TEXMAP_CLASS_ID = 0x00000c10;
constexpr SClass_ID UVGEN_CLASS_ID = 0x0000c20;
constexpr SClass_ID XYZGEN_CLASS_ID = 0x0000c30;
constexpr SClass_ID TEXOUTPUT_CLASS_ID = 0x0000c40;
constexpr SClass_ID RENDERER_CLASS_ID = 0x00000900;

// Identifiers used by parameter blocks.
using BlockID = short;
using ParamID = short;
using MapID = short;
using StringResID = int;

// The SDK version word of this release: 15000 in the upper 16 bits, API 40, SDK revision 0.
constexpr ULONG HOST_SDK_VERSION = (15000u << 16) | (40u << 8) | 0u;
