#include "SimAta.h"

#include <cstring>
#include <stdexcept>

namespace sim {

void PutAtaString(std::uint16_t* words, unsigned count, const std::string& text)
{
    std::string s = text;
    s.resize(count * 2, ' ');
    for (unsigned i = 0; i < count; ++i)
        words[i] = static_cast<std::uint16_t>((static_cast<std::uint8_t>(s[2 * i]) << 8) |
                                              static_cast<std::uint8_t>(s[2 * i + 1]));
}

Device Device::Disk(const std::string& model, const std::string& firmware, std::uint16_t features83)
{
    Device d;
    d.kind = Kind::kDisk;
    PutAtaString(d.identify + 10, 10, "SIM0001");
    PutAtaString(d.identify + 23, 4, firmware);
    PutAtaString(d.identify + 27, 20, model);
    d.identify[83] = features83;
    d.identify[86] = features83;
    return d;
}

unsigned Device::DownloadCommands() const
{
    unsigned n = 0;
    for (const Command& c : commands) n += c.command == 0x92;
    return n;
}

bool Bus::Decode(std::uint16_t port, int* channel, int* reg, bool* control) const
{
    *control = false;
    if (port >= 0x1F0 && port <= 0x1F7) { *channel = 0; *reg = port - 0x1F0; return true; }
    if (port >= 0x170 && port <= 0x177) { *channel = 1; *reg = port - 0x170; return true; }
    if (port == 0x3F6) { *channel = 0; *reg = 7; *control = true; return true; }
    if (port == 0x376) { *channel = 1; *reg = 7; *control = true; return true; }
    return false;
}

std::uint8_t Bus::Status(int c)
{
    Channel& ch = ch_[c];
    const int d = ch.selected;
    const Device& dev = this->dev[c][d];
    if (dev.kind == Device::Kind::kAbsent) {
        const bool other = this->dev[c][1 - d].kind != Device::Kind::kAbsent;
        return other ? 0x00 : 0xFF;  // an empty channel floats high
    }
    if (dev.kind == Device::Kind::kBusyForever) return 0x80;
    if (ch.busyLeft[d]) {
        --ch.busyLeft[d];
        return 0x80;
    }
    return ch.status[d];
}

std::uint8_t Bus::In8(std::uint16_t port)
{
    int c, r;
    bool control;
    if (!Decode(port, &c, &r, &control)) return 0xFF;
    Channel& ch = ch_[c];
    if (r == 7) return Status(c);
    if (r == 1) return ch.error[ch.selected];
    return ch.reg[r];
}

void Bus::Out8(std::uint16_t port, std::uint8_t value)
{
    int c, r;
    bool control;
    if (!Decode(port, &c, &r, &control)) return;
    Channel& ch = ch_[c];
    if (control) return;  // nIEN and SRST: interrupts are not simulated, nor is reset
    if (r == 7) {
        Execute(c, value);
        return;
    }
    ch.reg[r] = value;
    if (r == 6) ch.selected = (value >> 4) & 1;
}

std::uint16_t Bus::In16(std::uint16_t port)
{
    int c, r;
    bool control;
    if (!Decode(port, &c, &r, &control) || r != 0) return 0xFFFF;
    Channel& ch = ch_[c];
    const int d = ch.selected;
    if (ch.phase[d] != Channel::Phase::kDataIn) return 0xFFFF;
    const std::uint16_t w = dev[c][d].identify[ch.word[d]++];
    if (ch.word[d] == 256) {
        ch.phase[d] = Channel::Phase::kIdle;
        ch.status[d] = 0x50;
    }
    return w;
}

void Bus::Out16(std::uint16_t port, std::uint16_t value)
{
    int c, r;
    bool control;
    if (!Decode(port, &c, &r, &control) || r != 0) return;
    Channel& ch = ch_[c];
    const int d = ch.selected;
    if (ch.phase[d] != Channel::Phase::kDataOut) {
        ++strayWrites;
        return;
    }
    dev[c][d].received.push_back(static_cast<std::uint8_t>(value));
    dev[c][d].received.push_back(static_cast<std::uint8_t>(value >> 8));
    if (++ch.word[d] == 256) BlockDone(c, d);
}

void Bus::BlockDone(int c, int d)
{
    Channel& ch = ch_[c];
    Device& dv = dev[c][d];
    ch.word[d] = 0;
    ++ch.taken[d];
    --ch.blocksLeft[d];
    ch.busyLeft[d] = dv.busyPolls;
    const bool limit = ch.taken[d] == dv.takeBlocks;
    using OD = Device::OnDownload;
    if (limit && dv.onDownload == OD::kAbortLater) {
        ch.phase[d] = Channel::Phase::kIdle;
        ch.status[d] = 0x51;
        ch.error[d] = 0x04;
    } else if (limit && dv.onDownload == OD::kHangLater) {
        dv.kind = Device::Kind::kBusyForever;
        ch.phase[d] = Channel::Phase::kIdle;
    } else if (limit && dv.onDownload == OD::kEndEarly) {
        ch.phase[d] = Channel::Phase::kIdle;
        ch.status[d] = 0x50;
    } else if (ch.blocksLeft[d] == 0 && dv.onDownload != OD::kWantsMore) {
        ch.phase[d] = Channel::Phase::kIdle;
        ch.status[d] = 0x50;
    }
}

void Bus::Execute(int c, std::uint8_t command)
{
    Channel& ch = ch_[c];
    const int d = ch.selected;
    Device& dv = dev[c][d];
    if (dv.kind == Device::Kind::kAbsent || dv.kind == Device::Kind::kBusyForever) return;
    dv.commands.push_back(Command{ch.reg[1], ch.reg[2], ch.reg[3], ch.reg[4], ch.reg[5], command});
    ch.busyLeft[d] = dv.busyPolls;
    ch.error[d] = 0;
    ch.word[d] = 0;
    if (command == 0xEC && dv.kind == Device::Kind::kDisk) {
        ch.phase[d] = Channel::Phase::kDataIn;
        ch.status[d] = 0x58;
    } else if (command == 0xEC && dv.kind == Device::Kind::kAtapi) {  // abort, show the signature
        ch.reg[4] = 0x14;
        ch.reg[5] = 0xEB;
        ch.status[d] = 0x41;
        ch.error[d] = 0x04;
    } else if (command == 0x92 && dv.kind == Device::Kind::kDisk && dv.onDownload != Device::OnDownload::kAbort) {
        ch.blocksLeft[d] = ch.reg[2] | (ch.reg[3] << 8);
        ch.phase[d] = Channel::Phase::kDataOut;
        ch.status[d] = 0x58;
    } else {
        ch.phase[d] = Channel::Phase::kIdle;
        ch.status[d] = 0x41;
        ch.error[d] = 0x04;
    }
}

void Memory::Write(std::uint32_t offset, const void* src, std::uint16_t count)
{
    if (offset + count > bytes.size()) throw std::out_of_range("memory write past the end");
    std::memcpy(bytes.data() + offset, src, count);
}

void Memory::Read(std::uint32_t offset, void* dst, std::uint16_t count)
{
    if (offset + count > bytes.size()) throw std::out_of_range("memory read past the end");
    std::memcpy(dst, bytes.data() + offset, count);
}

bool Diskette::Read(std::uint32_t lba, std::uint16_t count, std::uint8_t* buffer)
{
    ++reads;
    if (lba + count > failFrom) return false;
    if ((lba + count) * 512u > image.size()) return false;
    std::memcpy(buffer, image.data() + lba * 512u, count * 512u);
    return true;
}

}  // namespace sim

