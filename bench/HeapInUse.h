#pragma once
// The heap a benchmark program holds, read from the allocator.
//
// The allocator's per-thread cache keeps freed blocks counted as in use (up
// to some 200 kB); a program that includes this header runs itself again with
// that cache off, so that the heap in use is what the program holds.
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace dtm::bench {

// True when the allocator's per-thread cache is off (the program ran itself
// again); false only when that failed and the figures include the cache.
inline const bool kAllocatorCacheOff = [] {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "tcache_count=0")) return true;
    std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    for (size_t pos = 0; pos < all.size();) {
        const size_t end = all.find('\0', pos);
        args.push_back(all.substr(pos, end - pos));
        pos = end == std::string::npos ? all.size() : end + 1;
    }
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    setenv("GLIBC_TUNABLES", "glibc.malloc.tcache_count=0", 1);
    execv("/proc/self/exe", argv.data());
    return false;  // measured with the cache then
}();

// Bytes the allocator has handed out and not taken back.
inline double HeapInUse() {
    malloc_trim(0);
    const auto info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

}  // namespace dtm::bench
