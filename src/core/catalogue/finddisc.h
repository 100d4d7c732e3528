#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/sidefile.h"

// Finding where a catalogued file is now: which mounted volume is the
// catalogue's disc, told by its identity (never by a path that merely
// exists: discs share mount points such as /media/cdrom0), and where the
// recorded path lies on it.
namespace zondari::catalogue {

// A volume mounted now, as the system shows it.
struct MountedVolume {
    std::string mountPoint;
    std::string label;
    std::vector<std::uint32_t> serials; // each serial it answers to (as Windows computes it, from its UUID)
    std::string uuid;
};

// What tells the catalogue's volume apart, and where its paths start.
struct DiscIdentity {
    std::string label;
    std::vector<std::uint32_t> serials; // empty when none is known
    std::string uuid;
    // The folder the volume was mounted at when the recorded paths were
    // written ("/media/cd"); empty when not known. A Windows path carries its
    // own root, the drive letter.
    std::string recordedRoot;
    // The folder scanned, when known: the volume's root lies at or above it.
    std::string folderScanned;

    // Whether anything tells the volume apart: a label, a serial or a UUID.
    bool known() const { return !label.empty() || !serials.empty() || !uuid.empty(); }
};

// The label, serial and folder part a catalogue file name carries:
// "ZOND_" + user + "_" + label + "_" + serial + folder part + ".txt".
struct NamedVolume {
    std::string label;
    std::int64_t serial = 0;
    std::string folderPart;
};

// Read from the right, so that a label holding "_" keeps it; nothing when
// the name is not a catalogue of `user`.
std::optional<NamedVolume> parseCatalogueName(std::string_view fileName, std::string_view user);

// A serial as either form records it: signed decimal ("-12345") or as
// Windows shows it ("1A2B-3C4D"); 0 and what is neither give nothing.
std::optional<std::uint32_t> parseSerial(std::string_view text);

// The identity of the catalogue `fileName` of `user`: from its volume file
// when there is one, else from its name.
DiscIdentity discIdentity(std::string_view fileName, std::string_view user, const std::optional<VolumeData>& volume);

// Whether `volume` is the disc: the same UUID, or the same label and one
// serial in common. A label alone decides only when nothing else is known.
bool isTheDisc(const MountedVolume& volume, const DiscIdentity& disc);

// Where a recorded path is now.
enum class Whereabouts {
    Mounted, // `path` is the file on the disc mounted now
    NotMounted, // no mounted volume is the disc
    Unidentified, // nothing tells the disc apart: `path` is the recorded path, not checked
};
struct Located {
    Whereabouts where = Whereabouts::NotMounted;
    std::string path;
    std::string mountPoint;
};

// Finds `recordedPath` (a catalogue entry: "/media/cd/Rock/a.mp3", or one
// made on Windows, "E:\Musica\a.mp3") among `mounts` (in mount order: of
// two at one mount point the later is the one seen). On the disc the path
// keeps its part below the recorded root, "\" turned into "/". When the
// recorded root is not known, the folders above the folder scanned are
// tried, nearest first, and the first whose mapping `exists` is taken.
Located locate(std::string_view recordedPath, const DiscIdentity& disc, const std::vector<MountedVolume>& mounts,
    const std::function<bool(const std::string&)>& exists = {});

// "Inserire il CD «Rock» (etichetta ROCK80, numero di serie 439041101)".
std::string insertDiscMessage(std::string_view title, const DiscIdentity& disc);

} // namespace zondari::catalogue
