// Expands a playlist as the player does when it opens one; prints the
// number of entries it gives and the seconds that took.
//   bench_playlist LIST

#include "core/player/playlist.h"

#include <chrono>
#include <cstdio>

#include "platform/files.h"

int main(int argc, char** argv)
{
    using namespace zondari;
    if (argc != 2) {
        std::fprintf(stderr, "Uso: bench_playlist LISTA\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const auto entries = playlist::expand(files::absolutePath(argv[1]), files::openSource);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu %.3f\n", entries.size(), seconds);
    return 0;
}
