#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "core/catalogue/catalogfile.h"
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

    // Opens the file and reads its title line.
    Status open(const std::string& path);

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

private:
    Status readTitle();     // from the start of the file
    Status fill();          // reads on after what the buffer holds
    Status skipLongLine();  // passes over the rest of a line too long to keep

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t begin_ = 0;  // what is not handed out yet: [begin_, end_)
    std::size_t end_ = 0;
    bool eof_ = false;
    bool skipping_ = false;         // inside a line too long to keep
    bool wholeInBuffer_ = false;    // the first read took the whole file
    std::size_t bodyInBuffer_ = 0;  // where the lines after the title start then
    bool rawNames_ = false;
    std::string title_;
};

}  // namespace zondari::catalogue
