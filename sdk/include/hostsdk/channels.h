#pragma once

// Geometry pipeline channels: bit masks for copying parts of a mesh and numbers for per-channel validity.
#include "hostsdk/win32.h"

using ChannelMask = DWORD;

constexpr ChannelMask TOPO_CHANNEL = 1 << 0;
constexpr ChannelMask GEOM_CHANNEL = 1 << 1;
constexpr ChannelMask TEXMAP_CHANNEL = 1 << 2;
constexpr ChannelMask MTL_CHANNEL = 1 << 3;
constexpr ChannelMask SELECT_CHANNEL = 1 << 4;
constexpr ChannelMask VERTCOLOR_CHANNEL = 1 << 7;

constexpr int TOPO_CHAN_NUM = 0;
constexpr int GEOM_CHAN_NUM = 1;
constexpr int TEXMAP_CHAN_NUM = 2;
constexpr int MTL_CHAN_NUM = 3;
constexpr int SELECT_CHAN_NUM = 4;
constexpr int NUM_OBJ_CHANS = 12;
