#include "host/commands/version_text.h"

#include "host/commands/build_versions.h"
#include "host/import/model_reader_protocol.h"
#include "plugin/version.h"

#include <nlohmann/json.hpp>

#include <sstream>

namespace host {
namespace {

std::string Compiler() {
#if defined(__clang__)
    return "clang " __clang_version__;
#elif defined(__GNUC__)
    return "GCC " __VERSION__;
#else
    return "unknown";
#endif
}

} // namespace

std::string VersionText() {
    std::ostringstream text;
    text << "chromasift " << CHROMASIFT_PROJECT_VERSION << " (plug-in kr_tintworks.dlt, version "
         << CHROMASIFT_VERSION_TEXT << ")\n"
         << "Built with:\n"
         << "  compiler       " << Compiler() << "\n"
         << "  runtime        " << CHROMASIFT_RUNTIME_VERSION << "\n"
         << "  JSON           nlohmann/json " << NLOHMANN_JSON_VERSION_MAJOR << '.'
         << NLOHMANN_JSON_VERSION_MINOR << '.' << NLOHMANN_JSON_VERSION_PATCH << "\n"
         << "  image files    stb_image and stb_image_write " << CHROMASIFT_STB_VERSION << "\n";
#ifndef _WIN32
    text << "  OpenEXR        " << CHROMASIFT_OPENEXR_VERSION << "\n"
         << "  model files    assimp " << CHROMASIFT_ASSIMP_VERSION << " (in " << kModelReaderProgram
         << ")\n";
#endif
    text << "  glTF files     TinyGLTF " << CHROMASIFT_TINYGLTF_VERSION << "\n"
         << "  model viewer   three.js " << CHROMASIFT_THREE_VERSION << " (in exported pages)\n"
         << "  typeface       DejaVu Sans " << CHROMASIFT_FONT_VERSION << "\n";
    return text.str();
}

} // namespace host
