// Checks shared by the block readers for files that break the format's
// limits: counts the file cannot hold and names longer than their fields.
#include "app/HtmlLog.h"
#include "model/BlockReaders.h"

int CheckedCount(int count, long long most, const char* kind, const char* name, const char* what) {
    if (count < 0) {
        LogMessage("Motion Warning: %s '%s' gives %d %s; read as 0.\n", kind, name, count, what);
        return 0;
    }
    if (count > most) {
        LogMessage(
            "Motion Warning: %s '%s' gives %d %s, more than the rest of the file holds; "
            "reading %lld.\n",
            kind, name, count, what, most);
        return static_cast<int>(most);
    }
    return count;
}

void ReadMaterialName(const char* line, char (&name)[kMaterialNameSize]) {
    const std::size_t length = QuotedText(line, 0, name, sizeof name);
    if (length >= sizeof name) {
        LogMessage("Motion Warning: material name '%s' is longer than %d characters; clipped.\n",
                   name, kMaterialNameSize - 1);
    }
}
