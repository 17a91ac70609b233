#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian values assembled byte by byte, so nothing depends on the host's byte order.
namespace runtime {

inline std::uint32_t LoadUint32(std::span<const std::byte, 4> bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline void StoreUint32(std::uint32_t value, std::span<std::byte, 4> bytes) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::byte>(value >> (8 * i));
}

inline float LoadSingle(std::span<const std::byte, 4> bytes) {
    return std::bit_cast<float>(LoadUint32(bytes));
}

inline std::int32_t LoadInt32(std::span<const std::byte, 4> bytes) {
    return static_cast<std::int32_t>(LoadUint32(bytes));
}

inline void StoreSingle(float value, std::span<std::byte, 4> bytes) {
    StoreUint32(std::bit_cast<std::uint32_t>(value), bytes);
}

}  // namespace runtime
