#include "platform/host/DialogTemplate.h"

#include "platform/host/LeReader.h"

namespace host {

namespace {

const std::uint32_t kDsSetFont = 0x40;

// 0xFFFF and an ordinal (returned as "#n"), a string, or 0x0000 for none.
std::string StringOrOrdinal(LeReader& r)
{
    std::uint16_t first = r.Word();
    if (first == 0) return std::string();
    if (first == 0xFFFF) return "#" + std::to_string(r.Word());
    return r.String(first);
}

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
    LeReader r(data, size);
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
    t.menu = StringOrOrdinal(r);
    t.className = StringOrOrdinal(r);
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
        item.className = PredefinedClass(StringOrOrdinal(r));
        item.text = StringOrOrdinal(r);
        r.Skip(r.Word());  // creation data
        t.items.push_back(item);
    }
    if (!r.ok()) return false;
    *out = t;
    return true;
}

}  // namespace host
