// Bounds-checked little-endian reads over bytes that came from a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace iconexport {

using Bytes = std::span<const std::uint8_t>;

// Exact results or nothing: offsets and sizes from files go through these, never through + and *.
inline std::optional<std::uint64_t> CheckedAdd(std::uint64_t a, std::uint64_t b) {
    std::uint64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return std::nullopt;
    }
    return sum;
}

inline std::optional<std::uint64_t> CheckedMul(std::uint64_t a, std::uint64_t b) {
    std::uint64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) {
        return std::nullopt;
    }
    return product;
}

class ByteReader {
public:
    explicit ByteReader(Bytes bytes) : bytes_(bytes) {}

    std::uint64_t size() const { return bytes_.size(); }
    Bytes bytes() const { return bytes_; }

    // True when `length` bytes exist at `offset`; compared with what remains, so it cannot wrap.
    bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size() && length <= size() - offset;
    }

    std::optional<std::uint8_t> U8(std::uint64_t offset) const {
        if (!Has(offset, 1)) {
            return std::nullopt;
        }
        return bytes_[static_cast<std::size_t>(offset)];
    }

    std::optional<std::uint16_t> U16(std::uint64_t offset) const {
        if (!Has(offset, 2)) {
            return std::nullopt;
        }
        const auto* p = bytes_.data() + offset;
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }

    std::optional<std::uint32_t> U32(std::uint64_t offset) const {
        if (!Has(offset, 4)) {
            return std::nullopt;
        }
        const auto* p = bytes_.data() + offset;
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }

    std::optional<std::int32_t> I32(std::uint64_t offset) const {
        const auto value = U32(offset);
        if (!value) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(*value);
    }

    // PNG stores its numbers big-endian.
    std::optional<std::uint32_t> U32BigEndian(std::uint64_t offset) const {
        if (!Has(offset, 4)) {
            return std::nullopt;
        }
        const auto* p = bytes_.data() + offset;
        return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
               (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
    }

    std::optional<Bytes> Sub(std::uint64_t offset, std::uint64_t length) const {
        if (!Has(offset, length)) {
            return std::nullopt;
        }
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    }

    // Everything from `offset` to the end.
    std::optional<Bytes> From(std::uint64_t offset) const {
        if (offset > size()) {
            return std::nullopt;
        }
        return bytes_.subspan(static_cast<std::size_t>(offset));
    }

private:
    Bytes bytes_;
};

} // namespace iconexport
