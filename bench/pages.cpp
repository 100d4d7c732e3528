// Makes a program folder full of catalogues for the pages benchmark:
//   bench_pages FOLDER CATALOGUES ENTRIES
// Each catalogue is one CD: folders of artists and albums, each followed by
// its tracks, as the scan writes them. One catalogue in ten was made on
// Windows (Windows-1252, drive letters and backslashes). The word
// "Zanzibar" is in about one track in 5,000; "amore" in about one in 12.

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/common/encoding.h"

namespace {

const char* const kArtists[] = {"Lucio Battisti", "Fabrizio De André", "Vasco Rossi", "Mina", "Franco Battiato",
    "Pino Daniele", "Lucio Dalla", "Francesco Guccini", "Litfiba", "Pooh", "Zucchero", "Ligabue", "Queen", "Pink Floyd",
    "The Beatles", "Led Zeppelin", "Miles Davis", "Nina Simone", "Ennio Morricone", "Caetano Veloso"};
const char* const kGenres[] = {"Pop", "Rock", "Cantautori", "Jazz", "Colonne sonore", "Progressive"};
const char* const kWords[] = {"notte", "cuore", "strada", "città", "mare", "perché", "sole", "vento", "tempo",
    "canzone", "luna", "fiume", "sogno", "viaggio", "casa", "cielo", "più", "là", "domani", "ieri", "sempre", "mai",
    "blues", "rock", "live", "remix", "parte", "ballata", "primavera", "estate", "amore"};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Uso: bench_pages CARTELLA CATALOGHI VOCI\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int catalogues = std::atoi(argv[2]);
    const int perCatalogue = std::atoi(argv[3]);
    std::mt19937 rng(20240601);
    auto pick = [&](auto& list) { return list[rng() % (sizeof(list) / sizeof(list[0]))]; };

    for (int c = 0; c < catalogues; ++c) {
        const bool windows = c % 10 == 9;
        const std::string label = "CD" + std::to_string(c);
        const std::string root = windows ? "E:\\Musica\\" + label : "/media/utente/" + label;
        const char sep = windows ? '\\' : '/';
        std::string text = "Raccolta " + std::to_string(c) + "\r\n";
        int n = 0;
        while (n < perCatalogue) {
            const std::string artist = std::string(pick(kGenres)) + sep + pick(kArtists);
            const std::string album = root + sep + artist + sep + std::to_string(1960 + rng() % 60) + " - "
                + pick(kWords) + " " + pick(kWords);
            text += "(" + album + ")\r\n";
            ++n;
            const int tracks = 8 + static_cast<int>(rng() % 8);
            for (int t = 1; t <= tracks && n < perCatalogue; ++t, ++n) {
                std::string title = std::string(pick(kWords)) + " " + pick(kWords);
                if (rng() % 5000 == 0)
                    title += " Zanzibar";
                text += album + sep + (t < 10 ? "0" : "") + std::to_string(t) + " - " + title + ".mp3\r\n";
            }
        }
        const std::string bytes = windows ? zondari::encoding::utf8ToCp1252Lossy(text) : text;
        const std::string path = folder + "/ZOND_DEFAULT_" + label + "_" + std::to_string(1000 + c) + ".txt";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
            std::perror(path.c_str());
            return 1;
        }
        std::fclose(f);
    }
    return 0;
}
