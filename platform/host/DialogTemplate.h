// Reading a dialog template resource: the plain (DLGTEMPLATE) and the extended
// (DLGTEMPLATEEX) forms, as the dialog manager reads them to create a dialog.
#ifndef VFLASH_PLATFORM_HOST_DIALOGTEMPLATE_H
#define VFLASH_PLATFORM_HOST_DIALOGTEMPLATE_H

#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct DialogItemTemplate {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::int32_t id = 0;
    std::string className;  // predefined classes by name: "button", "static", ...
    std::string text;       // the text, or "#n" for an ordinal (an icon's resource id)
};

struct DialogTemplate {
    bool extended = false;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;       // empty: none
    std::string className;  // empty: the standard dialog class
    std::string caption;
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t charset = 0;
    std::string typeface;
    std::vector<DialogItemTemplate> items;
};

// False when the bytes are not a well-formed template.
bool ParseDialogTemplate(const std::uint8_t* data, std::size_t size, DialogTemplate* out);

}  // namespace host

#endif
