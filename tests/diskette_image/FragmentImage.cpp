// fragment_image IN OUT: copies a diskette image, scattering STARTUP.BIN's clusters so that
// the boot sector's loader has to follow a chain that jumps back and forth: a run that
// crosses a track boundary, clusters in reverse order, single clusters far apart. Our
// image builder never writes such a chain, but any FAT tool that copies files may.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "Fat12Image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr unsigned kSector = 512, kFat = 1 * kSector, kFatBytes = 9 * kSector, kRoot = 19 * kSector;

unsigned Get(const Bytes& img, unsigned c)
{
    const unsigned v = img[kFat + c * 3 / 2] | (img[kFat + c * 3 / 2 + 1] << 8);
    return (c & 1) ? v >> 4 : v & 0xFFF;
}

void Set(Bytes& img, unsigned c, unsigned value) { mkdiskette::SetFatEntry(&img[kFat], c, value); }

std::uint8_t* Cluster(Bytes& img, unsigned c) { return &img[(33 + c - 2) * kSector]; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: fragment_image IN OUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    Bytes img((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (img.size() != 1474560 || std::memcmp(&img[kRoot + 32], "STARTUP BIN", 11) != 0) {
        std::cerr << "fragment_image: no STARTUP.BIN in the first file entry of " << argv[1] << "\n";
        return 1;
    }

    std::vector<unsigned> old;
    for (unsigned c = img[kRoot + 32 + 26] | (img[kRoot + 32 + 27] << 8); c < 0xFF8; c = Get(img, c)) old.push_back(c);
    if (old.size() < 12) {
        std::cerr << "fragment_image: STARTUP.BIN is too small to scatter\n";
        return 1;
    }

    // New places, all in the free area well above the files: 6 neighbours around the
    // track boundary at sector 1044 (cluster 1013), then the rest backwards, two apart.
    std::vector<unsigned> now;
    for (unsigned i = 0; i < 6; ++i) now.push_back(1010 + i);
    for (unsigned i = 6; i < old.size(); ++i) now.push_back(2600 - 2 * i);

    Bytes data;
    for (unsigned c : old) data.insert(data.end(), Cluster(img, c), Cluster(img, c) + kSector);
    for (unsigned c : old) {
        std::memset(Cluster(img, c), 0xF6, kSector);
        Set(img, c, 0);
    }
    for (unsigned i = 0; i < now.size(); ++i) {
        std::memcpy(Cluster(img, now[i]), &data[i * kSector], kSector);
        Set(img, now[i], i + 1 < now.size() ? now[i + 1] : 0xFFF);
    }
    img[kRoot + 32 + 26] = static_cast<std::uint8_t>(now[0]);
    img[kRoot + 32 + 27] = static_cast<std::uint8_t>(now[0] >> 8);
    std::memcpy(&img[kFat + kFatBytes], &img[kFat], kFatBytes);  // the second FAT agrees

    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(img.data()), static_cast<std::streamsize>(img.size()));
    return out ? 0 : 1;
}
