#include "input/BindingsFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct KeyName {
    const char* name;
    OIS::KeyCode key;
};

// The keys a player may bind, by the names the file uses (matched without regard to case).
const KeyName keyNames[] = {
    {"A", OIS::KC_A},
    {"B", OIS::KC_B},
    {"C", OIS::KC_C},
    {"D", OIS::KC_D},
    {"E", OIS::KC_E},
    {"F", OIS::KC_F},
    {"G", OIS::KC_G},
    {"H", OIS::KC_H},
    {"I", OIS::KC_I},
    {"J", OIS::KC_J},
    {"K", OIS::KC_K},
    {"L", OIS::KC_L},
    {"M", OIS::KC_M},
    {"N", OIS::KC_N},
    {"O", OIS::KC_O},
    {"P", OIS::KC_P},
    {"Q", OIS::KC_Q},
    {"R", OIS::KC_R},
    {"S", OIS::KC_S},
    {"T", OIS::KC_T},
    {"U", OIS::KC_U},
    {"V", OIS::KC_V},
    {"W", OIS::KC_W},
    {"X", OIS::KC_X},
    {"Y", OIS::KC_Y},
    {"Z", OIS::KC_Z},
    {"0", OIS::KC_0},
    {"1", OIS::KC_1},
    {"2", OIS::KC_2},
    {"3", OIS::KC_3},
    {"4", OIS::KC_4},
    {"5", OIS::KC_5},
    {"6", OIS::KC_6},
    {"7", OIS::KC_7},
    {"8", OIS::KC_8},
    {"9", OIS::KC_9},
    {"Up", OIS::KC_UP},
    {"Down", OIS::KC_DOWN},
    {"Left", OIS::KC_LEFT},
    {"Right", OIS::KC_RIGHT},
    {"Numpad0", OIS::KC_NUMPAD0},
    {"Numpad1", OIS::KC_NUMPAD1},
    {"Numpad2", OIS::KC_NUMPAD2},
    {"Numpad3", OIS::KC_NUMPAD3},
    {"Numpad4", OIS::KC_NUMPAD4},
    {"Numpad5", OIS::KC_NUMPAD5},
    {"Numpad6", OIS::KC_NUMPAD6},
    {"Numpad7", OIS::KC_NUMPAD7},
    {"Numpad8", OIS::KC_NUMPAD8},
    {"Numpad9", OIS::KC_NUMPAD9},
    {"NumpadPlus", OIS::KC_ADD},
    {"NumpadMinus", OIS::KC_SUBTRACT},
    {"NumpadMultiply", OIS::KC_MULTIPLY},
    {"NumpadDivide", OIS::KC_DIVIDE},
    {"NumpadPeriod", OIS::KC_DECIMAL},
    {"NumpadEnter", OIS::KC_NUMPADENTER},
    {"Space", OIS::KC_SPACE},
    {"Enter", OIS::KC_RETURN},
    {"Tab", OIS::KC_TAB},
    {"Backspace", OIS::KC_BACK},
    {"LeftShift", OIS::KC_LSHIFT},
    {"RightShift", OIS::KC_RSHIFT},
    {"LeftCtrl", OIS::KC_LCONTROL},
    {"RightCtrl", OIS::KC_RCONTROL},
    {"LeftAlt", OIS::KC_LMENU},
    {"RightAlt", OIS::KC_RMENU},
    {"Minus", OIS::KC_MINUS},
    {"Equals", OIS::KC_EQUALS},
    {"LeftBracket", OIS::KC_LBRACKET},
    {"RightBracket", OIS::KC_RBRACKET},
    {"Semicolon", OIS::KC_SEMICOLON},
    {"Apostrophe", OIS::KC_APOSTROPHE},
    {"Grave", OIS::KC_GRAVE},
    {"Backslash", OIS::KC_BACKSLASH},
    {"Comma", OIS::KC_COMMA},
    {"Period", OIS::KC_PERIOD},
    {"Slash", OIS::KC_SLASH},
    {"Insert", OIS::KC_INSERT},
    {"Delete", OIS::KC_DELETE},
    {"Home", OIS::KC_HOME},
    {"End", OIS::KC_END},
    {"PageUp", OIS::KC_PGUP},
    {"PageDown", OIS::KC_PGDOWN},
};

// The program's own keys keep their meaning in every mode.
const char* const programKeys[] = {"Escape", "F1", "F2", "F3",  "F4",  "F5", "F6",
                                   "F7",     "F8", "F9", "F10", "F11", "F12"};

const char* const padPrefix = "pad:";

bool sameName(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && std::equal(a.begin(), a.end(), b, [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const char* keyName(OIS::KeyCode key) {
    for (const KeyName& entry : keyNames) {
        if (entry.key == key)
            return entry.name;
    }
    return "?";
}

// A name from the file as an error quotes it: printable, and short.
std::string quoted(const std::string& text) {
    std::string shown;
    for (char c : text.substr(0, 40))
        shown += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    if (text.size() > 40)
        shown += "...";
    return "'" + shown + "'";
}

std::string trimmed(const std::string& text) {
    const char* const space = " \t\r\f\v";
    const std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

class Parser {
public:
    explicit Parser(std::string fileName) : fileName(std::move(fileName)) {}

    Bindings parse(const std::string& text) {
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            ++lineNumber;
            parseLine(trimmed(line.substr(0, line.find('#'))));
        }
        for (int player = 0; player < 2; ++player) {
            if (sectionLine[player] == 0)
                failAt(std::max(lineNumber, 1), "the file ends without a [player" +
                                                    std::to_string(player + 1) + "] section");
            for (int control = 0; control < Control::count; ++control) {
                if (controlLine[player][control] == 0)
                    failAt(sectionLine[player], std::string("[player") +
                                                    std::to_string(player + 1) + "] has no '" +
                                                    Control::names[control] + "' line");
            }
        }
        return bindings;
    }

private:
    void parseLine(const std::string& line) {
        if (line.empty())
            return;
        if (line.front() == '[')
            return parseSection(line);
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            fail("expected [player1], [player2] or 'control = keys', not " + quoted(line));
        const std::string name = trimmed(line.substr(0, equals));
        if (player < 0)
            fail(quoted(name) + " comes before the [player1] or [player2] section");
        const int control = controlOf(name);
        if (controlLine[player][control] != 0)
            fail(quoted(name) + " is given twice for player " + std::to_string(player + 1) +
                 " (also on line " + std::to_string(controlLine[player][control]) + ")");
        controlLine[player][control] = lineNumber;
        std::string list = line.substr(equals + 1);
        std::replace(list.begin(), list.end(), ',', ' ');
        std::istringstream items(list);
        std::string item;
        bool any = false;
        while (items >> item) {
            bind(item, control);
            any = true;
        }
        if (!any)
            fail(quoted(name) + " has no key or button");
    }

    void parseSection(const std::string& line) {
        if (sameName(line, "[player1]"))
            player = 0;
        else if (sameName(line, "[player2]"))
            player = 1;
        else
            fail("unknown section " + quoted(line) + " (there are [player1] and [player2])");
        if (sectionLine[player] != 0)
            fail("a second " + line + " section (the first is on line " +
                 std::to_string(sectionLine[player]) + ")");
        sectionLine[player] = lineNumber;
    }

    int controlOf(const std::string& name) {
        for (int control = 0; control < Control::count; ++control) {
            if (sameName(name, Control::names[control]))
                return control;
        }
        fail("unknown control " + quoted(name) + " (up, down, left, right, punch, kick)");
    }

    void bind(const std::string& item, int control) {
        if (sameName(item.substr(0, std::strlen(padPrefix)), padPrefix))
            return bindButton(item, item.substr(std::strlen(padPrefix)), control);
        for (const char* programKey : programKeys) {
            if (sameName(item, programKey))
                fail(quoted(item) + " is a program key and cannot be bound");
        }
        for (const KeyName& entry : keyNames) {
            if (!sameName(item, entry.name))
                continue;
            if (const int first = keyLine[entry.key])
                fail(quoted(entry.name) + " is bound twice (also on line " + std::to_string(first) +
                     ")");
            keyLine[entry.key] = lineNumber;
            bindings.players[player].keys[control].push_back(entry.key);
            return;
        }
        fail("unknown key " + quoted(item));
    }

    void bindButton(const std::string& item, const std::string& name, int control) {
        for (int i = 0; i < PadButton::count; ++i) {
            const auto button = static_cast<PadButton::ePadButton>(i);
            if (!sameName(name, PadButton::names[i]))
                continue;
            if (!PadButton::bindable(button))
                fail(quoted(item) + " is the controller's own button and cannot be bound");
            if (const int first = buttonLine[player][i])
                fail(quoted(item) + " is bound twice for player " + std::to_string(player + 1) +
                     " (also on line " + std::to_string(first) + ")");
            buttonLine[player][i] = lineNumber;
            bindings.players[player].buttons[control].push_back(button);
            return;
        }
        fail("unknown controller button " + quoted(item));
    }

    [[noreturn]] void fail(const std::string& what) const { failAt(lineNumber, what); }
    [[noreturn]] void failAt(int line, const std::string& what) const {
        throw BindingsError(fileName + ":" + std::to_string(line) + ": " + what);
    }

    std::string fileName;
    Bindings bindings;
    int lineNumber = 0;
    int player = -1;
    // The line where each section, control, key and button was first given; 0 for none yet.
    int sectionLine[2] = {};
    int controlLine[2][Control::count] = {};
    int keyLine[256] = {};
    int buttonLine[2][PadButton::count] = {};
};

} // namespace

namespace BindingsFile {

Bindings parse(const std::string& text, const std::string& fileName) {
    return Parser(fileName).parse(text);
}

Bindings read(const std::string& path) {
    const auto failure = [&path](const std::string& what) {
        return BindingsError(path + ": " + what);
    };
    // Not blocking, so that a FIFO without a writer is refused instead of waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw failure(std::strerror(errno));
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw failure(std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw failure("is a directory, not a bindings file");
    if (!S_ISREG(info.st_mode))
        throw failure("is not a regular file");
    if (info.st_size > maxSize)
        throw failure("is larger than " + std::to_string(maxSize / 1024) +
                      " KiB: not a bindings file");
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(fd, &text[done], text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw failure(std::strerror(errno));
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    text.resize(done);
    return parse(text, path);
}

std::string format(const Bindings& bindings) {
    std::string text = "# Vorrak bindings: one line per control, each with one or more keys and\n"
                       "# controller buttons (pad:a, pad:dpup, ...). The left stick always "
                       "steers.\n";
    for (int player = 0; player < 2; ++player) {
        text += "\n[player" + std::to_string(player + 1) + "]\n";
        const PlayerBindings& keys = bindings.players[player];
        for (int control = 0; control < Control::count; ++control) {
            text += Control::names[control];
            text += " =";
            for (OIS::KeyCode key : keys.keys[control])
                text += std::string(" ") + keyName(key);
            for (PadButton::ePadButton button : keys.buttons[control])
                text += std::string(" ") + padPrefix + PadButton::names[button];
            text += "\n";
        }
    }
    return text;
}

std::string defaultPath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string folder;
    // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
    if (configHome && configHome[0] == '/')
        folder = configHome;
    else if (home && home[0] != '\0')
        folder = std::string(home) + "/.config";
    else
        return "";
    const std::string path = folder + "/vorrak/bindings.cfg";
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? path : "";
}

} // namespace BindingsFile
