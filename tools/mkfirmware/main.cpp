// mkfirmware: wraps a drive maker's microcode image in the diskette's firmware file
// format (res/diskette/startup/core/FirmwareFile.h), using the very code that the
// start-up program checks it with.
//
//   mkfirmware --family QN --model "VELMORA VM2000" --revision QN2-0410
//              [--unannounced-ok] --payload IMAGE --output QN.FW
//
// --unannounced-ok marks a family that takes DOWNLOAD MICROCODE although its IDENTIFY
// data does not announce the command; only the maker can know that of its drives.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "core/Crc32.h"
#include "core/FirmwareFile.h"

namespace {

int Usage()
{
    std::cerr << "usage: mkfirmware --family XX --model TEXT --revision TEXT [--unannounced-ok]\n"
                 "                  --payload IMAGE --output FAMILY.FW\n";
    return 2;
}

int Fail(const std::string& why)
{
    std::cerr << "mkfirmware: " << why << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string family, model, revision, payloadPath, output;
    bool unannouncedOk = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* value = arg == "--family" ? &family
                             : arg == "--model" ? &model
                             : arg == "--revision" ? &revision
                             : arg == "--payload" ? &payloadPath
                             : arg == "--output" ? &output
                                                 : nullptr;
        if (value && i + 1 < argc) {
            *value = argv[++i];
        } else if (arg == "--unannounced-ok") {
            unannouncedOk = true;
        } else {
            return Usage();
        }
    }
    if (family.empty() || model.empty() || revision.empty() || payloadPath.empty() || output.empty())
        return Usage();

    std::ifstream in(payloadPath, std::ios::binary);
    if (!in) return Fail("cannot read " + payloadPath);
    const std::vector<std::uint8_t> payload((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The drive takes whole 512-byte blocks; padding a maker's image here would send
    // bytes the maker never made.
    if (payload.empty() || payload.size() % 512) return Fail("payload must be a non-zero multiple of 512 bytes");

    fwfile::Header h = {};
    if (family.size() != 2) return Fail("family code must be 2 characters");
    family.copy(h.family, 2);
    if (model.size() > fwfile::kModelSize) return Fail("model text longer than 40 characters");
    model.copy(h.model, model.size());
    if (revision.size() > fwfile::kRevisionSize) return Fail("revision longer than 8 characters");
    revision.copy(h.revision, revision.size());
    h.flags = unannouncedOk ? fwfile::kFlagUnannouncedOk : 0;
    h.payloadLength = static_cast<std::uint32_t>(payload.size());
    h.payloadCrc = crc32::Of(payload.data(), h.payloadLength);

    std::uint8_t header[fwfile::kHeaderSize];
    if (!fwfile::Encode(h, header)) return Fail("family, model or revision does not fit the header");

    const std::string temp = output + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        out.write(reinterpret_cast<const char*>(payload.data()), static_cast<std::streamsize>(payload.size()));
        if (!out) return Fail("cannot write " + temp);
    }
    if (std::rename(temp.c_str(), output.c_str()) != 0) return Fail("cannot write " + output);
    return 0;
}
