// Every file the palette command writes, read back by readers written here from each format's description.
#include "export_test_support.h"

#include "host/base/text.h"
#include "host/commands/palette_command.h"

#include "command_line.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <tuple>

namespace {

using export_test::Expected;
using export_test::RunPalette;

// The number before the first '%' of a text, or -1.
double PercentIn(const std::string& text) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(R"(([0-9]+\.?[0-9]*)%)")) ? std::stod(match[1]) : -1.0;
}

struct Swatch {
    int red = -1, green = -1, blue = -1; // 8-bit
    float floats[3] = {-1, -1, -1};      // .ase only
    std::string name;                    // .gpl name, CSS property, or .ase name (ASCII)
    std::string comment;                 // CSS only
};

// Reads a .gpl file as GIMP's loader does and fails on whatever that loader would refuse or read otherwise
// than meant: "GIMP Palette" first, "Name: " second (without it GIMP reads that line as a colour),
// "Columns: " only right after it (0 to 256), '#' comments, no empty line (GIMP reads one as a colour),
// colour lines of three numbers 0..255 split by spaces or tabs with the name after the one separator that
// follows the blue number, LF line ends (GIMP keeps a CR in the name), and at least one colour.
std::vector<Swatch> ReadGpl(const std::string& bytes, std::string& name, int& columns) {
    std::vector<Swatch> colours;
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_TRUE(!bytes.empty() && bytes.back() == '\n') << "the last line ends";
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
        lines.push_back(bytes.substr(at, end - at));
        at = end + 1;
    }
    if (lines.size() < 2 || lines[0].rfind("GIMP Palette", 0) != 0 || lines[1].rfind("Name: ", 0) != 0) {
        ADD_FAILURE() << "no \"GIMP Palette\" and \"Name: \" lines:\n" << bytes;
        return colours;
    }
    name = lines[1].substr(6);
    std::size_t at = 2;
    columns =
        at < lines.size() && lines[at].rfind("Columns: ", 0) == 0 ? std::atoi(lines[at++].c_str() + 9) : -1;
    EXPECT_TRUE(columns >= 0 && columns <= 256) << "columns " << columns;
    for (; at < lines.size(); ++at) {
        if (!lines[at].empty() && lines[at][0] == '#')
            continue;
        Swatch c;
        int end = 0;
        const char* line = lines[at].c_str();
        if (std::sscanf(line, "%d %d %d%n", &c.red, &c.green, &c.blue, &end) != 3) {
            ADD_FAILURE() << "line " << at + 1 << " is neither a comment nor a colour: '" << line << "'";
            continue;
        }
        EXPECT_TRUE(c.red >= 0 && c.red < 256 && c.green >= 0 && c.green < 256 && c.blue >= 0 &&
                    c.blue < 256);
        EXPECT_TRUE(line[end] == ' ' || line[end] == '\t') << "a name after the colour: " << line;
        c.name = line[end] != 0 ? line + end + 1 : "";
        colours.push_back(c);
    }
    EXPECT_FALSE(colours.empty()) << "GIMP refuses a palette without colours";
    return colours;
}

// Reads an .ase file: "ASEF", version 1.0, the block count, then blocks of a big-endian 16-bit type and
// 32-bit length of the rest. Group start 0xC001 holds a name, group end 0xC002 nothing, colour 0x0001 a
// name, the model "RGB " with three floats, and a 16-bit type (0 global, 1 spot, 2 normal). A name is its
// length in UTF-16 units counting the terminating zero, the units, the zero. Each block is read to its
// exact length, the file to its last byte; every colour must lie inside the one group.
std::vector<Swatch> ReadAse(const std::string& bytes, std::u16string& group) {
    std::vector<Swatch> colours;
    std::size_t at = 0;
    bool inGroup = false;
    const auto u16 = [&]() -> std::uint32_t {
        if (at + 2 > bytes.size())
            throw std::out_of_range("read past the end at byte " + std::to_string(at));
        at += 2;
        return static_cast<unsigned char>(bytes[at - 2]) << 8 | static_cast<unsigned char>(bytes[at - 1]);
    };
    const auto u32 = [&] { return u16() << 16 | u16(); };
    const auto name = [&] {
        std::u16string units;
        for (std::uint32_t n = u16(); n > 1; --n)
            units += static_cast<char16_t>(u16());
        EXPECT_EQ(u16(), 0u) << "a name ends in a zero unit";
        return units;
    };
    try {
        EXPECT_EQ(bytes.substr(0, 4), "ASEF");
        at = 4;
        EXPECT_EQ(u16(), 1u) << "major version";
        EXPECT_EQ(u16(), 0u) << "minor version";
        for (std::uint32_t blocks = u32(); blocks > 0; --blocks) {
            const std::uint32_t type = u16(), length = u32(), end = static_cast<std::uint32_t>(at) + length;
            if (type == 0xc001) {
                EXPECT_FALSE(inGroup) << "nested group";
                group = name();
                inGroup = true;
            } else if (type == 0xc002) {
                EXPECT_TRUE(inGroup) << "group end without a start";
                inGroup = false;
            } else if (type == 0x0001) {
                Swatch c;
                for (const char16_t unit : name())
                    c.name += static_cast<char>(unit);
                EXPECT_EQ(bytes.substr(at, 4), "RGB ");
                at += 4;
                for (float& value : c.floats) {
                    const std::uint32_t word = u32();
                    std::memcpy(&value, &word, sizeof value);
                }
                EXPECT_LE(u16(), 2u) << "colour type";
                EXPECT_TRUE(inGroup) << "a colour outside the group";
                colours.push_back(c);
            } else {
                ADD_FAILURE() << "unknown block type " << type;
            }
            EXPECT_EQ(at, end) << "a block of type " << type << " is not as long as it says";
            at = end;
        }
    } catch (const std::out_of_range& e) {
        ADD_FAILURE() << e.what();
    }
    EXPECT_FALSE(inGroup) << "the group is not closed";
    EXPECT_EQ(at, bytes.size()) << "bytes after the last block";
    return colours;
}

// Reads a style sheet of comments and one ":root { ... }" rule whose declarations are "--name: #rrggbb;",
// each followed by a comment; fails on anything else (an unclosed comment or brace among it).
std::vector<Swatch> ReadCss(const std::string& text) {
    const std::regex sheet(R"(^\s*(?:/\*(?:[^*]|\*+[^*/])*\*+/\s*)*:root\s*\{([^{}]*)\}\s*$)");
    const std::regex declaration(
        R"(\s*(--[A-Za-z0-9_-]+)\s*:\s*#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})\s*;\s*)"
        R"(/\*((?:[^*]|\*+[^*/])*)\*+/\s*)");
    std::vector<Swatch> colours;
    std::smatch rule;
    if (!std::regex_match(text, rule, sheet)) {
        ADD_FAILURE() << "not comments and one :root rule:\n" << text;
        return colours;
    }
    const std::string body = rule[1];
    std::size_t consumed = 0;
    for (std::sregex_iterator it(body.begin(), body.end(), declaration), end; it != end; ++it) {
        EXPECT_EQ(static_cast<std::size_t>(it->position()), consumed)
            << "not a declaration: " << body.substr(consumed);
        consumed = static_cast<std::size_t>(it->position() + it->length());
        Swatch c;
        c.name = (*it)[1];
        c.red = std::stoi((*it)[2], nullptr, 16);
        c.green = std::stoi((*it)[3], nullptr, 16);
        c.blue = std::stoi((*it)[4], nullptr, 16);
        c.comment = (*it)[5];
        colours.push_back(c);
    }
    EXPECT_EQ(consumed, body.size()) << "not a declaration: " << body.substr(consumed);
    return colours;
}

void ExpectColours(const std::vector<Swatch>& read, const std::string& format) {
    const std::vector<Expected> golden = export_test::GoldenChicky();
    ASSERT_EQ(read.size(), golden.size()) << format;
    for (std::size_t i = 0; i < golden.size(); ++i) {
        SCOPED_TRACE(format + " colour " + std::to_string(i));
        if (format == "ase") {
            EXPECT_NEAR(read[i].floats[0], golden[i].redFloat, 1e-7);
            EXPECT_NEAR(read[i].floats[1], golden[i].greenFloat, 1e-7);
            EXPECT_NEAR(read[i].floats[2], golden[i].blueFloat, 1e-7);
        } else {
            EXPECT_EQ(std::tie(read[i].red, read[i].green, read[i].blue),
                      std::tie(golden[i].red, golden[i].green, golden[i].blue));
        }
        if (format == "css") {
            EXPECT_EQ(read[i].name, "--chromasift-" + std::to_string(i + 1));
            EXPECT_NEAR(PercentIn(read[i].comment), golden[i].percent, 0.05) << read[i].comment;
        } else {
            EXPECT_EQ(read[i].name.rfind("Chromasift " + std::to_string(i + 1) + " (", 0), 0u)
                << read[i].name;
            EXPECT_NEAR(PercentIn(read[i].name), golden[i].percent, 0.05) << read[i].name;
        }
    }
}

TEST(PaletteExport, FilesReadBackAsTheGoldenPalette) {
    const ScratchFolder folder;
    std::string name;
    int columns = 0;
    const std::string gpl = export_test::ExportChicky(folder, "gpl");
    ExpectColours(ReadGpl(gpl, name, columns), "gpl");
    EXPECT_EQ(name, "Chromasift chicky_512.png");
    EXPECT_EQ(columns, 12);
    const std::string image = TestDataFile("images/chicky_512.png");
    EXPECT_EQ(RunPalette({image, "--colors", "12", "--format", "gpl"}).out, gpl)
        << "the same on standard output";

    std::u16string group;
    ExpectColours(ReadAse(export_test::ExportChicky(folder, "ase"), group), "ase");
    EXPECT_EQ(group, u"Chromasift chicky_512.png");
    ExpectColours(ReadCss(export_test::ExportChicky(folder, "css")), "css");
    EXPECT_EQ(export_test::ExportChicky(folder, "json"),
              ReadBytes(std::filesystem::path(CHROMASIFT_GOLDEN_DIR) / "chicky_512_12.json"));
}

TEST(PaletteExport, NamesBeyondAsciiBecomeUtf16) {
    const ScratchFolder folder;
    const std::string image = folder.File("k\xc3\xbc"
                                          "ken\xf0\x9f\x90\xa4.png"); // a surrogate pair in UTF-16
    std::filesystem::copy_file(TestDataFile("images/chicky_512.png"), host::PathFromUtf8(image));
    const std::string file = folder.File("named.ase");
    const auto run = RunPalette({image, "--colors", "3", "--format", "ase", "-o", file});
    ASSERT_EQ(run.status, 0) << run.err;
    std::u16string group;
    EXPECT_EQ(ReadAse(ReadBytes(folder / "named.ase"), group).size(), 3u);
    EXPECT_EQ(group, u"Chromasift k\u00fcken\U0001F424.png");
}

TEST(PaletteExport, RefusesWhatItCannotWrite) {
    const ScratchFolder folder;
    for (const char* format : {"gpl", "png"}) {
        const std::string file = folder.File("no-such-folder/out." + std::string(format));
        const auto run = RunPalette({"--format", format, "-o", file});
        EXPECT_EQ(run.status, 1) << format;
        EXPECT_NE(run.err.find(file), std::string::npos) << "names the file: " << run.err;
    }

    // Skipping more colours than the built-in picture's twelve stripes leaves an empty palette.
    const std::string gpl = folder.File("empty.gpl");
    const auto empty = RunPalette({"--skip", "20", "--format", "gpl", "-o", gpl});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("empty"), std::string::npos) << empty.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.gpl"));
    EXPECT_EQ(RunPalette({"--skip", "20", "--json"}).status, 0)
        << "the report of an empty palette is still written";
}

TEST(PaletteExport, HelpWinsOverWhatFollowsAndJsonChoosesTheFormat) {
    for (const std::string flag : {"--help", "-h", "--json"}) {
        host::PaletteOptions options;
        EXPECT_EQ(
            ParseCommandLine(host::ParsePaletteOptions, {"a.png", flag, "--frobnicate"}, options).empty(),
            flag != "--json")
            << flag;
        EXPECT_EQ(options.help, flag != "--json");
        EXPECT_EQ(options.format, flag == "--json" ? host::PaletteFormat::Json : host::PaletteFormat::Text);
    }
}

} // namespace
