// A broken invariant ends the run like a crash (so the fuzzer keeps the input) and says
// which one it was.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);        \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)
