#include "tools/corvane-replay/replay_script.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

namespace replay {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A whole positive decimal number that fits an int; false otherwise.
bool ParseCount(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = std::atoi(text.c_str());
    return value >= 1;
}

}  // namespace

int KeyCode(const std::string& name) {
    const std::string key = Lower(name);
    if (key == "left") return 37;
    if (key == "up") return 38;
    if (key == "right") return 39;
    if (key == "down") return 40;
    if (key == "escape" || key == "esc") return 27;
    if (key == "space") return 32;
    if (key == "return" || key == "enter") return 13;
    if (key.size() == 1 && std::isalpha(static_cast<unsigned char>(key[0])))
        return std::toupper(static_cast<unsigned char>(key[0]));
    if (key.size() == 1 && std::isdigit(static_cast<unsigned char>(key[0]))) return key[0];
    return 0;
}

bool ParseKeyScript(const std::string& text, std::vector<KeyHold>& holds, std::string& error) {
    holds.clear();
    if (text.empty()) return true;
    for (const std::string& item : Split(text, ',')) {
        const std::string::size_type colon = item.rfind(':');
        if (colon == std::string::npos) {
            error = "\"" + item + "\" has no frame count (write keys:frames)";
            return false;
        }
        KeyHold hold;
        if (!ParseCount(item.substr(colon + 1), hold.frames)) {
            error = "\"" + item + "\": the frame count must be a whole number from 1";
            return false;
        }
        const std::string names = item.substr(0, colon);
        if (Lower(names) != "none") {
            for (const std::string& name : Split(names, '+')) {
                const int code = KeyCode(name);
                if (code == 0) {
                    error = "\"" + item + "\": unknown key \"" + name + "\"";
                    return false;
                }
                if (std::find(hold.keys.begin(), hold.keys.end(), code) == hold.keys.end())
                    hold.keys.push_back(code);
            }
        }
        holds.push_back(hold);
    }
    if (ScriptFrames(holds) < 0) {
        error = "the script is longer than the tool can count";
        return false;
    }
    return true;
}

bool ParseFrameList(const std::string& text, std::vector<int>& frames, std::string& error) {
    frames.clear();
    if (text.empty()) return true;
    for (const std::string& item : Split(text, ',')) {
        int value = 0;
        if (!ParseCount(item, value)) {
            error = "\"" + item + "\" is not a frame number (frames count from 1)";
            return false;
        }
        frames.push_back(value);
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return true;
}

int ScriptFrames(const std::vector<KeyHold>& holds) {
    long long total = 0;
    for (const KeyHold& hold : holds) total += hold.frames;
    return total > INT_MAX ? -1 : static_cast<int>(total);
}

}  // namespace replay
