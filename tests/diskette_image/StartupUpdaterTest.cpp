// The whole start-up program over simulated hardware: what it tells the user about each
// position, and that only a matching drive with an intact file ever gets a download.
#include <gtest/gtest.h>

#include <string>

#include "core/Updater.h"
#include "sim/SimAta.h"
#include "sim/TestFiles.h"

namespace {

using sim::Bytes;
using sim::Device;
using OD = Device::OnDownload;

struct Pc {
    explicit Pc(Bytes image) : disk(std::move(image)), memory(256 * 1024), volume(disk) {}
    std::string Run()
    {
        startup::Machine m = {bus, clock, console, disk, memory, volume};
        startup::Run(m);
        return console.text;
    }
    sim::Bus bus;
    sim::Clock clock;
    sim::Console console;
    sim::Diskette disk;
    sim::Memory memory;
    fat12::Volume volume;
};

Bytes DisketteWithFirmware(const sim::FirmwareSpec& spec, const std::string& name = "QN.FW")
{
    return sim::DisketteWith({{"STARTUP.BIN", Bytes(1000, 0x90)}, {name, sim::FirmwareFile(spec)}});
}

Bytes DisketteWithoutFirmware() { return sim::DisketteWith({{"STARTUP.BIN", Bytes(1000, 0x90)}}); }

// The text between "<position>: " and the next position (or the end).
std::string ReportOf(const std::string& text, const std::string& position)
{
    const std::size_t at = text.find(position + ": ");
    if (at == std::string::npos) return "";
    const std::size_t end = text.find("\n\n", at);
    std::size_t next = std::string::npos;
    for (const char* p : {"Primary master: ", "Primary slave: ", "Secondary master: ", "Secondary slave: "}) {
        const std::size_t n = text.find(p, at + 1);
        if (n != std::string::npos && n < next) next = n;
    }
    return text.substr(at, std::min(end, next) - at);
}

TEST(Updater, ReportsEveryPositionAndEndsWithTheLastLine)
{
    Pc pc(DisketteWithoutFirmware());
    pc.bus.dev[0][0] = Device::Disk("VELMORA VM2000", "QN2-0409");
    pc.bus.dev[0][1] = Device::Disk("OTHER MAKER 80GB", "1.02");
    pc.bus.dev[1][0].kind = Device::Kind::kAtapi;
    const std::string text = pc.Run();
    EXPECT_NE(text.find("Firmware files on this diskette: none."), std::string::npos) << text;
    EXPECT_NE(ReportOf(text, "Primary master").find("\"VELMORA VM2000\", firmware \"QN2-0409\""), std::string::npos);
    EXPECT_NE(ReportOf(text, "Primary slave").find("\"OTHER MAKER 80GB\", firmware \"1.02\""), std::string::npos);
    EXPECT_NE(ReportOf(text, "Secondary master").find("ATAPI"), std::string::npos);
    EXPECT_NE(ReportOf(text, "Secondary slave").find("no device"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - std::string(startup::kLastLine).size() - 1),
              std::string(startup::kLastLine) + "\n");
}

TEST(Updater, ListsTheFirmwareFilesItCarries)
{
    sim::FirmwareSpec qp;
    qp.family = "QP";
    Pc pc(sim::DisketteWith({{"STARTUP.BIN", Bytes(10, 0)},
                             {"QN.FW", sim::FirmwareFile(sim::FirmwareSpec())},
                             {"README.TXT", Bytes(10, 'x')},
                             {"QP.FW", sim::FirmwareFile(qp)}}));
    EXPECT_NE(pc.Run().find("Firmware files on this diskette: QN.FW QP.FW\n"), std::string::npos);
}

struct DriveCase {
    const char* name;
    const char* model;
    const char* firmware;
    std::uint16_t features83;  // IDENTIFY words 83/86
    OD onDownload;
    bool fileOnDiskette;
    sim::FirmwareSpec file;
    const char* says;          // what the report says about the drive
    unsigned downloads;        // DOWNLOAD MICROCODE commands the drive got
};

sim::FirmwareSpec Spec(const char* model, std::uint16_t flags = 0, const char* family = "QN")
{
    sim::FirmwareSpec s;
    s.model = model;
    s.flags = flags;
    s.family = family;
    return s;
}

TEST(Updater, DecidesPerDriveAndSendsOnlyWhereEverythingMatches)
{
    const std::uint16_t kAnnounced = 0x4001, kSilent = 0x4000;
    const sim::FirmwareSpec vm2000 = Spec("VELMORA VM2000");
    const DriveCase cases[] = {
        {"other maker", "OTHER MAKER 80GB", "QN2-0409", kAnnounced, OD::kTake, true, vm2000,
         "Not a Velmora drive: left alone.", 0},
        {"other family", "VELMORA VM2000", "QX2-0409", kAnnounced, OD::kTake, true, vm2000,
         "of a family this diskette does not update: left alone.", 0},
        {"already updated", "VELMORA VM2000", "QN2-0410", kAnnounced, OD::kTake, true, vm2000,
         "Its firmware is up to date: left alone.", 0},
        {"no file for the family", "VELMORA VM2000", "QN2-0409", kAnnounced, OD::kTake, false, vm2000,
         "No firmware file for this drive (QN.FW): nothing was changed.", 0},
        {"file for another model", "VELMORA VM2500", "QN2-0409", kAnnounced, OD::kTake, true, vm2000,
         "QN.FW is not made for this drive: nothing was sent.\n  (It is made for \"VELMORA VM2000\".)", 0},
        {"file of another family under this name", "VELMORA VM2000", "QN2-0409", kAnnounced, OD::kTake, true,
         Spec("VELMORA VM2000", 0, "QP"), "QN.FW is not made for this drive's family: nothing was sent.", 0},
        {"drive does not offer the command", "VELMORA VM2000", "QN2-0409", kSilent, OD::kTake, true, vm2000,
         "The drive does not offer firmware download: nothing was sent.", 0},
        {"drive refuses", "VELMORA VM2000", "QN2-0409", kAnnounced, OD::kAbort, true, vm2000,
         "The drive refused the command (status 41h, error 04h); it was not updated.", 1},
        {"silent drive of a family known to take it", "VELMORA VM2000", "QN2-0409", kSilent, OD::kAbort, true,
         Spec("VELMORA VM2000", 0x0001), "The drive refused the command", 1},
        {"drive hangs", "VELMORA VM2000", "QN2-0409", kAnnounced, OD::kHangLater, true, vm2000,
         "The drive stopped answering during the download.", 1},
        {"drive takes it", "VELMORA VM2000", "QN2-0409", kAnnounced, OD::kTake, true, vm2000,
         "The firmware was sent.\n  Turn the computer off, then on again", 1},
    };
    for (const DriveCase& c : cases) {
        Pc pc(c.fileOnDiskette ? DisketteWithFirmware(c.file) : DisketteWithoutFirmware());
        pc.bus.dev[0][0] = Device::Disk(c.model, c.firmware, c.features83);
        pc.bus.dev[0][0].onDownload = c.onDownload;
        pc.bus.dev[0][0].takeBlocks = 2;
        const std::string report = ReportOf(pc.Run(), "Primary master");
        EXPECT_NE(report.find(c.says), std::string::npos) << c.name << ":\n" << report;
        EXPECT_EQ(pc.bus.dev[0][0].DownloadCommands(), c.downloads) << c.name;
        if (c.downloads == 0) {
            EXPECT_TRUE(pc.bus.dev[0][0].received.empty()) << c.name;
        }
    }
}

TEST(Updater, SentFirmwareIsTheFilesPayloadByteForByte)
{
    sim::FirmwareSpec spec;
    spec.payload = sim::TestPayload(37);
    Pc pc(DisketteWithFirmware(spec));
    pc.bus.dev[1][1] = Device::Disk("VELMORA VM2000", "QN2-0409", 0x4001);
    pc.bus.dev[1][0] = Device::Disk("OTHER", "1.0");
    pc.bus.dev[1][1].onDownload = OD::kTake;
    const std::string text = pc.Run();
    EXPECT_NE(ReportOf(text, "Secondary slave").find("The firmware was sent."), std::string::npos) << text;
    EXPECT_EQ(pc.bus.dev[1][1].received, spec.payload);
    EXPECT_EQ(pc.bus.dev[1][0].DownloadCommands(), 0u) << "the master of the same channel";
}

TEST(Updater, DamagedFileIsNeverSent)
{
    Bytes image = DisketteWithFirmware(sim::FirmwareSpec());
    // QN.FW's payload starts 128 bytes into its first cluster, which follows STARTUP.BIN
    // (2 clusters) at data sector 33.
    image[(33 + 2) * 512 + 128 + 5] ^= 0xFF;
    Pc pc(image);
    pc.bus.dev[0][0] = Device::Disk("VELMORA VM2000", "QN2-0409", 0x4001);
    pc.bus.dev[0][0].onDownload = OD::kTake;
    const std::string report = ReportOf(pc.Run(), "Primary master");
    EXPECT_NE(report.find("QN.FW is damaged (its checks fail): nothing was sent."), std::string::npos) << report;
    EXPECT_EQ(pc.bus.dev[0][0].DownloadCommands(), 0u);
}

TEST(Updater, UnreadableFileOrDisketteSendsNothing)
{
    Pc unreadableFile(DisketteWithFirmware(sim::FirmwareSpec()));
    unreadableFile.disk.failFrom = 35;  // QN.FW's first sector
    unreadableFile.bus.dev[0][0] = Device::Disk("VELMORA VM2000", "QN2-0409", 0x4001);
    std::string report = ReportOf(unreadableFile.Run(), "Primary master");
    EXPECT_NE(report.find("QN.FW could not be read from the diskette: nothing was sent."), std::string::npos) << report;
    EXPECT_EQ(unreadableFile.bus.dev[0][0].DownloadCommands(), 0u);

    Pc unreadableDiskette(DisketteWithFirmware(sim::FirmwareSpec()));
    unreadableDiskette.disk.failFrom = 0;
    unreadableDiskette.bus.dev[0][0] = Device::Disk("VELMORA VM2000", "QN2-0409", 0x4001);
    const std::string text = unreadableDiskette.Run();
    EXPECT_NE(text.find("The diskette could not be read: drives are only reported on."), std::string::npos);
    EXPECT_NE(ReportOf(text, "Primary master").find("nothing was changed"), std::string::npos) << text;
    EXPECT_EQ(unreadableDiskette.bus.dev[0][0].DownloadCommands(), 0u);
}

TEST(Updater, EveryDriveThatNeedsTheUpdateIsTriedInTurn)
{
    Pc pc(DisketteWithFirmware(sim::FirmwareSpec()));
    for (int c = 0; c < 2; ++c)
        for (int d = 0; d < 2; ++d) {
            pc.bus.dev[c][d] = Device::Disk("VELMORA VM2000", "QN2-0409", 0x4001);
            pc.bus.dev[c][d].onDownload = OD::kTake;
        }
    pc.bus.dev[0][1].onDownload = OD::kAbort;
    const std::string text = pc.Run();
    EXPECT_NE(ReportOf(text, "Primary slave").find("refused"), std::string::npos) << text;
    for (const char* p : {"Primary master", "Secondary master", "Secondary slave"})
        EXPECT_NE(ReportOf(text, p).find("The firmware was sent."), std::string::npos) << p;
}

TEST(Updater, HungDeviceCostsTimeButNotTheReport)
{
    Pc pc(DisketteWithoutFirmware());
    pc.bus.dev[0][0].kind = Device::Kind::kBusyForever;
    pc.bus.dev[1][0] = Device::Disk("VELMORA VM2000", "QN2-0410");
    const std::string text = pc.Run();
    EXPECT_NE(ReportOf(text, "Primary master").find("stays busy"), std::string::npos) << text;
    EXPECT_NE(ReportOf(text, "Secondary master").find("up to date"), std::string::npos) << text;
    EXPECT_NE(text.find(startup::kLastLine), std::string::npos);
}

}  // namespace
