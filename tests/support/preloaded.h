#pragma once

// What the libraries that the tests preload (LD_PRELOAD) share.

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace zondari::test::preloaded {

// Whether `fd` is open on the file that the environment variable
// `variable` names.
inline bool isOpenOn(int fd, const char* variable)
{
    const char* env = std::getenv(variable);
    char want[PATH_MAX], link[64], have[PATH_MAX];
    if (fd < 0 || !env || !*env || !::realpath(env, want))
        return false;
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, have, sizeof have - 1);
    if (n <= 0)
        return false;
    have[n] = '\0';
    return std::strcmp(want, have) == 0;
}

// The function of that name that the library stands in front of.
template <class F> F next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace zondari::test::preloaded
