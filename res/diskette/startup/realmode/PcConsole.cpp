#include "PcConsole.h"

#include "Bios.h"
#include "PcPorts.h"

namespace {

// The BIOS data area lists the serial ports it found at POST; COM1's base comes first.
const uint32_t kBdaCom1 = 0x400;

const uint16_t kThr = 0, kIer = 1, kFcr = 2, kLcr = 3, kMcr = 4, kLsr = 5;
const uint16_t kDlLow = 0, kDlHigh = 1;
const uint8_t kLsrThrEmpty = 0x20;
const uint16_t kDivisor9600 = 115200 / 9600;

// A UART that never reports an empty transmitter (a port without a cable does not do
// that, but a broken or emulated one might) must not stop the update: give up on the
// character after this many polls, about 10 ms even on a fast machine's port timing.
const unsigned kThrPolls = 10000;

}  // namespace

PcConsole::PcConsole() : com1_(bios::Peek16(kBdaCom1))
{
    if (!com1_) return;
    PortOut8(com1_ + kIer, 0x00);            // polled: no UART interrupts
    PortOut8(com1_ + kLcr, 0x80);            // DLAB on, to reach the divisor
    PortOut8(com1_ + kDlLow, kDivisor9600 & 0xFF);
    PortOut8(com1_ + kDlHigh, kDivisor9600 >> 8);
    PortOut8(com1_ + kLcr, 0x03);            // 8 data bits, no parity, 1 stop bit, DLAB off
    PortOut8(com1_ + kFcr, 0x07);            // FIFO on and cleared (ignored by an 8250)
    PortOut8(com1_ + kMcr, 0x03);            // DTR and RTS, so a terminal sees us
}

void PcConsole::Put(char c)
{
    if (c == '\n') {
        PutScreen('\r');
        PutSerial('\r');
    }
    PutScreen(c);
    PutSerial(c);
}

void PcConsole::PutScreen(char c)
{
    BiosRegs r = {};
    r.eax = 0x0E00 | static_cast<uint8_t>(c);  // teletype output, page 0
    r.ebx = 0x0007;
    BiosCall(0x10, &r);
}

void PcConsole::PutSerial(char c)
{
    if (!com1_) return;
    for (unsigned i = 0; i < kThrPolls; ++i) {
        if (PortIn8(com1_ + kLsr) & kLsrThrEmpty) break;
    }
    PortOut8(com1_ + kThr, static_cast<uint8_t>(c));
}
