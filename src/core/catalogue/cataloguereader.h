#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "core/catalogue/catalogfile.h"
#include "core/common/bytesource.h"
#include "core/common/encoding.h"
#include "core/common/result.h"

namespace zondari::catalogue {

// Reads a catalogue file through a buffer of fixed size, so that a file of
// any size (a damaged one may be a gigabyte without a line break) costs the
// same memory: the title is kept up to kMaxTitleBytes, and a line that does
// not fit the buffer is passed over whole.
class CatalogueReader {
public:
    explicit CatalogueReader(std::size_t bufferBytes = std::size_t(1) << 20);
    ~CatalogueReader();
    CatalogueReader(const CatalogueReader&) = delete;
    CatalogueReader& operator=(const CatalogueReader&) = delete;

    // Reads from `source` (a catalogue file the platform opened): its title
    // line first.
    Status open(std::unique_ptr<ByteSource> source);

    // Whether the file starts with the mark of a catalogue holding names
    // not in UTF-8.
    bool rawNames() const { return rawNames_; }

    // The title line's bytes (cut as `cutTitle` cuts it), without its end.
    const std::string& title() const { return title_; }

    // The next lines after the title: bytes holding whole lines, each ended
    // by LF, except the file's last line, which may have no end. Empty at
    // the end of the file. Valid until the next call.
    Result<std::string_view> next();

    // Back to the first line after the title.
    Status restart();

    // Whether a read of the file failed since `open`: what was taken of it
    // is not the whole catalogue.
    bool failed() const { return failed_; }

private:
    Status readTitle(); // from the start of the file
    Status fill(); // reads on after what the buffer holds
    Status failure(RuntimeError error); // notes that the file failed
    Status skipLongLine(); // passes over the rest of a line too long to keep

    std::unique_ptr<ByteSource> source_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t begin_ = 0; // what is not handed out yet: [begin_, end_)
    std::size_t end_ = 0;
    bool eof_ = false;
    bool skipping_ = false; // inside a line too long to keep
    bool wholeInBuffer_ = false; // the first read took the whole file
    std::size_t bodyInBuffer_ = 0; // where the lines after the title start then
    bool rawNames_ = false;
    bool failed_ = false;
    std::string title_;
};

// Reads the lines of the open catalogue block by block, in the coding its
// mark and title call for. A catalogue made on Windows shows itself by a
// line that is not UTF-8: `take(lines, coding)` answers false at it, and the
// reading goes back to the first line and reads all of it again as
// Windows-1252. `pass(coding)` starts every reading, the first included, so
// that the caller can drop what an earlier one made. `take` gives
// Result<bool> and `pass` a Status; a failure of either ends the reading.
template <class Pass, class Take> Status readCatalogueLines(CatalogueReader& reader, Pass pass, Take take)
{
    LineCoding coding = reader.rawNames()       ? LineCoding::RawNames
        : encoding::isValidUtf8(reader.title()) ? LineCoding::Undecided
                                                : LineCoding::Windows1252;
    for (;;) {
        if (auto st = pass(coding); !st)
            return st;
        bool whole = true;
        for (;;) {
            const auto lines = reader.next();
            if (!lines)
                return lines.error();
            if (lines->empty())
                break;
            const Result<bool> taken = take(*lines, coding);
            if (!taken)
                return taken.error();
            if (!*taken) {
                whole = false;
                break;
            }
        }
        if (whole)
            return {};
        if (auto st = reader.restart(); !st)
            return st;
        coding = LineCoding::Windows1252;
    }
}

} // namespace zondari::catalogue
