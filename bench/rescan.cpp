// The memory a rescan's comparison takes beside the scan it is given: a
// stored catalogue of ENTRIES entries is written into FOLDER, and
// compareWithStored compares it with a scan that is the same, that differs
// in one entry in a hundred, and that shares nothing with it (another disc
// under the same name). Every allocation of the process is counted, so the
// figure is the peak of what the comparison holds, its answer included.
//   bench_rescan FOLDER [ENTRIES]
// Prints, for each case, that peak next to the catalogue file's size.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <string>
#include <vector>

#include "platform/cataloguestore.h"

namespace {

// What the heap holds now and at most since the last reset: each block as
// the allocator gives it, with its header.
std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gPeak{0};

void* counted(std::size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    const std::size_t now
        = gLive.fetch_add(malloc_usable_size(p) + sizeof(void*)) + malloc_usable_size(p) + sizeof(void*);
    for (std::size_t peak = gPeak.load(); now > peak && !gPeak.compare_exchange_weak(peak, now);)
        ;
    return p;
}

void uncounted(void* p)
{
    if (!p)
        return;
    gLive.fetch_sub(malloc_usable_size(p) + sizeof(void*));
    std::free(p);
}

} // namespace

void* operator new(std::size_t n)
{
    return counted(n);
}
void* operator new[](std::size_t n)
{
    return counted(n);
}
void operator delete(void* p) noexcept
{
    uncounted(p);
}
void operator delete[](void* p) noexcept
{
    uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    uncounted(p);
}

namespace {

namespace store = zondari::cataloguestore;

// A disc's worth of paths: a folder entry before each hundred tracks.
std::vector<std::string> disc(const std::string& root, std::size_t entries)
{
    std::vector<std::string> out;
    out.reserve(entries);
    for (std::size_t i = 0; out.size() < entries; ++i) {
        const std::string folder = root + "/Artista " + std::to_string(i / 1000) + "/Album " + std::to_string(i / 100);
        if (i % 100 == 0)
            out.push_back("(" + folder + ")");
        out.push_back(folder + "/Traccia " + std::to_string(i % 100) + " - titolo della canzone.mp3");
    }
    out.resize(entries);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Uso: bench_rescan CARTELLA [VOCI]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::size_t entries = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 200000;
    const std::vector<std::string> stored = disc("/media/cdrom", entries);
    std::vector<std::string> someChanged = stored;
    for (std::size_t i = 1; i < someChanged.size(); i += 100)
        someChanged[i] += ".nuovo";
    const struct {
        const char* name;
        std::vector<std::string> scanned;
    } cases[] = {
        {"same entries", stored},
        {"one entry in 100 changed", someChanged},
        {"nothing in common", disc("/media/altro", entries)},
    };
    if (!store::writeCatalogue(folder, "ZOND_BENCH_1.txt", {"Prova", stored})) {
        std::fprintf(stderr, "bench_rescan: il catalogo non si scrive in %s\n", folder.c_str());
        return 1;
    }
    const std::string file = folder + "/ZOND_BENCH_1.txt";
    const auto size = static_cast<double>(std::filesystem::file_size(file));
    std::printf("stored catalogue: %zu entries, %.1f MiB\n", entries, size / 1048576);
    double worst = 0;
    for (const auto& c : cases) {
        const std::size_t before = gLive.load();
        gPeak = before;
        {
            const store::StoredComparison compared = store::compareWithStored(file, c.scanned);
            if (!compared.compared)
                return 1;
        }
        const double ratio = static_cast<double>(gPeak.load() - before) / size;
        worst = std::max(worst, ratio);
        std::printf("%-28s peak %8.1f MiB  %5.2f x the catalogue\n", c.name,
            static_cast<double>(gPeak.load() - before) / 1048576, ratio);
    }
    std::printf("worst: %.2f x the catalogue (target: under 2)\n", worst);
    return worst < 2 ? 0 : 1;
}
