// The touch script of the simulated controller: a text file of touches and redo requests, in order.
#include "simcontroller/touch_script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

bool ParseNumber(const std::string& text, double* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0';
}

bool ParseInteger(const std::string& text, int32_t low, int32_t high, int32_t* value) {
    double number = 0.0;
    if (!ParseNumber(text, &number) || number != static_cast<int64_t>(number)) return false;
    if (number < low || number > high) return false;
    *value = static_cast<int32_t>(number);
    return true;
}

// The options after the positional words: z=<Z> and delay=<ms>.
bool ParseOptions(const std::vector<std::string>& words, size_t first, bool allowZ,
                  ScriptEntry* entry, std::string* problem) {
    for (size_t i = first; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (allowZ && word.rfind("z=", 0) == 0) {
            if (!ParseInteger(word.substr(2), 0, 65535, &entry->z))
                return *problem = "bad Z", false;
        } else if (word.rfind("delay=", 0) == 0) {
            if (!ParseInteger(word.substr(6), 0, 3600000, &entry->delayMs))
                return *problem = "bad delay", false;
        } else if (allowZ && word.rfind("after=", 0) == 0) {
            if (!ParseInteger(word.substr(6), 0, 3600000, &entry->afterMs))
                return *problem = "bad after", false;
        } else {
            return *problem = "unexpected '" + word + "'", false;
        }
    }
    return true;
}

bool ParseLine(const std::vector<std::string>& words, ScriptEntry* entry, std::string* problem) {
    const std::string& verb = words[0];
    if (verb == "redo") {
        entry->action = ScriptAction::Redo;
        if (words.size() < 2 || !ParseInteger(words[1], 0, 255, &entry->screen))
            return *problem = "redo needs a screen index", false;
        return ParseOptions(words, 2, false, entry, problem);
    }
    if (verb == "cancel") {
        entry->action = ScriptAction::Cancel;
        return ParseOptions(words, 1, false, entry, problem);
    }
    if (verb != "raw" && verb != "point") return *problem = "unknown word '" + verb + "'", false;
    entry->action = verb == "raw" ? ScriptAction::RawTouch : ScriptAction::PointTouch;
    if (words.size() < 4 || !ParseInteger(words[1], 0, 255, &entry->screen))
        return *problem = verb + " needs a screen index, X and Y", false;
    if (entry->action == ScriptAction::RawTouch) {
        int32_t x = 0, y = 0;
        if (!ParseInteger(words[2], 0, 65535, &x) || !ParseInteger(words[3], 0, 65535, &y))
            return *problem = "raw X and Y must be whole numbers 0..65535", false;
        entry->x = x;
        entry->y = y;
    } else if (!ParseNumber(words[2], &entry->x) || !ParseNumber(words[3], &entry->y)) {
        return *problem = "bad screen point", false;
    }
    if (!ParseOptions(words, 4, true, entry, problem)) return false;
    if (entry->afterMs >= 0 && entry->delayMs >= 0)
        return *problem = "delay and after exclude each other", false;
    return true;
}

}  // namespace

bool ParseTouchScript(const std::string& text, std::vector<ScriptEntry>* entries,
                      std::string* error) {
    entries->clear();
    std::istringstream lines(text);
    std::string line;
    int32_t lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::istringstream wordStream(line);
        std::vector<std::string> words;
        for (std::string word; wordStream >> word;) words.push_back(word);
        if (words.empty() || words[0][0] == '#' || words[0][0] == ';') continue;
        ScriptEntry entry;
        entry.lineNumber = lineNumber;
        std::string problem;
        if (!ParseLine(words, &entry, &problem)) {
            *error = "line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
        entries->push_back(entry);
    }
    return true;
}
