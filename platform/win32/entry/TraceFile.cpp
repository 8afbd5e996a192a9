#include "platform/win32/entry/TraceFile.h"

#include <cinttypes>
#include <cstdio>

namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

}  // namespace

std::string FormatCall(const sim::Call& call) {
    char numbers[256];
    std::snprintf(numbers, sizeof(numbers),
                  " code=0x%" PRIx32 " arg1=0x%" PRIx64 " arg2=0x%" PRIx64 " handle=0x%" PRIx64
                  " result=%" PRId64 " bytes=%zu thread=%u",
                  call.code, call.arg1, call.arg2, call.handle, call.result, call.in.size(),
                  call.thread);
    return call.fn + numbers + " device=" + Quoted(call.device) + " text=" + Quoted(call.text);
}

bool WriteTraceFile(const char* path, const std::vector<sim::Call>& calls) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    bool ok = true;
    for (const sim::Call& call : calls) {
        std::string line = FormatCall(call) + "\n";
        ok = std::fwrite(line.data(), 1, line.size(), file) == line.size() && ok;
    }
    return std::fclose(file) == 0 && ok;
}
