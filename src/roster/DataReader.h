#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <toml++/toml.h>

// The checked reading of one TOML data file (a fighter's, a stage's): every value fetched by
// its key with the field's full name, and every refusal a DataFileError of one line naming the
// file, the line and the field. One per file read.
class DataReader {
public:
    explicit DataReader(std::string source) : source(std::move(source)) {}

    toml::table parse(const std::string& text) const;

    // A key the file may not have: misspelt keys are refused, not ignored.
    void onlyKeys(const toml::table& table, const std::string& field,
                  const std::vector<std::string_view>& keys) const;

    const toml::table& table(const toml::node& node, const std::string& field) const;
    const toml::table& table(const toml::table& parent, const char* key,
                             const std::string& field) const;
    const toml::array& array(const toml::table& parent, const char* key,
                             const std::string& field) const;
    int integer(const toml::table& parent, const char* key, const std::string& field, int low,
                int high) const;
    // An integer or a decimal number.
    double number(const toml::table& parent, const char* key, const std::string& field, double low,
                  double high) const;
    bool boolean(const toml::table& parent, const char* key, const std::string& field) const;
    std::string string(const toml::node& node, const std::string& field) const;
    std::string string(const toml::table& parent, const char* key, const std::string& field) const;
    // A name to show: printable ASCII, 1 to maxLength characters.
    std::string shownName(const toml::table& parent, const char* key, int maxLength) const {
        return shownName(parent, key, maxLength, key);
    }
    std::string shownName(const toml::table& parent, const char* key, int maxLength,
                          const std::string& field) const;

    [[noreturn]] void fail(const toml::node& node, const std::string& field,
                           const std::string& what) const;

private:
    const toml::node& required(const toml::table& parent, const char* key,
                               const std::string& field) const;

    std::string source;
};
