#include "res/strtable.h"

#include <cctype>
#include <cstring>
#include <vector>

Tide* tideStringTable::tide = nullptr;

namespace {

const char kHeader[] = "[TIDESTRINGTABLE]";
const size_t kHeaderLen = sizeof(kHeader) - 1;
const size_t kMaxText = 8191;

bool is_space(char c) {
    return isspace(static_cast<unsigned char>(c)) != 0;
}

const char* skip_space(const char* p) {
    while (is_space(*p)) ++p;
    return p;
}

}  // namespace

tideStringTable::tideStringTable(const char* filename) : strings(nullptr) {
    tide = tideCreate(TIDE_VERSION);

    DWORD size = 0;
    void* data = filename ? tide->Resource_Load(filename, &size) : nullptr;
    if (!data) return;
    std::vector<char> text(size_t(size) + 1);
    memcpy(text.data(), data, size);
    text[size] = 0;
    tide->Resource_Free(data);

    if (size < kHeaderLen || memcmp(text.data(), kHeader, kHeaderLen) != 0) {
        tide->System_Log("String table %s has incorrect format.", filename);
        return;
    }
    parse(filename, text.data());
}

tideStringTable::~tideStringTable() {
    while (strings) {
        NamedString* next = strings->next;
        delete[] strings->string;
        delete strings;
        strings = next;
    }
    tide->Release();
}

void tideStringTable::add(const char* name, const char* text, size_t len) {
    NamedString* entry = new NamedString;
    memcpy(entry->name, name, sizeof(entry->name));
    entry->string = new char[len + 1];
    memcpy(entry->string, text, len);
    entry->string[len] = 0;
    entry->next = strings;
    strings = entry;
}

void tideStringTable::parse(const char* filename, const char* text) {
    const char* p = text + kHeaderLen;
    if (*p) ++p;  // the header's line break; a second CR/LF is white space anyway
    std::vector<char> work(kMaxText + 1);

    for (;;) {
        p = skip_space(p);
        if (!*p) return;
        if (*p == ';') {
            while (*p && *p != '\n') ++p;
            if (*p) ++p;
            continue;
        }

        char name[sizeof(NamedString::name)] = {};
        size_t nlen = 0;
        for (; *p && *p != '=' && !is_space(*p); ++p)
            if (nlen < sizeof(name) - 1) name[nlen++] = *p;
        if (!*p) return;

        p = skip_space(p);
        if (*p != '=') {
            tide->System_Log("String table %s has incorrect format.", filename);
            return;
        }
        p = skip_space(p + 1);
        if (*p != '"') {
            tide->System_Log("String table %s has incorrect format.", filename);
            return;
        }
        ++p;

        // Characters past the buffer are read but dropped. `kept` guards what
        // escapes produced from the trimming at a wrapped line, so "\n" at the
        // end of a source line survives.
        size_t n = 0, kept = 0;
        auto put = [&](char c) {
            if (n < kMaxText) work[n++] = c;
        };
        while (*p && *p != '"') {
            if (*p == '\\') {
                if (!*++p) break;
                put(*p == 'n' ? '\n' : *p);
                kept = n;
                ++p;
            } else if (*p == '\n' || *p == '\r') {
                while (n > kept && is_space(work[n - 1])) --n;
                p = skip_space(p);
                put(' ');
            } else {
                put(*p++);
            }
        }
        add(name, work.data(), n);

        if (!*p) return;
        ++p;  // closing quote
    }
}

// A name longer than the field is refused: compared cut, it would find the
// entry of another name that shares its beginning.
const char* tideStringTable::GetString(const char* name) const {
    if (!name) return nullptr;
    const int maxlen = int(sizeof(NamedString::name)) - 1;
    if (strnlen(name, size_t(maxlen) + 1) > size_t(maxlen)) {
        tide->System_Log("String name '%.*s...' is longer than %d characters.", maxlen, name, maxlen);
        return nullptr;
    }
    for (NamedString* s = strings; s; s = s->next)
        if (strcmp(s->name, name) == 0) return s->string;
    return nullptr;
}
