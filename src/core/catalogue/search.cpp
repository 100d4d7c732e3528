#include "core/catalogue/search.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/catalogue/cataloguereader.h"
#include "core/common/encoding.h"
#include "core/common/paths.h"

namespace zondari::catalogue {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The page as it is written: a temporary file that takes the page's name
// when it is complete and disappears otherwise.
class PageFile {
public:
    PageFile(std::string path) : path_(std::move(path)), temp_(tempName(path_)) {}
    ~PageFile()
    {
        if (file_) {
            file_.reset();
            std::remove(temp_.c_str());
        }
    }

    Status open()
    {
        file_.reset(std::fopen(temp_.c_str(), "wb"));
        return file_ ? Status() : Status(runtimeErrorFromErrno(errno));
    }

    // Writes out what `buffer` holds once it has grown past a few pages of
    // text, or always when `force`.
    Status flush(std::string& buffer, bool force = false)
    {
        if (buffer.empty() || (!force && buffer.size() < (1u << 20)))
            return {};
        if (std::fwrite(buffer.data(), 1, buffer.size(), file_.get()) != buffer.size())
            return runtimeErrorFromErrno(errno ? errno : EIO);
        written_ += buffer.size();
        extent_ = std::max(extent_, written_);
        buffer.clear();
        return {};
    }

    // How long the page is, with what `buffer` still holds.
    std::uint64_t position(const std::string& buffer) const { return written_ + buffer.size(); }

    // Takes the page back to `position`: what came after it is written
    // again.
    Status rewind(std::uint64_t position, std::string& buffer)
    {
        if (position >= written_) {
            buffer.resize(static_cast<std::size_t>(position - written_));
            return {};
        }
        buffer.clear();
        if (std::fflush(file_.get()) != 0 || std::fseek(file_.get(), static_cast<long>(position), SEEK_SET) != 0)
            return runtimeErrorFromErrno(errno ? errno : EIO);
        written_ = position;
        return {};
    }

    Status commit()
    {
        std::FILE* f = file_.release();
        if (std::fclose(f) != 0) {
            const int err = errno;
            std::remove(temp_.c_str());
            return runtimeErrorFromErrno(err);
        }
        if (extent_ > written_) {
            // A catalogue read again came out shorter than the first time.
            std::error_code ec;
            std::filesystem::resize_file(temp_, written_, ec);
            if (ec) {
                std::remove(temp_.c_str());
                return runtimeErrorFromErrno(ec.value());
            }
        }
        if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
            const int err = errno;
            std::remove(temp_.c_str());
            return runtimeErrorFromErrno(err);
        }
        return {};
    }

private:
    // Hidden, so that no directory search of the folder ever lists it.
    static std::string tempName(const std::string& path)
    {
        const auto slash = path.rfind('/');
        const std::size_t at = slash == std::string::npos ? 0 : slash + 1;
        return path.substr(0, at) + "." + path.substr(at) + ".nuovo";
    }

    std::string path_;
    std::string temp_;
    File file_;
    std::uint64_t written_ = 0;  // bytes handed to the file
    std::uint64_t extent_ = 0;   // the most it ever held
};

// Adds one catalogue file to `page`. Its lines are read as UTF-8 until one
// is not: a catalogue made on Windows then goes back to its start, its
// lines already on the page are taken off, and all of it is read again as
// Windows-1252, as the catalogue reader reads it.
template <class Page>
Status addCatalogueFile(CatalogueReader& reader, Page& page, PageFile& file, std::string& out)
{
    LineCoding coding = reader.rawNames() ? LineCoding::RawNames
                        : encoding::isValidUtf8(reader.title()) ? LineCoding::Undecided
                                                                : LineCoding::Windows1252;
    const std::uint64_t start = file.position(out);
    long hits = 0;
    if constexpr (requires { page.hits(); })
        hits = page.hits();
    for (;;) {
        page.beginCatalogue(reader.title(), coding, out);
        bool whole = true;
        for (;;) {
            const auto lines = reader.next();
            if (!lines)
                return lines.error();
            if (lines->empty())
                break;
            if (!page.addLines(*lines, coding, out)) {
                whole = false;
                break;
            }
            if (auto st = file.flush(out); !st)
                return st;
        }
        if (whole) {
            page.endCatalogue(out);
            return file.flush(out);
        }
        if (auto st = file.rewind(start, out); !st)
            return st;
        if constexpr (requires { page.restoreHits(hits); })
            page.restoreHits(hits);
        if (auto st = reader.restart(); !st)
            return st;
        coding = LineCoding::Windows1252;
    }
}

}  // namespace

std::string noHitMessage(const std::string& text)
{
    return "Non trovato nessun file musicale contenente la stringa : " + text;
}

Result<std::string> writeExportPage(const std::string& folder, std::string_view title,
                                    const std::vector<std::string>& entries)
{
    const std::string path = joinPath(folder, kExportPageName);
    PageFile file(path);
    std::string out = exportPage(title, entries);
    if (auto st = file.open(); !st)
        return st.error();
    if (auto st = file.flush(out, true); !st)
        return st.error();
    if (auto st = file.commit(); !st)
        return st.error();
    return path;
}

Result<std::string> writeCataloguePage(const std::string& folder, const std::string& cataloguePath)
{
    CatalogueReader reader;
    if (auto st = reader.open(cataloguePath); !st)
        return st.error();
    const std::string path = joinPath(folder, kExportPageName);
    PageFile file(path);
    if (auto st = file.open(); !st)
        return st.error();
    ExportPage page;
    std::string out;
    page.begin(out);
    if (auto st = addCatalogueFile(reader, page, file, out); !st)
        return st.error();
    page.end(out);
    if (auto st = file.flush(out, true); !st)
        return st.error();
    if (auto st = file.commit(); !st)
        return st.error();
    return path;
}

Result<WrittenPage> writeDatabasePage(const std::string& folder, const std::vector<std::string>& catalogues,
                                      const PageRequest& request, const PageProgress& progress)
{
    const std::string path = joinPath(folder, request.pageName());
    PageFile file(path);
    if (auto st = file.open(); !st)
        return st.error();

    DatabasePage page(request);
    std::string out;
    CatalogueReader reader;
    page.begin(out);
    for (std::size_t i = 0; i < catalogues.size(); ++i) {
        if (auto st = reader.open(catalogues[i]); !st)
            return st.error();
        if (auto st = addCatalogueFile(reader, page, file, out); !st)
            return st.error();
        if (progress)
            progress(i + 1, catalogues.size());
    }
    page.end(out);
    if (auto st = file.flush(out, true); !st)
        return st.error();
    if (auto st = file.commit(); !st)
        return st.error();
    return WrittenPage{path, page.hits()};
}

}  // namespace zondari::catalogue
