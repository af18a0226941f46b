// A JSON document read whole into values: a recursive reader with a bound on its depth.
#include "tools/tool_json/json_value.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    bool Document(JsonValue& value) {
        Space();
        if (!Value(value, 0)) return false;
        Space();
        return at_ == text_.size() || Fail("text after the value");
    }
    std::string Error() const { return "at byte " + std::to_string(at_) + ": " + error_; }

  private:
    bool Fail(const char* why) {
        if (error_.empty()) error_ = why;
        return false;
    }
    bool More() const { return at_ < text_.size(); }
    char Peek() const { return More() ? text_[at_] : '\0'; }
    void Space() {
        while (More() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++at_;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return Fail("not a JSON value");
        at_ += word.size();
        return true;
    }

    bool Value(JsonValue& value, int depth) {
        if (depth > kJsonMostDepth) return Fail("nested too deep");
        switch (Peek()) {
            case '{':
                return Object(value, depth);
            case '[':
                return Array(value, depth);
            case '"':
                value.Type = JsonValue::Kind::Text;
                return Text(value.Text);
            case 't':
                value.Type = JsonValue::Kind::Bool;
                value.Bool = true;
                return Word("true");
            case 'f':
                value.Type = JsonValue::Kind::Bool;
                return Word("false");
            case 'n':
                return Word("null");
            default:
                return Number(value);
        }
    }

    bool Object(JsonValue& value, int depth) {
        value.Type = JsonValue::Kind::Object;
        ++at_;
        Space();
        if (Peek() == '}') return ++at_, true;
        for (;;) {
            std::string name;
            if (Peek() != '"') return Fail("expected a member name");
            if (!Text(name)) return false;
            Space();
            if (Peek() != ':') return Fail("expected ':'");
            ++at_;
            Space();
            value.Members.push_back({std::move(name), JsonValue()});
            if (!Value(value.Members.back().Value, depth + 1)) return false;
            Space();
            if (Peek() == '}') return ++at_, true;
            if (Peek() != ',') return Fail("expected ',' or '}'");
            ++at_;
            Space();
        }
    }

    bool Array(JsonValue& value, int depth) {
        value.Type = JsonValue::Kind::Array;
        ++at_;
        Space();
        if (Peek() == ']') return ++at_, true;
        for (;;) {
            value.Items.emplace_back();
            if (!Value(value.Items.back(), depth + 1)) return false;
            Space();
            if (Peek() == ']') return ++at_, true;
            if (Peek() != ',') return Fail("expected ',' or ']'");
            ++at_;
            Space();
        }
    }

    bool Number(JsonValue& value) {
        const size_t start = at_;
        if (Peek() == '-') ++at_;
        if (!Digits(true)) return Fail("not a JSON value");
        if (Peek() == '.' && (++at_, !Digits(false))) return Fail("expected a digit");
        if (Peek() == 'e' || Peek() == 'E') {
            ++at_;
            if (Peek() == '+' || Peek() == '-') ++at_;
            if (!Digits(false)) return Fail("expected a digit");
        }
        const char* first = text_.data() + start;
        const auto result = std::from_chars(first, text_.data() + at_, value.Number);
        if (result.ec == std::errc::result_out_of_range)  // too large, or too close to 0
            value.Number = std::strtod(std::string(first, at_ - start).c_str(), nullptr);
        else if (result.ec != std::errc())
            return Fail("not a number");
        value.Type = JsonValue::Kind::Number;
        return true;
    }
    // Digits of a number; the integer part has no leading zero.
    bool Digits(bool integerPart) {
        const size_t start = at_;
        if (integerPart && Peek() == '0') return ++at_, true;
        while (Peek() >= '0' && Peek() <= '9') ++at_;
        return at_ > start;
    }

    bool Text(std::string& out) {
        ++at_;
        for (;;) {
            const size_t run = at_;
            while (More() && Peek() != '"' && Peek() != '\\' &&
                   static_cast<unsigned char>(Peek()) >= 0x20)
                ++at_;
            out.append(text_, run, at_ - run);
            if (!More()) return Fail("unterminated text");
            const char c = text_[at_++];
            if (c == '"') return true;
            if (c != '\\') return --at_, Fail("control character in text");
            if (!Escape(out)) return false;
        }
    }

    bool Escape(std::string& out) {
        const char c = Peek();
        ++at_;
        switch (c) {
            case '"':
            case '\\':
            case '/':
                out += c;
                return true;
            case 'b':
                out += '\b';
                return true;
            case 'f':
                out += '\f';
                return true;
            case 'n':
                out += '\n';
                return true;
            case 'r':
                out += '\r';
                return true;
            case 't':
                out += '\t';
                return true;
            case 'u':
                return CodePoint(out);
            default:
                return Fail("unknown escape");
        }
    }

    bool Hex4(uint32_t& value) {
        if (at_ + 4 > text_.size()) return Fail("short \\u escape");
        const auto result = std::from_chars(text_.data() + at_, text_.data() + at_ + 4, value, 16);
        if (result.ptr != text_.data() + at_ + 4) return Fail("bad \\u escape");
        at_ += 4;
        return true;
    }

    // A \u escape (a surrogate pair taken together; a lone surrogate becomes U+FFFD) as UTF-8.
    bool CodePoint(std::string& out) {
        uint32_t code = 0;
        if (!Hex4(code)) return false;
        if (code >= 0xD800 && code <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
            const size_t back = at_;
            at_ += 2;
            uint32_t low = 0;
            if (!Hex4(low)) return false;
            if (low >= 0xDC00 && low <= 0xDFFF)
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            else
                at_ = back;
        }
        if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
        AppendUtf8(out, code);
        return true;
    }

    std::string_view text_;
    size_t at_ = 0;
    std::string error_;
};

}  // namespace

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

const JsonValue* JsonValue::Find(std::string_view name) const {
    for (const auto& [key, value] : Members)
        if (key == name) return &value;
    return nullptr;
}

std::optional<double> JsonValue::NumberOr() const {
    return Type == Kind::Number ? std::optional<double>(Number) : std::nullopt;
}

std::optional<std::string> JsonValue::TextOr() const {
    return Type == Kind::Text ? std::optional<std::string>(Text) : std::nullopt;
}

std::optional<double> JsonValue::NumberAt(std::string_view name) const {
    const JsonValue* member = Find(name);
    return member ? member->NumberOr() : std::nullopt;
}

std::optional<std::string> JsonValue::TextAt(std::string_view name) const {
    const JsonValue* member = Find(name);
    return member ? member->TextOr() : std::nullopt;
}

std::optional<JsonValue> ParseJson(std::string_view text, std::string& error) {
    JsonReader reader(text);
    JsonValue value;
    if (reader.Document(value)) return value;
    error = reader.Error();
    return std::nullopt;
}
