// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Little-endian reads over a byte range; reads and seeks stop at the end, and
// bytes that cannot be read are zeros.
class MemoryReader {
public:
    MemoryReader(const std::uint8_t* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}

    std::uint8_t u8()
    {
        return m_position < m_size ? m_bytes[m_position++] : (m_position = m_size, 0);
    }
    std::uint16_t u16()
    {
        const unsigned low = u8();
        return static_cast<std::uint16_t>(low | unsigned(u8()) << 8);
    }
    std::uint32_t u32()
    {
        const std::uint32_t low = u16();
        return low | std::uint32_t(u16()) << 16;
    }
    void read(std::uint8_t* destination, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            destination[i] = u8();
        }
    }
    void skip(std::size_t count) { seek(m_position + (count < m_size ? count : m_size)); }
    void seek(std::size_t position) { m_position = position < m_size ? position : m_size; }
    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_size - m_position; }
    const std::uint8_t* here() const { return m_bytes + m_position; }

private:
    const std::uint8_t* m_bytes;
    std::size_t m_size;
    std::size_t m_position = 0;
};
