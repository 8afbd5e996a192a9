// Reading the little-endian words, UTF-16 strings and DWORD alignment of Windows resource
// formats, never past the end of the bytes: a read beyond it yields zero and clears ok().
#ifndef VFLASH_PLATFORM_HOST_LEREADER_H
#define VFLASH_PLATFORM_HOST_LEREADER_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace host {

class LeReader {
public:
    // Alignment counts from `data`, which is where the format's DWORD boundaries start.
    LeReader(const std::uint8_t* data, std::size_t size) : m_begin(data), m_p(data), m_end(data + size) {}

    bool ok() const { return m_ok; }
    std::size_t Offset() const { return static_cast<std::size_t>(m_p - m_begin); }
    std::size_t Left() const { return static_cast<std::size_t>(m_end - m_p); }

    std::uint8_t Byte()
    {
        if (!Has(1)) return 0;
        return *m_p++;
    }
    std::uint16_t Word()
    {
        if (!Has(2)) return 0;
        std::uint16_t v = static_cast<std::uint16_t>(m_p[0] | (m_p[1] << 8));
        m_p += 2;
        return v;
    }
    std::uint32_t Dword()
    {
        std::uint32_t lo = Word();
        return lo | (static_cast<std::uint32_t>(Word()) << 16);
    }
    std::int16_t Short() { return static_cast<std::int16_t>(Word()); }

    // A NUL-terminated UTF-16 string, the first `first` character already read (0: none).
    // Characters beyond ASCII become '?': resource texts here are ASCII.
    std::string String(std::uint16_t first = 0xFFFF)
    {
        std::string s;
        for (std::uint16_t ch = first == 0xFFFF ? Word() : first; m_ok && ch != 0; ch = Word())
            s += static_cast<char>(ch < 0x80 ? ch : '?');
        return s;
    }
    void AlignDword() { Skip((4 - Offset() % 4) % 4); }
    void Skip(std::size_t n)
    {
        if (Has(n)) m_p += n;
    }

private:
    bool Has(std::size_t n)
    {
        if (Left() >= n) return true;
        m_ok = false;
        m_p = m_end;
        return false;
    }

    const std::uint8_t* m_begin;
    const std::uint8_t* m_p;
    const std::uint8_t* m_end;
    bool m_ok = true;
};

}  // namespace host

#endif
