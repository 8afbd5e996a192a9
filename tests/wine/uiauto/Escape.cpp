#include "Escape.h"

#include <cstdio>
#include <cstdlib>

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        switch (c) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'x':
                if (i + 2 < text.size()) {
                    out += char(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
                    i += 2;
                } else {
                    out += "\\x";
                }
                break;
            default: out += c;  // \\ and \" and anything else: the character itself
        }
    }
    return out;
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            default:
                if (c >= 0x20 && c < 0x7F) {
                    out += char(c);
                } else {
                    char hex[5];
                    std::snprintf(hex, sizeof(hex), "\\x%02X", c);
                    out += hex;
                }
        }
    }
    return out + "\"";
}
