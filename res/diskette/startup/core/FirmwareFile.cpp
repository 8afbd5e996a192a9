#include "FirmwareFile.h"

#include "Crc32.h"

namespace fwfile {
namespace {

const char kMagic[8] = {'V', 'F', 'L', 'A', 'S', 'H', 'F', 'W'};
const unsigned kFamily = 12, kModel = 14, kRevision = 54, kFlags = 62, kLength = 64, kPayloadCrc = 68,
               kHeaderCrc = 124;

uint32_t Get(const uint8_t* p, unsigned width)
{
    uint32_t v = 0;
    while (width--) v = (v << 8) | p[width];
    return v;
}

void Put(uint8_t* p, unsigned width, uint32_t v)
{
    for (unsigned i = 0; i < width; ++i, v >>= 8) p[i] = static_cast<uint8_t>(v);
}

// Copies a NUL-padded field out, always terminated.
void GetText(const uint8_t* p, unsigned size, char* out)
{
    unsigned i = 0;
    for (; i < size && p[i]; ++i) out[i] = static_cast<char>(p[i]);
    out[i] = 0;
}

bool PutText(uint8_t* p, unsigned size, const char* s)
{
    unsigned i = 0;
    for (; s[i]; ++i) {
        if (i == size) return false;
        p[i] = static_cast<uint8_t>(s[i]);
    }
    return i > 0;
}

bool Equal(const char* a, const char* b)
{
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

}  // namespace

bool Encode(const Header& h, uint8_t out[kHeaderSize])
{
    for (unsigned i = 0; i < kHeaderSize; ++i) out[i] = 0;
    for (unsigned i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(kMagic[i]);
    Put(out + 8, 2, kVersion);
    Put(out + 10, 2, kHeaderSize);
    if (!h.family[0] || !h.family[1] || h.family[2]) return false;
    if (!PutText(out + kFamily, 2, h.family)) return false;
    if (!PutText(out + kModel, kModelSize, h.model)) return false;
    if (!PutText(out + kRevision, kRevisionSize, h.revision)) return false;
    Put(out + kFlags, 2, h.flags);
    Put(out + kLength, 4, h.payloadLength);
    Put(out + kPayloadCrc, 4, h.payloadCrc);
    Put(out + kHeaderCrc, 4, crc32::Of(out, kHeaderCrc));
    return true;
}

Verdict CheckHeader(hw::Memory& file, uint32_t fileSize, Header* h)
{
    if (fileSize < kHeaderSize) return Verdict::kNotAFirmwareFile;
    uint8_t b[kHeaderSize];
    file.Read(0, b, kHeaderSize);
    for (unsigned i = 0; i < 8; ++i)
        if (b[i] != static_cast<uint8_t>(kMagic[i])) return Verdict::kNotAFirmwareFile;
    if (Get(b + 8, 2) != kVersion || Get(b + 10, 2) != kHeaderSize) return Verdict::kNotAFirmwareFile;
    if (Get(b + kHeaderCrc, 4) != crc32::Of(b, kHeaderCrc)) return Verdict::kHeaderDamaged;

    GetText(b + kFamily, 2, h->family);
    GetText(b + kModel, kModelSize, h->model);
    GetText(b + kRevision, kRevisionSize, h->revision);
    h->flags = static_cast<uint16_t>(Get(b + kFlags, 2));
    h->payloadLength = Get(b + kLength, 4);
    h->payloadCrc = Get(b + kPayloadCrc, 4);
    if (h->payloadLength == 0 || h->payloadLength % 512 || h->payloadLength != fileSize - kHeaderSize)
        return Verdict::kBadLength;
    return Verdict::kGood;
}

Verdict Check(hw::Memory& file, uint32_t fileSize, const char* model, const char* firmware, Header* h)
{
    const Verdict v = CheckHeader(file, fileSize, h);
    if (v != Verdict::kGood) return v;
    if (h->family[0] != firmware[0] || h->family[1] != firmware[1] || !firmware[0] || !firmware[1])
        return Verdict::kWrongFamily;
    if (!Equal(h->model, model)) return Verdict::kWrongModel;

    uint32_t crc = crc32::kStart;
    uint8_t chunk[512];
    for (uint32_t at = 0; at < h->payloadLength; at += sizeof chunk) {
        file.Read(kHeaderSize + at, chunk, sizeof chunk);
        crc = crc32::Update(crc, chunk, sizeof chunk);
    }
    if (crc32::Finish(crc) != h->payloadCrc) return Verdict::kPayloadDamaged;
    return Verdict::kGood;
}

}  // namespace fwfile
