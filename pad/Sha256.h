#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace quarn {

// SHA-256 (FIPS 180-4), small and without dependencies: the pad history keeps digests, never pads.
class Sha256
{
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    void add(std::string_view bytes);
    Digest finish(); // the digest of everything added; the object is spent afterwards

    static Digest of(std::string_view bytes);

private:
    void block(const std::uint8_t* p);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0; // bytes added
};

} // namespace quarn
