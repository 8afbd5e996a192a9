#include "Print.h"

namespace out {

void Text(hw::Console& c, const char* s)
{
    while (*s) c.Put(*s++);
}

void Line(hw::Console& c, const char* s)
{
    Text(c, s);
    c.Put('\n');
}

void Hex8(hw::Console& c, uint8_t v)
{
    const char* digits = "0123456789ABCDEF";
    c.Put(digits[v >> 4]);
    c.Put(digits[v & 15]);
}

void Decimal(hw::Console& c, uint32_t v)
{
    char buf[11];
    int n = 0;
    do {
        buf[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    while (n) c.Put(buf[--n]);
}

}  // namespace out
