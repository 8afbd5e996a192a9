#include "TestFiles.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "Fat12Image.h"
#include "core/Crc32.h"
#include "core/FirmwareFile.h"

namespace sim {

Bytes DisketteWith(const std::vector<std::pair<std::string, Bytes>>& files)
{
    std::ifstream in(VFLASH_TEST_BOOT_SECTOR, std::ios::binary);
    if (!in) throw std::runtime_error("boot sector not built: " VFLASH_TEST_BOOT_SECTOR);
    Bytes boot((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    mkdiskette::Fat12Image image(boot, "VFLASH");
    for (const auto& f : files) image.AddFile(f.first, f.second);
    return image.Build();
}

Bytes TestPayload(unsigned blocks)
{
    Bytes b(blocks * 512);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>((i * 31) ^ (i >> 9));
    return b;
}

Bytes FirmwareFile(const FirmwareSpec& spec)
{
    fwfile::Header h = {};
    spec.family.copy(h.family, 2);
    spec.model.copy(h.model, fwfile::kModelSize);
    spec.revision.copy(h.revision, fwfile::kRevisionSize);
    h.flags = spec.flags;
    h.payloadLength = static_cast<std::uint32_t>(spec.payload.size());
    h.payloadCrc = crc32::Of(spec.payload.data(), h.payloadLength);
    Bytes file(fwfile::kHeaderSize);
    if (!fwfile::Encode(h, file.data())) throw std::invalid_argument("firmware spec does not fit");
    file.insert(file.end(), spec.payload.begin(), spec.payload.end());
    return file;
}

}  // namespace sim
