#include "host/base/output_extension.h"

#include "host/base/atomic_file.h"
#include "host/base/text.h"

#include <cctype>

namespace host {

std::string OutputExtension(const std::string& output) {
    if (output == kStandardOutputName || KindOfWriteTarget(PathFromUtf8(output)) == WriteTarget::Stream)
        return std::string();
    const std::size_t nameStart =
        output.find_last_of("/\\") == std::string::npos ? 0 : output.find_last_of("/\\") + 1;
    const std::size_t dot = output.find_last_of('.');
    // A leading dot hides a file on Unix; it starts no extension.
    if (dot == std::string::npos || dot <= nameStart)
        return std::string();
    std::string extension = output.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::string ExtensionRefusal(const std::string& command, const std::string& output,
                             const std::string& extension, std::span<const char* const> written) {
    std::string list;
    std::size_t index = 0;
    for (const char* each : written) {
        list += std::string(index == 0 ? "" : index + 1 == written.size() ? " or " : ", ") + "." + each;
        ++index;
    }
    return "-o " + output + ": '" + command + "' writes " + list + " files, not ." + extension;
}

} // namespace host
