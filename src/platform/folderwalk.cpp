#include "platform/folderwalk.h"

#include <filesystem>
#include <system_error>

namespace zondari {

namespace fs = std::filesystem;
using catalogue::FolderListing;

FolderListing DiskFolders::list(const std::string& path)
{
    FolderListing out;
    auto fail = [&out](const std::error_code& ec) {
        out.outcome = ec == std::errc::permission_denied ? FolderListing::Outcome::Denied
                                                         : FolderListing::Outcome::Failed;
        out.error = runtimeErrorFromErrno(ec.value());
        out.folders.clear();
        out.files.clear();
        return out;
    };
    std::error_code ec;
    fs::directory_iterator it(path, ec);
    if (ec)
        return fail(ec);
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            return fail(ec);
        std::string name = it->path().filename().native();
        if (name.empty() || name.front() == '.')
            continue;
        // The entry's type comes from the listing itself; only links cost a
        // look at their target.
        std::error_code tec;
        if (it->is_symlink(tec)) {
            if (it->is_regular_file(tec))
                out.files.push_back(std::move(name));
        } else if (it->is_directory(tec)) {
            out.folders.push_back(std::move(name));
        } else if (it->is_regular_file(tec)) {
            out.files.push_back(std::move(name));
        }
    }
    if (ec)
        return fail(ec);
    return out;
}

}  // namespace zondari
