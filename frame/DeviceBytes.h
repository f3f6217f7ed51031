#pragma once
// The byte codings of the simulated device's memory: big-endian unsigned
// numbers and IEEE floats, as PROFIBUS carries them. Reads beyond the bytes
// give 0; writes beyond them are left out.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dtm::frame {

inline float FloatAt(const std::vector<uint8_t>& bytes, size_t at) {
    if (bytes.size() < at + 4) return 0;
    const uint32_t bits = (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
                          (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
    return std::bit_cast<float>(bits);
}

inline void PutUnsigned(std::vector<uint8_t>& bytes, size_t at, uint64_t value, size_t length) {
    for (size_t i = 0; i < length && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * (length - 1 - i)));
}

inline void PutFloat(std::vector<uint8_t>& bytes, size_t at, float value) {
    PutUnsigned(bytes, at, std::bit_cast<uint32_t>(value), 4);
}

inline uint8_t ByteAt(const std::vector<uint8_t>& bytes, size_t at) { return at < bytes.size() ? bytes[at] : 0; }

}  // namespace dtm::frame
