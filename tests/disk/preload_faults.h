#pragma once
// Makes the test program run with the fault library (faults.cpp) preloaded: as it loads, a program
// started without it starts itself again with LD_PRELOAD naming it. The sanitizers are told not to
// mind that they are no longer the first library loaded.
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace preload_faults {

inline void ensure(char** argv)
{
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload && std::strstr(preload, PLINKAT_FAULTS_LIB))
        return;
    std::string value = PLINKAT_FAULTS_LIB;
    if (preload && *preload)
        value += std::string(":") + preload;
    ::setenv("LD_PRELOAD", value.c_str(), 1);
    const char* asan = std::getenv("ASAN_OPTIONS");
    ::setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":verify_asan_link_order=0").c_str(), 1);
    ::execv("/proc/self/exe", argv);
    // No exec: run on without the faults; the tests that need them say so.
}

} // namespace preload_faults
