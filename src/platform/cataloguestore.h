#pragma once

#include <string>
#include <vector>

#include "core/catalogue/catalogfile.h"
#include "core/common/result.h"
#include "platform/volume.h"

// The catalogue files in the program folder.
namespace zondari::catalogue {

// The names of the catalogue files of `user` in `folder`, in the order of
// the directory search.
Result<std::vector<std::string>> catalogueFiles(const std::string& folder, const std::string& user);

// The catalogue list: an item (name \ (title)) for each catalogue file of
// `user`, sorted. A file whose title cannot be read is listed with an empty
// title, so that it can still be deleted.
Result<std::vector<std::string>> catalogueListItems(const std::string& folder, const std::string& user);

// The name the catalogue of the chosen folder gets: user, label and serial
// of the volume that holds it, and the folder part.
std::string catalogueNameFor(const VolumeReader& volumes, const std::string& folder, const std::string& user);

// The catalogue in the file at `path`, read as parseCatalogue reads it,
// through a buffer of fixed size: a file of any size holds as much as its
// entries take.
Result<Catalogue> readCatalogue(const std::string& path);

// The title of the catalogue file at `path` (its first line, cut as
// cutTitle cuts it); the rest of the file is not read.
Result<std::string> readCatalogueTitle(const std::string& path);

// Removes the temporary files that scans of processes no longer running
// left in `folder` (a scan killed while writing); those of running scans
// stay.
void removeStaleTemporaries(const std::string& folder);

// The catalogue files the general and the search pages read: those of
// `folder` that the directory search matches with "ZOND_" + user + "*.txt",
// as full paths in the order it delivers them.
Result<std::vector<std::string>> pageCataloguePaths(const std::string& folder, const std::string& user);

// Writes the catalogue to a temporary file in `folder`, flushes it and
// renames it over `name`: a failure on the way leaves an older catalogue
// whole. The temporary file is hidden and named by the process:
// ".zondari-catalogo-<pid>.tmp".
Status writeCatalogue(const std::string& folder, const std::string& name, const Catalogue& catalogue);

}  // namespace zondari::catalogue
