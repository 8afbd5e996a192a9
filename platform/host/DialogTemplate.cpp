#include "platform/host/DialogTemplate.h"

namespace host {

namespace {

const std::uint32_t kDsSetFont = 0x40;

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_begin(data), m_p(data), m_end(data + size) {}
    bool ok() const { return m_ok; }

    std::uint16_t Word()
    {
        if (m_end - m_p < 2) { m_ok = false; return 0; }
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
    std::uint8_t Byte()
    {
        if (m_end - m_p < 1) { m_ok = false; return 0; }
        return *m_p++;
    }
    std::string String()
    {
        std::string s;
        for (std::uint16_t ch = Word(); m_ok && ch != 0; ch = Word())
            s += static_cast<char>(ch < 0x80 ? ch : '?');
        return s;
    }
    // A string, or 0xFFFF and an ordinal (returned as "#n"), or 0x0000 for none.
    std::string StringOrOrdinal()
    {
        std::uint16_t first = Word();
        if (first == 0) return std::string();
        if (first == 0xFFFF) return "#" + std::to_string(Word());
        m_p -= 2;
        return String();
    }
    void AlignDword()
    {
        std::size_t offset = static_cast<std::size_t>(m_p - m_begin);
        std::size_t pad = (4 - offset % 4) % 4;
        if (static_cast<std::size_t>(m_end - m_p) < pad) { m_ok = false; return; }
        m_p += pad;
    }
    void Skip(std::size_t n)
    {
        if (static_cast<std::size_t>(m_end - m_p) < n) { m_ok = false; return; }
        m_p += n;
    }

private:
    const std::uint8_t* m_begin;
    const std::uint8_t* m_p;
    const std::uint8_t* m_end;
    bool m_ok = true;
};

// Window class names are case-insensitive (resource compilers write them in capitals);
// they are kept in lower case here.
std::string PredefinedClass(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (s == "#128") return "button";
    if (s == "#129") return "edit";
    if (s == "#130") return "static";
    if (s == "#131") return "listbox";
    if (s == "#132") return "scrollbar";
    if (s == "#133") return "combobox";
    return s;
}

}  // namespace

bool ParseDialogTemplate(const std::uint8_t* data, std::size_t size, DialogTemplate* out)
{
    Reader r(data, size);
    DialogTemplate t;
    std::uint16_t version = r.Word();
    std::uint16_t signature = r.Word();
    t.extended = version == 1 && signature == 0xFFFF;
    std::uint16_t count;
    if (t.extended) {
        r.Dword();  // help id
        t.exStyle = r.Dword();
        t.style = r.Dword();
    } else {
        t.style = version | (static_cast<std::uint32_t>(signature) << 16);
        t.exStyle = r.Dword();
    }
    count = r.Word();
    t.x = r.Short();
    t.y = r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    t.menu = r.StringOrOrdinal();
    t.className = r.StringOrOrdinal();
    t.caption = r.String();
    if (t.style & kDsSetFont) {
        t.pointSize = r.Word();
        if (t.extended) {
            t.weight = r.Word();
            t.italic = r.Byte();
            t.charset = r.Byte();
        }
        t.typeface = r.String();
    }
    for (std::uint16_t i = 0; i < count && r.ok(); ++i) {
        r.AlignDword();
        DialogItemTemplate item;
        if (t.extended) {
            r.Dword();  // help id
            item.exStyle = r.Dword();
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            item.exStyle = r.Dword();
        }
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = t.extended ? static_cast<std::int32_t>(r.Dword()) : static_cast<std::int16_t>(r.Word());
        item.className = PredefinedClass(r.StringOrOrdinal());
        item.text = r.StringOrOrdinal();
        r.Skip(r.Word());  // creation data
        t.items.push_back(item);
    }
    if (!r.ok()) return false;
    *out = t;
    return true;
}

}  // namespace host
