#include "platform/qt/bubble_font.h"

#include <QFontDatabase>

#if defined(__linux__)
#include <sys/mman.h>

#include <cstdio>
#include <cstring>
#endif

namespace glugmo {

QFont bubbleFont() {
    QFont font;
    for (const char* family : {"WenQuanYi Micro Hei", "Noto Sans CJK SC"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            font.setFamily(QString::fromLatin1(family));
            break;
        }
    }
    font.setPixelSize(13);
    font.setWeight(QFont::Medium);
    return font;
}

void releaseFontPages() {
#if defined(__linux__)
    // FreeType maps the font file and reads it in place; the pages it read
    // stay counted against the pet until dropped. Dropping them is safe (a
    // later glyph reads them again from the file) and leaves the memory to
    // the page cache, which every program shares.
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps) return;
    char line[4096];
    while (std::fgets(line, sizeof line, maps)) {
        unsigned long start = 0, end = 0;
        char perms[5] = {};
        int pathAt = 0;
        if (std::sscanf(line, "%lx-%lx %4s %*s %*s %*s %n", &start, &end, perms, &pathAt) < 3)
            continue;
        if (std::strcmp(perms, "r--p") != 0 || !std::strstr(line + pathAt, "/fonts/")) continue;
        madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
    }
    std::fclose(maps);
#endif
}

}  // namespace glugmo
