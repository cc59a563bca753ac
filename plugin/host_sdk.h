#pragma once

// The one place where the plug-in includes the host SDK.
#include "hostsdk/bitmap.h"
#include "hostsdk/class_desc.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/hsv.h"
#include "hostsdk/load_save.h"
#include "hostsdk/mental_ray.h"
#include "hostsdk/mtl_base.h"
#include "hostsdk/mtl_render_compatibility.h"
#include "hostsdk/notify.h"
#include "hostsdk/param_block.h"
#include "hostsdk/param_map.h"
#include "hostsdk/path_config.h"
#include "hostsdk/plugin_api.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/win32.h"
