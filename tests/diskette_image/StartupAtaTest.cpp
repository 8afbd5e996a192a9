// The start-up program's ATA layer against simulated channels: finding devices, reading
// their identity, choosing a transfer and sending microcode, never waiting unbounded.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/Deadline.h"
#include "core/Identify.h"
#include "core/Microcode.h"
#include "sim/SimAta.h"

namespace {

using sim::Device;

const ata::Position& PrimaryMaster() { return ata::kPositions[0]; }

// --- Strings ---------------------------------------------------------------------------

struct StringCase {
    std::string raw;  // 16 characters as the drive stores them, before byte swapping
    const char* expected;
};

TEST(AtaString, SwapsEachWordAndCutsTrailingPadding)
{
    const StringCase cases[] = {
        {"VELMORA VM2000  ", "VELMORA VM2000"},
        {"QN2-0409        ", "QN2-0409"},
        {"                ", ""},
        {"  LEAD          ", "  LEAD"},  // leading spaces belong to the text
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP"},
        {std::string("AB\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16), "AB"},  // some pad with NULs
    };
    for (const StringCase& c : cases) {
        std::uint16_t words[8];
        std::memset(words, 0, sizeof words);
        const std::string& raw = c.raw;
        for (unsigned i = 0; i < 8; ++i)
            words[i] = static_cast<std::uint16_t>((static_cast<std::uint8_t>(raw[2 * i]) << 8) |
                                                  static_cast<std::uint8_t>(raw[2 * i + 1]));
        char out[17];
        ata::AtaString(words, 8, out);
        EXPECT_STREQ(out, c.expected) << "raw \"" << raw << "\"";
    }
}

// --- Identify ----------------------------------------------------------------------------

TEST(Identify, ReadsModelAndFirmwareOfADisk)
{
    sim::Bus bus;
    sim::Clock clock;
    bus.dev[0][0] = Device::Disk("VELMORA VM2000", "QN2-0409");
    ata::Identity id;
    ata::Identify(bus, clock, PrimaryMaster(), &id);
    ASSERT_EQ(id.found, ata::Found::kAtaDisk);
    EXPECT_STREQ(id.model, "VELMORA VM2000");
    EXPECT_STREQ(id.firmware, "QN2-0409");
    EXPECT_EQ(id.words[83], 0x4000);
}

TEST(Identify, WaitsOutABusyDeviceThatThenAnswers)
{
    sim::Bus bus;
    sim::Clock clock;
    bus.dev[0][0] = Device::Disk("SLOW DISK", "1.00");
    bus.dev[0][0].busyPolls = 5000;  // several ticks' worth of polling
    ata::Identity id;
    ata::Identify(bus, clock, PrimaryMaster(), &id);
    EXPECT_EQ(id.found, ata::Found::kAtaDisk);
    EXPECT_STREQ(id.model, "SLOW DISK");
}

struct FindCase {
    const char* name;
    Device::Kind master, slave;
    int position;  // 0 primary master, 1 primary slave
    ata::Found expected;
};

TEST(Identify, TellsWhatSitsAtAPosition)
{
    using K = Device::Kind;
    const FindCase cases[] = {
        {"empty channel floats high", K::kAbsent, K::kAbsent, 0, ata::Found::kNothing},
        {"missing slave reads zero", K::kDisk, K::kAbsent, 1, ata::Found::kNothing},
        {"packet device by its signature", K::kAtapi, K::kAbsent, 0, ata::Found::kAtapi},
        {"slave behind a master", K::kDisk, K::kDisk, 1, ata::Found::kAtaDisk},
        {"device that never stops being busy", K::kBusyForever, K::kAbsent, 0, ata::Found::kNoAnswer},
    };
    for (const FindCase& c : cases) {
        sim::Bus bus;
        sim::Clock clock;
        bus.dev[0][0].kind = c.master;
        bus.dev[0][1].kind = c.slave;
        ata::Identity id;
        ata::Identify(bus, clock, ata::kPositions[c.position], &id);
        EXPECT_EQ(id.found, c.expected) << c.name;
    }
}

TEST(Identify, LeftoverRegisterValuesDoNotPassForAPacketDevice)
{
    // A device that rejects IDENTIFY while LBA mid/high still hold 14h/EBh from some
    // earlier command is not a packet device: the registers are cleared before asking.
    sim::Bus bus;
    sim::Clock clock;
    bus.dev[0][0].kind = Device::Kind::kRejects;
    bus.Out8(0x1F4, 0x14);
    bus.Out8(0x1F5, 0xEB);
    ata::Identity id;
    ata::Identify(bus, clock, PrimaryMaster(), &id);
    EXPECT_EQ(id.found, ata::Found::kRejected);
}

TEST(Identify, GivesUpOnABusyDeviceEvenWhenTheTimerStandsStill)
{
    sim::Bus bus;
    sim::Clock stopped(0);
    bus.dev[0][0].kind = Device::Kind::kBusyForever;
    ata::Identity id;
    ata::Identify(bus, stopped, PrimaryMaster(), &id);
    EXPECT_EQ(id.found, ata::Found::kNoAnswer);
}

TEST(Deadline, CountsTimerChangesSoTheMidnightWrapCannotEndAWaitEarly)
{
    // The simulated clock starts one tick before the BIOS counter goes from 1800AFh
    // back to 0 at midnight; a wait that subtracted readings would end at once there.
    sim::Clock clock(1);
    Deadline d(clock, 10);
    unsigned polls = 0;
    while (!d.Expired()) ++polls;
    EXPECT_GE(polls, 10u);
    EXPECT_LE(polls, 12u);
}

// --- Choosing the transfer ------------------------------------------------------------------

struct PlanCase {
    const char* name;
    std::uint16_t w83, w119, w234, w235;
    bool unannouncedOk;
    ata::Transfer transfer;
    std::uint16_t blocks;
};

TEST(ChoosePlan, FollowsWhatIdentifyAnnounces)
{
    using T = ata::Transfer;
    const PlanCase cases[] = {
        {"nothing announced", 0x4000, 0, 0, 0, false, T::kNone, 0},
        {"whole download announced", 0x4001, 0, 0, 0, false, T::kWhole, 0},
        {"word 83 not valid (pre-ATA-4)", 0x0001, 0, 0, 0, false, T::kNone, 0},
        {"word 83 all ones", 0xFFFF, 0, 0, 0, false, T::kNone, 0},
        {"family known to take it", 0x4000, 0, 0, 0, true, T::kWhole, 0},
        {"offsets announced, no size stated", 0x4001, 0x4010, 0, 0, false, T::kSegmented, 128},
        {"offsets with a small maximum", 0x4001, 0x4010, 1, 16, false, T::kSegmented, 16},
        {"offsets with a large minimum", 0x4001, 0x4010, 256, 0xFFFF, false, T::kSegmented, 256},
        {"word 119 bit set but word not valid", 0x4001, 0x0010, 0, 0, false, T::kWhole, 0},
    };
    for (const PlanCase& c : cases) {
        std::uint16_t id[256] = {};
        id[83] = c.w83;
        id[119] = c.w119;
        id[234] = c.w234;
        id[235] = c.w235;
        const ata::Plan plan = ata::ChoosePlan(id, c.unannouncedOk);
        EXPECT_EQ(plan.transfer, c.transfer) << c.name;
        if (c.transfer == T::kSegmented) {
            EXPECT_EQ(plan.blocksPerCommand, c.blocks) << c.name;
        }
    }
}

// --- Sending ----------------------------------------------------------------------------------

class DownloadTest : public ::testing::Test {
protected:
    DownloadTest() : memory(256 * 1024)
    {
        bus.dev[0][0] = Device::Disk("VELMORA VM2000", "QN2-0409", 0x4001);
        bus.dev[0][1] = Device::Disk("VELMORA VM2000", "QN2-0409", 0x4001);
        bus.dev[0][0].onDownload = Device::OnDownload::kTake;
        for (std::size_t i = 0; i < memory.bytes.size(); ++i) memory.bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 512);
    }
    ata::Outcome Send(unsigned blocks, ata::Plan plan = {ata::Transfer::kWhole, 0})
    {
        return ata::Download(bus, clock, PrimaryMaster(), plan, memory, kOffset, blocks);
    }
    std::vector<std::uint8_t> Payload(unsigned blocks) const
    {
        return std::vector<std::uint8_t>(memory.bytes.begin() + kOffset, memory.bytes.begin() + kOffset + blocks * 512);
    }

    static const std::uint32_t kOffset = 128;
    sim::Bus bus;
    sim::Clock clock;
    sim::Memory memory;
};

TEST_F(DownloadTest, WholeTransferIsOneCommandWithTheBlockCountSplitOverTwoRegisters)
{
    const ata::Outcome o = Send(300);
    ASSERT_EQ(o.sent, ata::Sent::kDone);
    EXPECT_EQ(o.blocks, 300u);
    const Device& d = bus.dev[0][0];
    ASSERT_EQ(d.DownloadCommands(), 1u);
    const sim::Command& c = d.commands.back();
    EXPECT_EQ(c.features, 0x07);
    EXPECT_EQ(c.count, 300 & 0xFF);
    EXPECT_EQ(c.lbaLow, 300 >> 8);
    EXPECT_EQ(d.received, Payload(300));
    EXPECT_TRUE(bus.dev[0][1].commands.empty()) << "the other device of the channel got nothing";
    EXPECT_EQ(bus.strayWrites, 0u);
}

TEST_F(DownloadTest, SegmentedTransferNamesEachSegmentsOffset)
{
    const ata::Outcome o = Send(10, {ata::Transfer::kSegmented, 4});
    ASSERT_EQ(o.sent, ata::Sent::kDone);
    const Device& d = bus.dev[0][0];
    ASSERT_EQ(d.DownloadCommands(), 3u);
    const unsigned counts[] = {4, 4, 2}, offsets[] = {0, 4, 8};
    for (unsigned i = 0; i < 3; ++i) {
        const sim::Command& c = d.commands[i];
        EXPECT_EQ(c.features, 0x03);
        EXPECT_EQ(c.count | (c.lbaLow << 8), counts[i]);
        EXPECT_EQ(c.lbaMid | (c.lbaHigh << 8), offsets[i]);
    }
    EXPECT_EQ(d.received, Payload(10));
}

TEST_F(DownloadTest, BusyDriveBetweenBlocksIsWaitedFor)
{
    bus.dev[0][0].busyPolls = 3000;
    EXPECT_EQ(Send(3).sent, ata::Sent::kDone);
    EXPECT_EQ(bus.dev[0][0].received, Payload(3));
}

struct FailCase {
    const char* name;
    Device::OnDownload behaviour;
    unsigned takeBlocks;
    ata::Sent sent;
    unsigned blocksTaken;
};

TEST_F(DownloadTest, EveryWayADriveCanStopIsReportedAndEndsTheTransfer)
{
    using OD = Device::OnDownload;
    const FailCase cases[] = {
        {"aborts the command", OD::kAbort, 0, ata::Sent::kRefused, 0},
        {"aborts after two blocks", OD::kAbortLater, 2, ata::Sent::kRefused, 2},
        {"drops DRQ early", OD::kEndEarly, 2, ata::Sent::kRefused, 2},
        {"still wants data after the last block", OD::kWantsMore, 99, ata::Sent::kRefused, 5},
        {"hangs after two blocks", OD::kHangLater, 2, ata::Sent::kNoAnswer, 2},
    };
    for (const FailCase& c : cases) {
        bus = sim::Bus();
        bus.dev[0][0] = Device::Disk("VELMORA VM2000", "QN2-0409", 0x4001);
        bus.dev[0][0].onDownload = c.behaviour;
        bus.dev[0][0].takeBlocks = c.takeBlocks;
        const ata::Outcome o = Send(5);
        EXPECT_EQ(o.sent, c.sent) << c.name;
        EXPECT_EQ(o.blocks, c.blocksTaken) << c.name;
        EXPECT_EQ(bus.dev[0][0].received.size(), c.blocksTaken * 512u) << c.name;
        EXPECT_EQ(bus.strayWrites, 0u) << c.name << ": nothing written after the drive stopped";
    }
}

TEST_F(DownloadTest, RefusalCarriesTheDrivesStatusAndError)
{
    bus.dev[0][0].onDownload = Device::OnDownload::kAbort;
    const ata::Outcome o = Send(1);
    EXPECT_EQ(o.sent, ata::Sent::kRefused);
    EXPECT_EQ(o.status, 0x41);
    EXPECT_EQ(o.error, 0x04);
}

TEST_F(DownloadTest, LaterSegmentsAreNotSentOnceOneIsRefused)
{
    bus.dev[0][0].onDownload = Device::OnDownload::kAbortLater;
    bus.dev[0][0].takeBlocks = 4;  // the whole first segment, then the refusal
    const ata::Outcome o = Send(10, {ata::Transfer::kSegmented, 4});
    EXPECT_EQ(o.sent, ata::Sent::kRefused);
    EXPECT_EQ(bus.dev[0][0].DownloadCommands(), 1u);
}

TEST_F(DownloadTest, NothingIsSentWithoutATransfer)
{
    EXPECT_EQ(Send(5, {ata::Transfer::kNone, 0}).sent, ata::Sent::kRefused);
    EXPECT_TRUE(bus.dev[0][0].commands.empty());
}

}  // namespace
