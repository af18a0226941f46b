// Text for an HTML page, escaped and kept valid UTF-8.
#include "tools/tarnix_fleet/html_text.h"

#include <cmath>
#include <cstdio>

#include "tools/tool_json/json_text.h"
#include "tools/tool_json/json_value.h"

std::string HtmlText(const std::string& text) {
    // JsonText keeps well-formed UTF-8 and makes every other byte a character of its own; read
    // back, the text is valid UTF-8 whatever the bytes were.
    std::string error;
    const std::optional<JsonValue> clean = ParseJson(JsonText(text), error);
    std::string out;
    for (char c : clean ? clean->Text : std::string()) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string HtmlNumber(const std::optional<double>& value, int decimals) {
    if (!value || !std::isfinite(*value)) return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}
