// INI text with the semantics games expect from the Windows profile
// functions: section and key names compared without case, values read to the
// end of the line (surrounding blanks and one pair of quotes removed), and
// updates that change one line in place and keep every other line as it was.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tideIni {

// Finds the value of `key` in `section`; false when either is missing.
bool Get(const std::string& text, const char* section, const char* key, std::string& value);

// Returns `text` with `key` in `section` set to `value`: the first such key
// changes in place; otherwise the key is appended to the section, or the
// section with the key to the end of the text.
std::string Set(const std::string& text, const char* section, const char* key,
                const std::string& value);

// atoi and atof as the profile functions apply them, without overflow.
int ToInt(const std::string& value);
float ToFloat(const std::string& value);

// The same, but false for a value that does not begin with a number
// ("abc", ""), which then keeps a reader's default. Trailing text is
// ignored as atoi ignores it: "30 ; loud" reads 30.
bool ReadInt(const std::string& value, int& out);
bool ReadFloat(const std::string& value, float& out);

}  // namespace tideIni

class tideIniSection;

// An INI file parsed once, for reading through handles: the whole file, or
// one section of it (tideIniSection). Lookups follow the text functions
// above (names without case, the first key of that name wins) and return
// copies, so no result is overwritten by the next lookup. Copies of a file
// and its sections share the parsed text and stay valid on their own.
// A file is obtained from the engine (Tide::Ini_Load) or from text.
class tideIniFile {
public:
    tideIniFile() = default;  // no sections: every lookup gives its default
    explicit tideIniFile(const std::string& text, std::string name = "");

    const std::string& Name() const { return name; }  // the file's name, for log lines
    bool Empty() const;
    // Section names in the order they first appear, spelled as there.
    std::vector<std::string> Sections() const;
    tideIniSection Section(std::string_view section) const;

    bool Has(std::string_view section, std::string_view key) const;
    // `def` when the key is missing; for numbers also when its value is not one.
    std::string GetString(std::string_view section, std::string_view key,
                          const std::string& def = "") const;
    int GetInt(std::string_view section, std::string_view key, int def) const;
    float GetFloat(std::string_view section, std::string_view key, float def) const;

    struct Data;  // the parsed text (ini.cpp)

private:
    std::shared_ptr<const Data> data;
    std::string name;
};

// One section of a parsed file: a file plus a section name, as a level or a
// unit kind is read. A section that is not in the file has no keys.
class tideIniSection {
public:
    tideIniSection() = default;
    bool Exists() const { return data != nullptr; }
    const std::string& Name() const { return name; }  // as asked for when missing
    std::vector<std::string> Keys() const;            // in file order, spelled as there

    bool Has(std::string_view key) const;
    std::string GetString(std::string_view key, const std::string& def = "") const;
    int GetInt(std::string_view key, int def) const;
    float GetFloat(std::string_view key, float def) const;

private:
    friend class tideIniFile;
    const std::string* Find(std::string_view key) const;
    std::shared_ptr<const tideIniFile::Data> data;
    std::size_t index = 0;
    std::string name;
};
