// Every file the palette command writes, read back by readers written here from each format's description.
#include "export_test_support.h"

#include "host/palette_command.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

using export_test::Expected;
using export_test::GoldenChicky;
using export_test::ReadBytes;
using export_test::RunPalette;

// The number in a "... 23.4% ..." text, or -1.
double PercentIn(const std::string& text) {
    const std::size_t percent = text.find('%');
    if (percent == std::string::npos)
        return -1.0;
    std::size_t start = percent;
    while (start > 0 && (std::isdigit(static_cast<unsigned char>(text[start - 1])) || text[start - 1] == '.'))
        --start;
    return start == percent ? -1.0 : std::atof(text.substr(start, percent - start).c_str());
}

// ---- GIMP palette ----

struct GplColour {
    int red = -1, green = -1, blue = -1;
    std::string name;
};

struct GplPalette {
    std::string name;
    int columns = -1;
    std::vector<GplColour> colours;
};

// Reads a .gpl file the way GIMP's loader does, and fails on whatever that loader would refuse or read
// otherwise than meant: the magic first line, "Name: " on the second line (without it GIMP takes the line
// as a colour), "Columns: " only right after it (0 to 256), '#' comment lines, no empty lines (GIMP reads
// one as a colour), colour lines of three numbers 0..255 split by spaces or tabs, the name starting after
// the one separator that follows the blue number, LF line ends, and at least one colour.
GplPalette ReadGpl(const std::string& bytes) {
    GplPalette palette;
    EXPECT_EQ(bytes.find('\r'), std::string::npos) << "GIMP keeps a CR as part of the line";
    EXPECT_TRUE(!bytes.empty() && bytes.back() == '\n') << "the last line ends";
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find('\n', at);
        lines.push_back(bytes.substr(at, end - at));
        at = end == std::string::npos ? bytes.size() : end + 1;
    }
    if (lines.size() < 2 || lines[0].rfind("GIMP Palette", 0) != 0 || lines[1].rfind("Name: ", 0) != 0) {
        ADD_FAILURE() << "no \"GIMP Palette\" and \"Name: \" lines:\n" << bytes;
        return palette;
    }
    palette.name = lines[1].substr(6);
    std::size_t at = 2;
    if (at < lines.size() && lines[at].rfind("Columns: ", 0) == 0) {
        palette.columns = std::atoi(lines[at].c_str() + 9);
        EXPECT_TRUE(palette.columns >= 0 && palette.columns <= 256) << lines[at];
        ++at;
    }
    for (; at < lines.size(); ++at) {
        const std::string& line = lines[at];
        if (!line.empty() && line[0] == '#')
            continue;
        GplColour c;
        int end = 0;
        if (std::sscanf(line.c_str(), "%d %d %d%n", &c.red, &c.green, &c.blue, &end) != 3) {
            ADD_FAILURE() << "line " << at + 1 << " is neither a comment nor a colour: '" << line << "'";
            continue;
        }
        for (const int channel : {c.red, c.green, c.blue})
            EXPECT_TRUE(channel >= 0 && channel <= 255) << line;
        if (static_cast<std::size_t>(end) < line.size()) {
            EXPECT_TRUE(line[end] == ' ' || line[end] == '\t') << line;
            c.name = line.substr(static_cast<std::size_t>(end) + 1);
        }
        palette.colours.push_back(c);
    }
    EXPECT_FALSE(palette.colours.empty()) << "GIMP refuses a palette without colours";
    return palette;
}

// ---- Adobe Swatch Exchange ----

struct AseColour {
    std::string name;
    std::string model;
    std::vector<float> values;
    int type = -1;
    int group = -1; // index into AseSwatches::groups, -1 outside every group
};

struct AseSwatches {
    std::vector<std::string> groups;
    std::vector<AseColour> colours;
};

class BigEndian {
public:
    BigEndian(const std::string& bytes, std::size_t begin, std::size_t end)
        : bytes(bytes), at(begin), end(end) {}
    bool Has(std::size_t n) const { return at + n <= end; }
    bool AtEnd() const { return at == end; }
    std::size_t Position() const { return at; }
    std::uint16_t U16() {
        if (!Has(2))
            return Fail(), 0;
        const auto value = static_cast<std::uint16_t>(Byte(at) << 8 | Byte(at + 1));
        at += 2;
        return value;
    }
    std::uint32_t U32() {
        const std::uint32_t high = U16();
        return high << 16 | U16();
    }
    float F32() {
        const std::uint32_t word = U32();
        float value;
        std::memcpy(&value, &word, sizeof value);
        return value;
    }
    std::string Text(std::size_t n) {
        if (!Has(n))
            return Fail(), std::string();
        at += n;
        return bytes.substr(at - n, n);
    }
    // A name: its length in UTF-16 units including the terminating zero, the units, the zero. As UTF-8.
    std::string Name() {
        const std::uint16_t units = U16();
        EXPECT_GE(units, 1) << "a name has at least its terminating zero";
        std::u32string text;
        for (std::uint16_t i = 0; i + 1 < units && ok; ++i) {
            char32_t unit = U16();
            if (unit >= 0xd800 && unit < 0xdc00) {
                const char32_t low = U16();
                ++i;
                EXPECT_TRUE(low >= 0xdc00 && low < 0xe000) << "unpaired surrogate";
                unit = 0x10000 + ((unit - 0xd800) << 10) + (low - 0xdc00);
            }
            text += unit;
        }
        EXPECT_EQ(U16(), 0) << "the name ends in a zero unit";
        std::string utf8;
        for (const char32_t c : text) {
            if (c < 0x80) {
                utf8 += static_cast<char>(c);
            } else if (c < 0x800) {
                utf8 += static_cast<char>(0xc0 | c >> 6);
                utf8 += static_cast<char>(0x80 | (c & 0x3f));
            } else if (c < 0x10000) {
                utf8 += static_cast<char>(0xe0 | c >> 12);
                utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3f));
                utf8 += static_cast<char>(0x80 | (c & 0x3f));
            } else {
                utf8 += static_cast<char>(0xf0 | c >> 18);
                utf8 += static_cast<char>(0x80 | (c >> 12 & 0x3f));
                utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3f));
                utf8 += static_cast<char>(0x80 | (c & 0x3f));
            }
        }
        return utf8;
    }
    bool Ok() const { return ok; }

private:
    int Byte(std::size_t i) const { return static_cast<unsigned char>(bytes[i]); }
    void Fail() {
        ok = false;
        ADD_FAILURE() << "read past the end at byte " << at;
        at = end;
    }
    const std::string& bytes;
    std::size_t at;
    std::size_t end;
    bool ok = true;
};

// Reads an .ase file: "ASEF", version 1.0, the block count, then blocks of a 16-bit type and a 32-bit
// length of what follows. Group start 0xC001 (a name), group end 0xC002 (empty), colour 0x0001 (a name,
// a four-letter model, its floats, a 16-bit type 0 global, 1 spot or 2 normal). Every block is read to
// exactly its length and the file to its last byte.
AseSwatches ReadAse(const std::string& bytes) {
    AseSwatches swatches;
    BigEndian file(bytes, 0, bytes.size());
    EXPECT_EQ(file.Text(4), "ASEF");
    EXPECT_EQ(file.U16(), 1) << "major version";
    EXPECT_EQ(file.U16(), 0) << "minor version";
    const std::uint32_t blocks = file.U32();
    int openGroup = -1;
    for (std::uint32_t b = 0; b < blocks && file.Ok(); ++b) {
        const std::uint16_t type = file.U16();
        const std::uint32_t length = file.U32();
        if (!file.Has(length)) {
            ADD_FAILURE() << "block " << b << " runs past the end of the file";
            break;
        }
        BigEndian block(bytes, file.Position(), file.Position() + length);
        file.Text(length);
        if (type == 0xc001) {
            EXPECT_EQ(openGroup, -1) << "groups do not nest";
            openGroup = static_cast<int>(swatches.groups.size());
            swatches.groups.push_back(block.Name());
        } else if (type == 0xc002) {
            EXPECT_NE(openGroup, -1) << "group end without a start";
            openGroup = -1;
        } else if (type == 0x0001) {
            AseColour c;
            c.name = block.Name();
            c.model = block.Text(4);
            const int channels = c.model == "CMYK" ? 4 : c.model == "Gray" ? 1 : 3;
            EXPECT_TRUE(c.model == "RGB " || c.model == "CMYK" || c.model == "LAB " || c.model == "Gray")
                << c.model;
            for (int i = 0; i < channels; ++i)
                c.values.push_back(block.F32());
            c.type = block.U16();
            EXPECT_TRUE(c.type >= 0 && c.type <= 2) << "colour type " << c.type;
            c.group = openGroup;
            swatches.colours.push_back(c);
        } else {
            ADD_FAILURE() << "unknown block type " << type;
        }
        EXPECT_TRUE(block.AtEnd()) << "block " << b << " has bytes the format does not hold";
    }
    EXPECT_EQ(openGroup, -1) << "the group is not closed";
    EXPECT_TRUE(file.AtEnd()) << "bytes after the last of " << blocks << " blocks";
    return swatches;
}

// ---- CSS ----

struct CssProperty {
    std::string name, value, comment;
};

// Reads a style sheet of comments and one ":root { ... }" rule of custom properties, each declaration
// "--name: value;" followed by its comment. Fails on an unclosed comment or brace and on anything else.
std::vector<CssProperty> ReadCssRoot(const std::string& text) {
    std::vector<CssProperty> properties;
    std::size_t at = 0;
    const auto skipSpace = [&] {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
            ++at;
    };
    const auto comment = [&](std::string& into) {
        const std::size_t end = text.find("*/", at + 2);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unclosed comment at " << at;
            at = text.size();
            return;
        }
        into = text.substr(at + 2, end - at - 2);
        at = end + 2;
    };
    std::string ignored;
    for (skipSpace(); text.compare(at, 2, "/*") == 0; skipSpace())
        comment(ignored);
    if (text.compare(at, 5, ":root") != 0) {
        ADD_FAILURE() << "no :root rule at " << at << ":\n" << text;
        return properties;
    }
    at += 5;
    skipSpace();
    EXPECT_EQ(text[at], '{');
    ++at;
    for (skipSpace(); at < text.size() && text[at] != '}'; skipSpace()) {
        if (text.compare(at, 2, "/*") == 0) {
            if (properties.empty())
                ADD_FAILURE() << "comment before any property";
            comment(properties.empty() ? ignored : properties.back().comment);
            continue;
        }
        const std::size_t colon = text.find(':', at), semicolon = text.find(';', at);
        if (colon == std::string::npos || semicolon == std::string::npos || colon > semicolon) {
            ADD_FAILURE() << "not a declaration at " << at << ": " << text.substr(at, 40);
            return properties;
        }
        CssProperty p;
        p.name = text.substr(at, colon - at);
        p.value = text.substr(colon + 1, semicolon - colon - 1);
        p.value.erase(0, p.value.find_first_not_of(' '));
        EXPECT_EQ(p.name.rfind("--", 0), 0u) << "a custom property's name starts with --: " << p.name;
        properties.push_back(p);
        at = semicolon + 1;
    }
    EXPECT_LT(at, text.size()) << "unclosed :root rule";
    ++at;
    skipSpace();
    EXPECT_EQ(at, text.size()) << "text after the rule";
    return properties;
}

int HexByte(const std::string& text, std::size_t at) {
    return static_cast<int>(std::strtol(text.substr(at, 2).c_str(), nullptr, 16));
}

// ---- Tests ----

TEST(PaletteExport, GimpPaletteKeepsEveryColourInOrder) {
    const export_test::ScratchFolder folder;
    const std::string bytes = export_test::ExportChicky(folder, "gpl");
    const GplPalette gpl = ReadGpl(bytes);
    const std::vector<Expected> golden = GoldenChicky();
    EXPECT_EQ(gpl.name, "Chromasift chicky_512.png");
    EXPECT_EQ(gpl.columns, 12);
    ASSERT_EQ(gpl.colours.size(), golden.size());
    for (std::size_t i = 0; i < golden.size(); ++i) {
        EXPECT_EQ(gpl.colours[i].red, golden[i].red) << i;
        EXPECT_EQ(gpl.colours[i].green, golden[i].green) << i;
        EXPECT_EQ(gpl.colours[i].blue, golden[i].blue) << i;
        EXPECT_EQ(gpl.colours[i].name.rfind("Chromasift " + std::to_string(i + 1) + " ", 0), 0u)
            << gpl.colours[i].name;
        EXPECT_NEAR(PercentIn(gpl.colours[i].name), golden[i].percent, 0.05) << gpl.colours[i].name;
    }

    // The same text on standard output.
    const auto printed =
        RunPalette({TestDataFile("images/chicky_512.png"), "--colors", "12", "--format", "gpl"});
    EXPECT_EQ(printed.out, bytes);
}

TEST(PaletteExport, SwatchExchangeHoldsFloatsAndUtf16Names) {
    const export_test::ScratchFolder folder;
    const AseSwatches ase = ReadAse(export_test::ExportChicky(folder, "ase"));
    const std::vector<Expected> golden = GoldenChicky();
    ASSERT_EQ(ase.colours.size(), golden.size());
    ASSERT_EQ(ase.groups.size(), 1u);
    EXPECT_EQ(ase.groups[0], "Chromasift chicky_512.png");
    for (std::size_t i = 0; i < golden.size(); ++i) {
        const AseColour& c = ase.colours[i];
        EXPECT_EQ(c.group, 0);
        EXPECT_EQ(c.model, "RGB ");
        ASSERT_EQ(c.values.size(), 3u);
        EXPECT_NEAR(c.values[0], golden[i].redFloat, 1e-7) << i;
        EXPECT_NEAR(c.values[1], golden[i].greenFloat, 1e-7) << i;
        EXPECT_NEAR(c.values[2], golden[i].blueFloat, 1e-7) << i;
        EXPECT_NEAR(PercentIn(c.name), golden[i].percent, 0.05) << c.name;
    }

    // Names beyond ASCII and beyond the 16-bit plane (a surrogate pair in UTF-16).
    const std::string image = folder.File("k\xc3\xbc"
                                          "ken\xf0\x9f\x90\xa4.png");
    std::filesystem::copy_file(TestDataFile("images/chicky_512.png"), export_test::PathFromUtf8(image));
    const std::string named = folder.File("named.ase");
    const auto unicode = RunPalette({image, "--colors", "3", "--format", "ase", "-o", named});
    ASSERT_EQ(unicode.status, 0) << unicode.err;
    const AseSwatches withName = ReadAse(ReadBytes(named));
    ASSERT_EQ(withName.groups.size(), 1u);
    EXPECT_EQ(withName.groups[0], "Chromasift k\xc3\xbc"
                                  "ken\xf0\x9f\x90\xa4.png");
    EXPECT_EQ(withName.colours.size(), 3u);
}

TEST(PaletteExport, CssPropertiesCarryHexColoursAndShares) {
    const export_test::ScratchFolder folder;
    const std::vector<CssProperty> css = ReadCssRoot(export_test::ExportChicky(folder, "css"));
    const std::vector<Expected> golden = GoldenChicky();
    ASSERT_EQ(css.size(), golden.size());
    for (std::size_t i = 0; i < golden.size(); ++i) {
        EXPECT_EQ(css[i].name, "--chromasift-" + std::to_string(i + 1));
        ASSERT_EQ(css[i].value.size(), 7u) << css[i].value;
        EXPECT_EQ(css[i].value[0], '#');
        EXPECT_EQ(css[i].value.find_first_not_of("#0123456789abcdef"), std::string::npos) << css[i].value;
        EXPECT_EQ(HexByte(css[i].value, 1), golden[i].red) << i;
        EXPECT_EQ(HexByte(css[i].value, 3), golden[i].green) << i;
        EXPECT_EQ(HexByte(css[i].value, 5), golden[i].blue) << i;
        EXPECT_NEAR(PercentIn(css[i].comment), golden[i].percent, 0.05) << css[i].comment;
    }
}

TEST(PaletteExport, JsonFileIsTheGoldenBytes) {
    const export_test::ScratchFolder folder;
    EXPECT_EQ(export_test::ExportChicky(folder, "json"),
              ReadBytes(std::string(CHROMASIFT_GOLDEN_DIR) + "/chicky_512_12.json"));
}

TEST(PaletteExport, RefusesWhatItCannotWrite) {
    const export_test::ScratchFolder folder;
    const std::string image = TestDataFile("images/Silk.png");
    for (const char* format : {"gpl", "png"}) {
        const std::string file = folder.File("no-such-folder/out." + std::string(format));
        const auto run = RunPalette({image, "--format", format, "-o", file});
        EXPECT_EQ(run.status, 1) << format;
        EXPECT_NE(run.err.find(file), std::string::npos) << "names the file: " << run.err;
    }

    // Skipping more colours than the built-in picture's twelve stripes leaves an empty palette.
    const std::string gpl = folder.File("empty.gpl");
    const auto empty = RunPalette({"--skip", "20", "--format", "gpl", "-o", gpl});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("empty"), std::string::npos) << empty.err;
    EXPECT_FALSE(std::filesystem::exists(export_test::PathFromUtf8(gpl)));
    EXPECT_EQ(RunPalette({"--skip", "20", "--json"}).status, 0)
        << "the report of an empty palette is still written";
}

TEST(PaletteExport, ParsesFormatsOutputAndHelp) {
    const auto unknown = RunPalette({"a.png", "--format", "bmp"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("'bmp'"), std::string::npos) << unknown.err;
    for (const char* binary : {"ase", "png"}) {
        const auto run = RunPalette({"a.png", "--format", binary});
        EXPECT_EQ(run.status, 2) << binary << " on standard output";
        EXPECT_NE(run.err.find("-o FILE"), std::string::npos) << run.err;
    }
    const auto option = RunPalette({"a.png", "--frobnicate"});
    EXPECT_EQ(option.status, 2);
    EXPECT_NE(option.err.find("chromasift palette --help"), std::string::npos) << option.err;
    EXPECT_EQ(RunPalette({"a.png", "-o"}).status, 2);

    for (const char* help : {"--help", "-h"}) {
        std::string image = "a.png", flag = help, bad = "--frobnicate";
        char* argv[] = {image.data(), flag.data(), bad.data()};
        host::PaletteOptions options;
        EXPECT_EQ(host::ParsePaletteOptions(3, argv, 0, options), "") << "help wins over what follows";
        EXPECT_TRUE(options.help);
    }
    const std::string usage = host::PaletteUsage();
    for (const char* word :
         {"--colors", "--skip", "--harmony", "--sort", "--format", "--json", "-o, --output", "-h, --help",
          "text", "json", "gpl", "ase", "css", "png", "Example"})
        EXPECT_NE(usage.find(word), std::string::npos) << "the usage does not mention " << word;

    host::PaletteOptions json;
    std::string image = "a.png", flag = "--json";
    char* argv[] = {image.data(), flag.data()};
    EXPECT_EQ(host::ParsePaletteOptions(2, argv, 0, json), "");
    EXPECT_EQ(json.format, host::PaletteFormat::Json);
}

} // namespace
