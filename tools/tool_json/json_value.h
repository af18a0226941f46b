// A JSON document read whole into values: a small reader for the tools' own JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct JsonMember;

struct JsonValue {
    enum class Kind { Null, Bool, Number, Text, Array, Object };
    Kind Type = Kind::Null;
    bool Bool = false;
    double Number = 0.0;
    std::string Text;
    std::vector<JsonValue> Items;     // of an array
    std::vector<JsonMember> Members;  // of an object, in document order

    // The member's value; nothing when this is no object or has no such member.
    const JsonValue* Find(std::string_view name) const;
    // The number, or nothing for any other kind (null included).
    std::optional<double> NumberOr() const;
    // The text, or nothing for any other kind.
    std::optional<std::string> TextOr() const;
    // Shorthands for a member: nothing when it is missing or of another kind.
    std::optional<double> NumberAt(std::string_view name) const;
    std::optional<std::string> TextAt(std::string_view name) const;
};

struct JsonMember {
    std::string Name;
    JsonValue Value;
};

// Objects and arrays nested deeper than this are refused (the reader recurses).
inline constexpr int kJsonMostDepth = 64;

// The document's value; nothing with a one-line reason ("at byte N: ...") when text is not one
// JSON value (RFC 8259; whitespace around it allowed) or nests deeper than kJsonMostDepth.
std::optional<JsonValue> ParseJson(std::string_view text, std::string& error);

// Appends one code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, uint32_t code);
