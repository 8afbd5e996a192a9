// Diskette images and firmware files for host tests, made with the same code as the
// real ones (the image builder, the firmware header encoder).
#ifndef VFLASH_TESTS_DISKETTE_IMAGE_SIM_TESTFILES_H
#define VFLASH_TESTS_DISKETTE_IMAGE_SIM_TESTFILES_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

// A diskette with our boot sector and the given files, in that order.
Bytes DisketteWith(const std::vector<std::pair<std::string, Bytes>>& files);

// `blocks` blocks of a recognisable pattern (not anybody's microcode).
Bytes TestPayload(unsigned blocks);

struct FirmwareSpec {
    std::string family = "QN";
    std::string model = "VELMORA VM2000";
    std::string revision = "QN2-0410";
    std::uint16_t flags = 0;
    Bytes payload = TestPayload(4);
};

Bytes FirmwareFile(const FirmwareSpec& spec);

}  // namespace sim

#endif
