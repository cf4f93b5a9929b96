#include "core/hugepages.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace plintex {
namespace {

// The pad makes every arena a thread allocates from take its whole heap (64 MiB) at once: only
// what a heap takes at its start is given huge pages, what it grows by later is not. Without it
// a thread's fresh rows fault in page by page, which costs some twenty times as long.
constexpr const char *kTunable = "glibc.malloc.hugetlb=1:glibc.malloc.top_pad=67108864";

bool hugePagesOnRequest()
{
    // "always [madvise] never": only where the choice is madvise does the allocator's request
    // change anything; "always" gives them anyway, "never" refuses them.
    FILE *f = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
    if (!f)
        return false;
    char line[128] = {};
    const bool read = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    return read && std::strstr(line, "[madvise]") != nullptr;
}

} // namespace

void restartWithHugePages(char **argv)
{
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    if ((tunables && std::strstr(tunables, "glibc.malloc.hugetlb")) || !hugePagesOnRequest())
        return;
    std::string value = tunables && *tunables ? std::string(tunables) + ":" + kTunable : kTunable;
    if (::setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    // Still here: the program goes on as it is.
}

} // namespace plintex
