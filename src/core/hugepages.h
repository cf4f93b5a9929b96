#pragma once

namespace plintex {

/// A run that holds a whole text allocates a million small strings; on machines where transparent
/// huge pages are offered on request, asking glibc's allocator for them cuts the page faults of
/// that memory by two orders of magnitude (a 1,000,000-line text runs three to four times
/// faster). The allocator reads the request only at start-up, so this starts the program over
/// with it, once; it returns when that cannot or need not be done.
void restartWithHugePages(char **argv);

} // namespace plintex
