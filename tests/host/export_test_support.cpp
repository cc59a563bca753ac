#include "export_test_support.h"

#include "host/commands/palette_command.h"

#include "command_line.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <sstream>

namespace export_test {

CommandResult RunPalette(std::vector<std::string> args) {
    host::PaletteOptions options;
    CommandResult result;
    result.err = ParseCommandLine(host::ParsePaletteOptions, std::move(args), options);
    if (!result.err.empty()) {
        result.status = 2;
        return result;
    }
    std::ostringstream out, err;
    result.status = host::RunPaletteCommand(options, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string ExportChicky(const ScratchFolder& folder, const std::string& format) {
    const std::string file = folder.File("chicky." + format);
    const CommandResult run =
        RunPalette({TestDataFile("images/chicky_512.png"), "--colors", "12", "-o", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty()) << "a file, not standard output";
    return ReadBytes(folder / ("chicky." + format));
}

std::vector<Expected> GoldenChicky() {
    const std::string text = ReadBytes(std::filesystem::path(CHROMASIFT_GOLDEN_DIR) / "chicky_512_12.json");
    EXPECT_FALSE(text.empty()) << "missing golden file chicky_512_12.json";
    std::vector<Expected> palette;
    if (text.empty())
        return palette;
    const nlohmann::json golden = nlohmann::json::parse(text);
    const double samples = golden["columns"].get<double>() * golden["rows"].get<double>();
    for (const nlohmann::json& e : golden["palette"]) {
        Expected x;
        x.redFloat = e["red"].get<double>() / 65535.0;
        x.greenFloat = e["green"].get<double>() / 65535.0;
        x.blueFloat = e["blue"].get<double>() / 65535.0;
        x.red = static_cast<int>(std::lround(x.redFloat * 255.0));
        x.green = static_cast<int>(std::lround(x.greenFloat * 255.0));
        x.blue = static_cast<int>(std::lround(x.blueFloat * 255.0));
        x.percent = 100.0 * e["count"].get<double>() / samples;
        palette.push_back(x);
    }
    return palette;
}

} // namespace export_test
