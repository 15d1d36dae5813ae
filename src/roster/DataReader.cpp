#include "roster/DataReader.h"

#include <cmath>

#include "roster/DataFileError.h"

namespace {

// What a file says is echoed in the refusal (a key, a sprite's name): its control characters
// are shown as '?', so the refusal stays one line.
DataFileError refusal(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return DataFileError(text);
}

} // namespace

toml::table DataReader::parse(const std::string& text) const {
    try {
        return toml::parse(text, source);
    } catch (const toml::parse_error& e) {
        throw refusal(source + ":" + std::to_string(e.source().begin.line) + ": " +
                      std::string(e.description()));
    }
}

void DataReader::fail(const toml::node& node, const std::string& field,
                      const std::string& what) const {
    throw refusal(source + ":" + std::to_string(node.source().begin.line) + ": " +
                  (field.empty() ? "" : field + ": ") + what);
}

void DataReader::onlyKeys(const toml::table& table, const std::string& field,
                          const std::vector<std::string_view>& keys) const {
    for (const auto& [key, value] : table) {
        bool known = false;
        for (std::string_view allowed : keys)
            known = known || key.str() == allowed;
        if (known)
            continue;
        std::string list;
        for (std::size_t i = 0; i < keys.size(); ++i)
            list += (i == 0 ? "" : i + 1 == keys.size() ? " and " : ", ") + std::string(keys[i]);
        fail(value, field.empty() ? std::string(key.str()) : field + "." + std::string(key.str()),
             "unknown key (there are " + list + ")");
    }
}

const toml::node& DataReader::required(const toml::table& parent, const char* key,
                                       const std::string& field) const {
    const toml::node* node = parent.get(key);
    if (!node)
        fail(parent, field, "missing");
    return *node;
}

const toml::table& DataReader::table(const toml::node& node, const std::string& field) const {
    const toml::table* table = node.as_table();
    if (!table)
        fail(node, field, "must be a table");
    return *table;
}

const toml::table& DataReader::table(const toml::table& parent, const char* key,
                                     const std::string& field) const {
    return table(required(parent, key, field), field);
}

const toml::array& DataReader::array(const toml::table& parent, const char* key,
                                     const std::string& field) const {
    const toml::node& node = required(parent, key, field);
    const toml::array* array = node.as_array();
    if (!array)
        fail(node, field, "must be an array");
    return *array;
}

int DataReader::integer(const toml::table& parent, const char* key, const std::string& field,
                        int low, int high) const {
    const toml::node& node = required(parent, key, field);
    const toml::value<std::int64_t>* number = node.as_integer();
    const std::string range = std::to_string(low) + " to " + std::to_string(high);
    if (!number)
        fail(node, field, "must be a whole number from " + range);
    if (number->get() < low || number->get() > high)
        fail(node, field, std::to_string(number->get()) + " is not " + range);
    return static_cast<int>(number->get());
}

double DataReader::number(const toml::table& parent, const char* key, const std::string& field,
                          double low, double high) const {
    const toml::node& node = required(parent, key, field);
    double value = 0;
    if (const toml::value<std::int64_t>* whole = node.as_integer())
        value = static_cast<double>(whole->get());
    else if (const toml::value<double>* decimal = node.as_floating_point())
        value = decimal->get();
    else
        fail(node, field, "must be a number");
    // NaN fails both comparisons.
    if (!(value >= low && value <= high))
        fail(node, field,
             "must be from " + std::to_string(static_cast<int>(low)) + " to " +
                 std::to_string(static_cast<int>(high)));
    return value;
}

bool DataReader::boolean(const toml::table& parent, const char* key,
                         const std::string& field) const {
    const toml::node& node = required(parent, key, field);
    const toml::value<bool>* flag = node.as_boolean();
    if (!flag)
        fail(node, field, "must be true or false");
    return flag->get();
}

std::string DataReader::string(const toml::node& node, const std::string& field) const {
    const toml::value<std::string>* text = node.as_string();
    if (!text)
        fail(node, field, "must be a string");
    return text->get();
}

std::string DataReader::string(const toml::table& parent, const char* key,
                               const std::string& field) const {
    return string(required(parent, key, field), field);
}

std::string DataReader::shownName(const toml::table& parent, const char* key, int maxLength,
                                  const std::string& field) const {
    const std::string name = string(parent, key, field);
    bool printable = !name.empty() && name.size() <= static_cast<std::size_t>(maxLength);
    for (const char c : name)
        printable = printable && c >= ' ' && c <= '~';
    if (!printable)
        fail(*parent.get(key), field,
             "must be 1 to " + std::to_string(maxLength) + " printable ASCII characters");
    return name;
}
