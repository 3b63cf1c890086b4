// String table files: every entry read must be found again by its name, with
// the name and text inside their fixed limits.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_engine.h"
#include "res/resource_manager.h"
#include "res/strtable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine& fe = FuzzEngine::Get();
    fe.hl->SetMemoryFile("Res\\strings.txt",
                         std::string(reinterpret_cast<const char*>(data), size));

    tideStringTable table("Res\\strings.txt");
    for (NamedString* s = table.strings; s; s = s->next) {
        if (strnlen(s->name, sizeof s->name) >= sizeof s->name || strlen(s->string) > 8191) {
            std::fprintf(stderr, "string table entry over its limits\n");
            abort();
        }
        // The newest entry of a name wins, and entries run newest first.
        const char* found = table.GetString(s->name);
        bool shadowed = false;
        for (NamedString* t = table.strings; t != s; t = t->next)
            if (strcmp(t->name, s->name) == 0) shadowed = true;
        if (!found || (!shadowed && found != s->string)) {
            std::fprintf(stderr, "string table entry '%s' not found by its name\n", s->name);
            abort();
        }
    }
    table.GetString("title");
    table.GetString("");

    // The same file through the manager: made once, then shared.
    tideResourceManager rm;
    tideStringTable* a = rm.GetStringTable("Res\\strings.txt", 1);
    if (rm.GetStringTable("Res\\strings.txt", 1) != a) {
        std::fprintf(stderr, "a second lookup made another table\n");
        abort();
    }
    fe.Reset();
    return 0;
}
