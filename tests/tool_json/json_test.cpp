// The tools' JSON written and read back: every byte, every kind of number, and broken documents.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>

#include "tools/tool_json/json_text.h"
#include "tools/tool_json/json_value.h"

namespace {

std::optional<JsonValue> Parse(const std::string& text) {
    std::string error;
    return ParseJson(text, error);
}

}  // namespace

// Well-formed UTF-8 comes back as it was; any other byte comes back as the character of its
// number, so random bytes always give a document the reader takes.
TEST(ToolJson, AnyBytesWrittenAsTextReadBack) {
    const std::string utf8 = "K\xc3\xa4hler \xe2\x82\xac \xf0\x9f\x98\x80 \"q\" \\ \t\n\x01";
    const auto back = Parse(JsonText(utf8));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Text, utf8);
    const auto bad = Parse(JsonText("a\xff\xc3(\xed\xa0\x80"));
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->Text, "a\xc3\xbf\xc3\x83(\xc3\xad\xc2\xa0\xc2\x80");
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        std::string bytes(random() % 40, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        EXPECT_TRUE(Parse("{\"k\":" + JsonText(bytes) + "}")) << JsonText(bytes);
    }
}

TEST(ToolJson, NumbersAreExactOrNull) {
    for (double value : {0.1, -1234.5e-300, 1e308, 5e-324, 4.0039062500000001}) {
        const auto back = Parse(JsonNumber(value));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->Number, value);
    }
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(JsonNumber(-std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonNumber(std::nullopt), "null");
    EXPECT_EQ(Parse("1e-400")->Number, 0.0);
    EXPECT_EQ(Parse("-1e400")->Number, -std::numeric_limits<double>::infinity());
}

TEST(ToolJson, AValueOfEveryKindAndItsMembers) {
    const auto value = Parse(
        " {\"a\": [1, -2.5e1, true, false, null], \"b\": {\"c\": \"\\u00e9\\ud83d\\ude00\\/\"}}\n");
    ASSERT_TRUE(value);
    const JsonValue* a = value->Find("a");
    ASSERT_TRUE(a);
    ASSERT_EQ(a->Items.size(), 5u);
    EXPECT_EQ(a->Items[1].Number, -25.0);
    EXPECT_TRUE(a->Items[2].Bool);
    EXPECT_EQ(a->Items[3].Type, JsonValue::Kind::Bool);
    EXPECT_EQ(a->Items[4].Type, JsonValue::Kind::Null);
    EXPECT_EQ(value->Find("b")->TextAt("c"), "\xc3\xa9\xf0\x9f\x98\x80/");
    EXPECT_EQ(value->NumberAt("a"), std::nullopt);
    EXPECT_EQ(value->Find("z"), nullptr);
}

// What is not JSON is refused with where it went wrong, never read as something else.
TEST(ToolJson, BrokenDocumentsAreRefused) {
    for (const char* text :
         {"", "{", "[1,]", "{\"a\" 1}", "{\"a\":1,}", "01", "1.", "-", "+1", "nan", "tru", "\"a",
          "\"\\x\"", "\"\\u12\"", "\"a\nb\"", "[1] 2", "{1:2}", "'a'", "Infinity"}) {
        std::string error;
        EXPECT_FALSE(ParseJson(text, error)) << text;
        EXPECT_TRUE(error.starts_with("at byte ")) << text << ": " << error;
    }
    std::string deep(kJsonMostDepth + 2, '[');
    deep += std::string(kJsonMostDepth + 2, ']');
    std::string error;
    EXPECT_FALSE(ParseJson(deep, error));
    EXPECT_NE(error.find("nested too deep"), std::string::npos);
    std::string allowed(kJsonMostDepth, '[');
    allowed += std::string(kJsonMostDepth, ']');
    EXPECT_TRUE(Parse(allowed));
}
