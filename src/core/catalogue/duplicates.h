#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/catalogue/sidefile.h"

// The same music found in more than one place across the catalogues: by
// audio fingerprint where the scan took one, else, as probable, by the
// bytes of the frames and the play time, which copies share too but other
// music rarely does.
namespace zondari::catalogue {

inline constexpr const char* kDuplicatesPageName = "zondari-doppioni.htm";
inline constexpr const char* kNoDuplicatesMessage
    = "Nessun doppione trovato. I doppioni si cercano nei dati dei cataloghi: un CD letto senza dati (o con una "
      "versione precedente) va letto di nuovo.";

struct DuplicateCopy {
    std::string title; // the catalogue's
    std::string entry;
};

struct DuplicateGroup {
    std::string heading; // "2 file, stessa impronta audio ..." or "2 file, probabile (...)"
    std::vector<DuplicateCopy> copies;
};

class DuplicateFinder {
public:
    // One file's row, from the catalogue titled `title`.
    void add(const std::string& title, const TrackData& row);
    // The groups of two or more, the largest first; those of the same
    // size by fingerprint before the probable ones.
    std::vector<DuplicateGroup> groups() const;

private:
    std::map<std::string, std::vector<DuplicateCopy>> same_;
    std::map<std::pair<std::uint64_t, std::int32_t>, std::vector<DuplicateCopy>> probable_;
};

// The page of the groups: each group's heading, then each copy's catalogue
// title and its path, a link to the file.
std::string duplicatesPage(const std::vector<DuplicateGroup>& groups);

} // namespace zondari::catalogue
