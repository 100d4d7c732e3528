#include "core/catalogue/search.h"

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <memory>

#include "core/common/paths.h"

namespace zondari::catalogue {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A reusable read buffer: it grows to the largest file read and is never
// cleared, since every read overwrites what it returns.
class ReadBuffer {
public:
    // The whole file, valid until the next read.
    Result<std::string_view> read(const std::string& path)
    {
        File f(std::fopen(path.c_str(), "rb"));
        if (!f)
            return runtimeErrorFromErrno(errno);
        std::size_t have = 0;
        for (;;) {
            if (capacity_ - have < kChunk)
                grow(have + kChunk);
            const std::size_t got = std::fread(data_.get() + have, 1, capacity_ - have, f.get());
            have += got;
            if (got == 0 || std::feof(f.get())) {
                if (std::ferror(f.get()))
                    return runtimeErrorFromErrno(errno ? errno : EIO);
                return std::string_view(data_.get(), have);
            }
        }
    }

private:
    static constexpr std::size_t kChunk = 1 << 18;

    void grow(std::size_t atLeast)
    {
        const std::size_t size = std::max(atLeast, capacity_ * 2);
        std::unique_ptr<char[]> bigger(new char[size]);  // left uninitialised: reads fill it
        if (data_)
            std::copy(data_.get(), data_.get() + capacity_, bigger.get());
        data_ = std::move(bigger);
        capacity_ = size;
    }

    std::unique_ptr<char[]> data_;
    std::size_t capacity_ = 0;
};

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
        buffer.clear();
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
};

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

Result<WrittenPage> writeDatabasePage(const std::string& folder, const std::vector<std::string>& catalogues,
                                      const PageRequest& request, const PageProgress& progress)
{
    const std::string path = joinPath(folder, request.pageName());
    PageFile file(path);
    if (auto st = file.open(); !st)
        return st.error();

    DatabasePage page(request);
    std::string out;
    ReadBuffer buffer;
    page.begin(out);
    for (std::size_t i = 0; i < catalogues.size(); ++i) {
        const auto bytes = buffer.read(catalogues[i]);
        if (!bytes)
            return bytes.error();
        page.addCatalogue(*bytes, out);
        if (auto st = file.flush(out); !st)
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
