// Replays every file of a fuzz corpus folder through LLVMFuzzerTestOneInput,
// so that the committed seeds run as an ordinary test without libFuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    std::error_code ec;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], ec)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++replayed;
    }
    if (ec || replayed == 0) {
        std::fprintf(stderr, "no corpus files in %s\n", argv[1]);
        return 1;
    }
    std::printf("replayed %d inputs\n", replayed);
    return 0;
}
