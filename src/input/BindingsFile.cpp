#include "input/BindingsFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <sstream>

#include <sys/stat.h>

#include "files/TextFile.h"
#include "files/UserFolders.h"
#include "input/KeyNames.h"

namespace {

const char* const padPrefix = "pad:";

using KeyNames::same;

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
        if (same(line, "[player1]"))
            player = 0;
        else if (same(line, "[player2]"))
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
            if (same(name, Control::names[control]))
                return control;
        }
        fail("unknown control " + quoted(name) + " (up, down, left, right, punch, kick)");
    }

    void bind(const std::string& item, int control) {
        if (same(item.substr(0, std::strlen(padPrefix)), padPrefix))
            return bindButton(item, item.substr(std::strlen(padPrefix)), control);
        if (KeyNames::isProgramKey(item))
            fail(quoted(item) + " is a program key and cannot be bound");
        const std::optional<OIS::KeyCode> key = KeyNames::find(item);
        if (!key)
            fail("unknown key " + quoted(item));
        if (const int first = keyLine[*key])
            fail(quoted(KeyNames::name(*key)) + " is bound twice (also on line " +
                 std::to_string(first) + ")");
        keyLine[*key] = lineNumber;
        bindings.players[player].keys[control].push_back(*key);
    }

    void bindButton(const std::string& item, const std::string& name, int control) {
        for (int i = 0; i < PadButton::count; ++i) {
            const auto button = static_cast<PadButton::ePadButton>(i);
            if (!same(name, PadButton::names[i]))
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
    try {
        return parse(TextFile::read(path, maxSize, "a bindings file"), path);
    } catch (const FileError& e) {
        throw BindingsError(e.what());
    }
}

void write(const std::string& path, const Bindings& bindings) {
    try {
        TextFile::writeAtomically(path, format(bindings));
    } catch (const FileError& e) {
        throw BindingsError(e.what());
    }
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
                text += std::string(" ") + KeyNames::name(key);
            for (PadButton::ePadButton button : keys.buttons[control])
                text += std::string(" ") + padPrefix + PadButton::names[button];
            text += "\n";
        }
    }
    return text;
}

std::string userPath() {
    const std::string folder = UserFolders::config();
    return folder.empty() ? "" : folder + "/bindings.cfg";
}

std::string defaultPath() {
    const std::string path = userPath();
    struct stat info {};
    return !path.empty() && ::lstat(path.c_str(), &info) == 0 ? path : "";
}

} // namespace BindingsFile
