#include "platform/qt/resident_pages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <chrono>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace glugmo {

namespace {

// Once hidden the pet has nothing to do: only its own hiding to finish.
constexpr std::chrono::seconds kAfterHiding{1};
// Less than this read since the last time is not worth a look through
// every mapping, which takes a few milliseconds.
constexpr long kWorthALookKb = 256;

#if defined(__linux__)
struct Mapping {
    unsigned long start = 0;
    unsigned long end = 0;
    char perms[5] = {};
    const char* path = "";
};

// A line of /proc/self/maps, or a mapping's heading in smaps.
bool readMapping(const char* line, Mapping& mapping) {
    int pathAt = 0;
    if (std::sscanf(line, "%lx-%lx %4s %*s %*s %*s %n", &mapping.start, &mapping.end, mapping.perms,
                    &pathAt) < 3) {
        return false;
    }
    mapping.path = line + pathAt;
    return true;
}

void drop(unsigned long start, unsigned long end) {
    madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
}

// A mapping of a file, not writable, whose every resident page is the
// file's own: dropping it loses nothing.
struct FileMapping {
    unsigned long start = 0;
    unsigned long end = 0;
    bool candidate = false;
    long resident = 0;
    long copied = 0;  // pages written to, so now the pet's own copies, or swapped out

    bool droppable() const { return candidate && resident > 0 && copied == 0; }
};

// The kB figure of an smaps field line such as "Private_Dirty:   4 kB".
bool fieldValue(const char* line, const char* field, long& value) {
    const std::size_t length = std::strlen(field);
    if (std::strncmp(line, field, length) != 0) return false;
    value = std::strtol(line + length, nullptr, 10);
    return true;
}

// The kB of files' pages (and shared memory) the pet has in memory now.
long fileResidentKb() {
    std::FILE* statm = std::fopen("/proc/self/statm", "re");
    if (!statm) return 0;
    long size = 0, resident = 0, shared = 0;
    const bool read = std::fscanf(statm, "%ld %ld %ld", &size, &resident, &shared) == 3;
    std::fclose(statm);
    return read ? shared * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// The same just after the last time pages were handed back.
long afterLastRelease = -1;
#endif

void releaseIfMuchWasRead() {
#if defined(__linux__)
    if (afterLastRelease >= 0 && fileResidentKb() - afterLastRelease < kWorthALookKb) {
        releaseFreedMemory();
        return;
    }
#endif
    releaseUnusedPages();
}

}  // namespace

void releaseFontPages() {
#if defined(__linux__)
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps) return;
    char line[4096];
    Mapping mapping;
    while (std::fgets(line, sizeof line, maps)) {
        if (!readMapping(line, mapping)) continue;
        if (std::strcmp(mapping.perms, "r--p") != 0 || !std::strstr(mapping.path, "/fonts/")) continue;
        drop(mapping.start, mapping.end);
    }
    std::fclose(maps);
#endif
}

void releaseFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void releaseUnusedPages() {
#if defined(__linux__)
    std::FILE* smaps = std::fopen("/proc/self/smaps", "re");
    if (!smaps) return;
    std::vector<FileMapping> found;
    char line[4096];
    Mapping mapping;
    long value = 0;
    while (std::fgets(line, sizeof line, smaps)) {
        if (readMapping(line, mapping)) {
            // Files only: not the heap, stacks or the kernel's own pages,
            // nor devices, nor anything the pet may write to.
            const bool file = mapping.path[0] == '/' && std::strncmp(mapping.path, "/dev/", 5) != 0;
            found.push_back({mapping.start, mapping.end, file && !std::strchr(mapping.perms, 'w')});
        } else if (found.empty()) {
            continue;
        } else if (fieldValue(line, "Rss:", value)) {
            found.back().resident = value;
        } else if (fieldValue(line, "Anonymous:", value) || fieldValue(line, "Swap:", value)) {
            // A page of a file written to, even before the mapping was made
            // read-only, is a copy of the pet's own. (A page the file's
            // writer has not yet saved counts as dirty, but stays in the
            // page cache and is safe to drop.)
            found.back().copied += value;
        }
    }
    std::fclose(smaps);
    for (const FileMapping& each : found) {
        if (each.droppable()) drop(each.start, each.end);
    }
    afterLastRelease = fileResidentKb();
#endif
    releaseFreedMemory();
}

void releaseAfterHiding() {
    // Goes with the application.
    static QPointer<QTimer> later;
    if (!later) {
        if (!QCoreApplication::instance()) return;
        later = new QTimer(QCoreApplication::instance());
        later->setSingleShot(true);
        QObject::connect(later, &QTimer::timeout, [] { releaseIfMuchWasRead(); });
    }
    later->start(kAfterHiding);
}

}  // namespace glugmo
