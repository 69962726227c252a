#include "util/ProcessExit.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#if defined(__SANITIZE_ADDRESS__)
#define VELMO_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define VELMO_LEAK_CHECKED 1
#endif
#endif

namespace velmo {

void exitWithoutTeardown(int code) {
#ifdef VELMO_LEAK_CHECKED
    (void)code;
#else
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(code);
#endif
}

} // namespace velmo
