#include "host/base/command_arguments.h"

#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

TEST(CommandArguments, NumbersAreTakenWholeAndWithinTheirBoundsInclusive) {
    const struct {
        const char* text;
        bool taken;
    } ints[] = {{"1", true},     {"100", true},  {"0", false},  {"101", false}, {"-5", false},
                {"", false},     {"12x", false}, {"7 ", false}, {" 5", false},  {"+5", false},
                {"0x10", false}, {"-", false},   {"5-", false}, {"1e1", false}, {"99999999999", false}};
    for (const auto& each : ints) {
        int value = -1;
        EXPECT_EQ(host::ParseInt(each.text, 1, 100, value), each.taken) << "'" << each.text << "'";
        if (each.taken)
            EXPECT_EQ(value, std::stoi(each.text));
        else
            EXPECT_EQ(value, -1) << "a refused number leaves the value as it was";
    }
    const struct {
        const char* text;
        bool taken;
    } floats[] = {{"0.5", true},  {"10", true},   {"0.4999", false}, {"10.001", false}, {"nan", false},
                  {"inf", false}, {"", false},    {"2,5", false},    {" 5", false},     {"+5", false},
                  {"5x", false},  {"0x5", false}, {"1e1", true},     {".5", true},      {"5 ", false}};
    for (const auto& each : floats) {
        float value = -1;
        EXPECT_EQ(host::ParseFloat(each.text, 0.5f, 10.0f, value), each.taken) << "'" << each.text << "'";
        EXPECT_EQ(value, each.taken ? std::stof(each.text) : -1.0f) << "'" << each.text << "'";
    }
}

namespace {

std::vector<host::CommandArgument> Read(std::vector<std::string> words) {
    const auto takesValue = [](const std::string& option) { return option != "--unlit"; };
    return ParseCommandLine(host::ReadCommandArguments, std::move(words), takesValue, 1);
}

} // namespace

TEST(CommandArguments, AnOptionTakesTheNextArgumentAsItsValueWhateverItLooksLike) {
    const auto arguments = Read({"render", "scene.json", "--frame", "-30", "-", "--unlit", "-o", "out.png"});
    ASSERT_EQ(arguments.size(), 5u);
    EXPECT_FALSE(arguments[0].option);
    EXPECT_EQ(arguments[1].text, "--frame");
    EXPECT_EQ(arguments[1].value, "-30");
    EXPECT_FALSE(arguments[2].option) << "a lone '-' is an operand";
    EXPECT_TRUE(arguments[3].option);
    EXPECT_FALSE(arguments[3].value.has_value()) << "a switch takes no value";
    EXPECT_TRUE(arguments[4].option);
    EXPECT_EQ(arguments[4].value, "out.png") << "the last argument is a value too";

    // As GNU tools take it, "--name=value" carries the value itself, for a switch too, which is then refused.
    const auto attached = Read({"render", "--frame=-30", "--unlit=yes", "--mode", "--size=1x1"});
    ASSERT_EQ(attached.size(), 3u);
    EXPECT_EQ(std::tie(attached[0].text, attached[0].value),
              std::make_tuple("--frame", std::optional<std::string>("-30")));
    EXPECT_EQ(std::tie(attached[1].text, attached[1].value),
              std::make_tuple("--unlit", std::optional<std::string>("yes")));
    EXPECT_EQ(attached[2].value, "--size=1x1") << "a value is taken whatever it looks like";

    const auto last = Read({"render", "--mode"});
    ASSERT_EQ(last.size(), 1u);
    EXPECT_FALSE(last[0].value.has_value()) << "an option that came last has none";
}
