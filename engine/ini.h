// INI text with the semantics games expect from the Windows profile
// functions: section and key names compared without case, values read to the
// end of the line (surrounding blanks and one pair of quotes removed), and
// updates that change one line in place and keep every other line as it was.
#pragma once

#include <string>

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

}  // namespace tideIni
