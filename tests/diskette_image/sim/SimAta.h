// Two legacy IDE channels as the start-up program sees them through port I/O: task-file
// registers, status, and the PIO data port, with devices that answer, are absent, are
// packet devices, stay busy, and take or refuse DOWNLOAD MICROCODE in various ways.
#ifndef VFLASH_TESTS_DISKETTE_IMAGE_SIM_SIMATA_H
#define VFLASH_TESTS_DISKETTE_IMAGE_SIM_SIMATA_H

#include <cstdint>
#include <string>
#include <vector>

#include "core/Hardware.h"

namespace sim {

struct Command {
    std::uint8_t features, count, lbaLow, lbaMid, lbaHigh, command;
};

struct Device {
    enum class Kind { kAbsent, kDisk, kAtapi, kBusyForever, kRejects };  // kRejects aborts every command
    enum class OnDownload {
        kTake,          // takes every block and reports success
        kAbort,         // aborts the command at once (status 41h, error 04h), as QEMU does
        kAbortLater,    // takes `takeBlocks` blocks, then aborts
        kHangLater,     // takes `takeBlocks` blocks, then stays busy for good
        kEndEarly,      // takes `takeBlocks` blocks, then drops DRQ without an error
        kWantsMore,     // keeps DRQ up after the last block it was told of
    };

    Kind kind = Kind::kAbsent;
    std::uint16_t identify[256] = {};
    OnDownload onDownload = OnDownload::kAbort;
    unsigned takeBlocks = 0;
    unsigned busyPolls = 0;  // status reads showing BSY after each command

    // What happened to it.
    std::vector<Command> commands;
    std::vector<std::uint8_t> received;  // microcode bytes, in order of arrival

    // A disk whose IDENTIFY data names it; `features83` goes to words 83 and 86.
    static Device Disk(const std::string& model, const std::string& firmware, std::uint16_t features83 = 0x4000);
    unsigned DownloadCommands() const;
};

// ATA string: two characters a word, first one in the high byte, space padded.
void PutAtaString(std::uint16_t* words, unsigned count, const std::string& text);

class Bus : public hw::Ports {
public:
    // [channel][device]: channel 0 at 1F0h/3F6h, channel 1 at 170h/376h.
    Device dev[2][2];
    unsigned strayWrites = 0;  // data written when no device asked for any

    std::uint8_t In8(std::uint16_t port) override;
    void Out8(std::uint16_t port, std::uint8_t value) override;
    std::uint16_t In16(std::uint16_t port) override;
    void Out16(std::uint16_t port, std::uint16_t value) override;

private:
    struct Channel {
        std::uint8_t reg[8] = {};  // task-file registers as last written (1..6)
        int selected = 0;
        std::uint8_t status[2] = {0x50, 0x50};
        std::uint8_t error[2] = {};
        unsigned busyLeft[2] = {};
        enum class Phase { kIdle, kDataIn, kDataOut } phase[2] = {};
        unsigned word[2] = {};        // position within the current block
        unsigned blocksLeft[2] = {};  // of the current DOWNLOAD MICROCODE
        unsigned taken[2] = {};       // blocks taken over all download commands
    };
    Channel ch_[2];

    bool Decode(std::uint16_t port, int* channel, int* reg, bool* control) const;
    std::uint8_t Status(int c);
    void Execute(int c, std::uint8_t command);
    void BlockDone(int c, int d);
};

// The BIOS timer, advanced by reading it: one tick every `readsPerTick` reads, or never.
class Clock : public hw::Clock {
public:
    explicit Clock(unsigned readsPerTick = 1000) : readsPerTick_(readsPerTick) {}
    std::uint32_t Ticks() override
    {
        ++reads;
        if (readsPerTick_ && reads % readsPerTick_ == 0 && ++now_ == 0x1800B0) now_ = 0;  // midnight
        return now_;
    }
    unsigned long reads = 0;

private:
    unsigned readsPerTick_;
    std::uint32_t now_ = 0x1800AF;  // one tick before the BIOS counter wraps at midnight
};

class Console : public hw::Console {
public:
    void Put(char c) override { text += c; }
    std::string text;
};

class Memory : public hw::Memory {
public:
    explicit Memory(std::uint32_t size) : bytes(size, 0xCC) {}
    std::uint32_t Size() override { return static_cast<std::uint32_t>(bytes.size()); }
    void Write(std::uint32_t offset, const void* src, std::uint16_t count) override;
    void Read(std::uint32_t offset, void* dst, std::uint16_t count) override;
    std::vector<std::uint8_t> bytes;
};

// A diskette image in memory; reads of sectors at or past `failFrom` fail.
class Diskette : public hw::Diskette {
public:
    explicit Diskette(std::vector<std::uint8_t> image) : image(std::move(image)) {}
    bool Read(std::uint32_t lba, std::uint16_t count, std::uint8_t* buffer) override;
    std::vector<std::uint8_t> image;
    std::uint32_t failFrom = 0xFFFFFFFF;
    unsigned reads = 0;
};

}  // namespace sim

#endif
