#pragma once

#include <string>

#include "core/catalogue/findsubfolders.h"

// What a scan passed over or left out, said at its end in the window and on
// the command line: nothing is left out unsaid.
namespace zondari::catalogue {

// "Lettura incompleta: 1 cartella non leggibile (permesso negato), 2 nomi
// con un a capo lasciati fuori"; empty when the walk took everything.
std::string leftOutLine(const ScanOutcome& outcome);

// The folders and names themselves, each list under its heading, one a line;
// a line feed or carriage return in a name shown as \n or \r.
std::string leftOutDetails(const ScanOutcome& outcome);

} // namespace zondari::catalogue
