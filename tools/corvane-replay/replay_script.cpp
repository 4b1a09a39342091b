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

// A whole decimal number from low to high (at most nine digits); false otherwise.
bool ParseWhole(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    const long number = std::atol(text.c_str());
    if (number < low || number > high) return false;
    value = static_cast<int>(number);
    return true;
}

// A frame count: a whole number from 1.
bool ParseCount(const std::string& text, int& value) {
    return ParseWhole(text, 1, INT_MAX, value);
}

// Frames of a script's steps in all; -1 past what an int counts.
template <typename Step>
int TotalFrames(const std::vector<Step>& steps) {
    long long total = 0;
    for (const Step& step : steps) total += step.frames;
    return total > INT_MAX ? -1 : static_cast<int>(total);
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
    if (key == "backspace") return 8;
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
    return TotalFrames(holds);
}

bool ParseMouseScript(const std::string& text, std::vector<MouseStroke>& strokes,
                      std::string& error) {
    strokes.clear();
    if (text.empty()) return true;
    for (const std::string& item : Split(text, ',')) {
        MouseStroke stroke;
        std::string rest = item;
        const std::string::size_type at = item.find('@');
        if (at != std::string::npos) {
            const std::string button = Lower(item.substr(0, at));
            if (button == "left") {
                stroke.button = MouseButton::Left;
            } else if (button == "right") {
                stroke.button = MouseButton::Right;
            } else if (button == "middle") {
                stroke.button = MouseButton::Middle;
            } else {
                error = "\"" + item + "\": unknown button \"" + button + "\" (left, right, middle)";
                return false;
            }
            rest = item.substr(at + 1);
        }
        const std::string::size_type colon = rest.rfind(':');
        const std::string::size_type slash = rest.find('/');
        if (colon == std::string::npos || slash == std::string::npos || slash > colon) {
            error = "\"" + item + "\" is not a stroke (write [button@]x/y:frames)";
            return false;
        }
        const std::string x = rest.substr(0, slash), y = rest.substr(slash + 1, colon - slash - 1);
        if (!ParseCount(rest.substr(colon + 1), stroke.frames)) {
            error = "\"" + item + "\": the frame count must be a whole number from 1";
            return false;
        }
        // Coordinates travel as the 16-bit halves of the message's lParam.
        if (!ParseWhole(x, 0, 65535, stroke.x) || !ParseWhole(y, 0, 65535, stroke.y)) {
            error = "\"" + item + "\": x and y must be whole numbers from 0 to 65535";
            return false;
        }
        strokes.push_back(stroke);
    }
    if (ScriptFrames(strokes) < 0) {
        error = "the script is longer than the tool can count";
        return false;
    }
    return true;
}

int ScriptFrames(const std::vector<MouseStroke>& strokes) {
    return TotalFrames(strokes);
}

namespace {

void AddKeys(const std::vector<KeyHold>& holds, std::vector<TimedMessage>& out) {
    int start = 0;
    for (const KeyHold& hold : holds) {
        for (int key : hold.keys) out.push_back({start, WM_KEYDOWN, static_cast<WPARAM>(key), 0});
        for (int key : hold.keys)
            out.push_back({start + hold.frames, WM_KEYUP, static_cast<WPARAM>(key), 0});
        start += hold.frames;
    }
}

// The messages of a button going down and coming up; 0 for no button.
struct ButtonMessages {
    UINT down = 0;
    UINT up = 0;
};
ButtonMessages MessagesOf(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return {WM_LBUTTONDOWN, WM_LBUTTONUP};
        case MouseButton::Right:
            return {WM_RBUTTONDOWN, WM_RBUTTONUP};
        case MouseButton::Middle:
            return {WM_MBUTTONDOWN, WM_MBUTTONUP};
        case MouseButton::None:
            break;
    }
    return {};
}

void AddMouse(const std::vector<MouseStroke>& strokes, std::vector<TimedMessage>& out) {
    int start = 0, x = 0, y = 0;
    for (const MouseStroke& stroke : strokes) {
        const auto [down, up] = MessagesOf(stroke.button);
        if (down != 0) out.push_back({start, down, 0, MAKELPARAM(x, y)});
        for (int i = 1; i <= stroke.frames; ++i) {
            const long long px = x + static_cast<long long>(stroke.x - x) * i / stroke.frames;
            const long long py = y + static_cast<long long>(stroke.y - y) * i / stroke.frames;
            out.push_back({start + i - 1, WM_MOUSEMOVE, 0, MAKELPARAM(px, py)});
        }
        x = stroke.x;
        y = stroke.y;
        start += stroke.frames;
        if (up != 0) out.push_back({start, up, 0, MAKELPARAM(x, y)});
    }
}

}  // namespace

std::vector<TimedMessage> ScriptMessages(const std::vector<KeyHold>& keys,
                                         const std::vector<MouseStroke>& mouse) {
    std::vector<TimedMessage> out;
    AddKeys(keys, out);
    AddMouse(mouse, out);
    return out;
}

}  // namespace replay
