#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "drives/IdentityRules.h"
#include "platform/sim/SimPc.h"

namespace {

namespace fs = std::filesystem;
using sim::DriveState;
using sim::Scenario;

Scenario Parse(const std::string& text, const std::string& baseDir = "")
{
    Scenario s;
    std::string error;
    EXPECT_TRUE(sim::ParseScenario(text, baseDir, &s, &error)) << error;
    return s;
}

std::string Trimmed(std::string s)
{
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The model and firmware texts as the program reads them off the wire.
std::string AtaText(const sim::IdentifyBlock& b, std::size_t firstWord, std::size_t words)
{
    std::string s;
    for (std::size_t w = firstWord; w < firstWord + words; ++w) {
        s += static_cast<char>(b[w * 2 + 1]);
        s += static_cast<char>(b[w * 2]);
    }
    return Trimmed(s);
}

unsigned long Rules(const sim::PhysicalDrive& d)
{
    return identity::RuleBits(AtaText(d.identify, 27, 20).c_str(), AtaText(d.identify, 23, 4).c_str());
}

TEST(ParseScenario, ReadsEverySetting)
{
    const Scenario s = Parse(R"(
# comment line
windows 9x 4.10        # trailing comment
build 0x040A08AE
service-pack 1.2 "Service Pack 1 #x"
version-sizes 148
drive 1 identifies atapi
  model   ORBIS CDR-52X   
  firmware "1.04"
  serial  CD 52
drive 2 smart-refused
drive 3 open-refused
ide-map 0x31
diskette present
  media 2.88M 360K
  media-geometry F3_720_512 80 2 9 512
  media-bytes 50
  lock refused
  format-refused-at 7
  write-short-at 3
  filler 0xE5
  ms-per-cylinder 12
token open-refused
shutdown-privilege not-held
restart refused
)");
    EXPECT_EQ(DWORD(VER_PLATFORM_WIN32_WINDOWS), s.platformId);
    EXPECT_EQ(4u, s.major);
    EXPECT_EQ(10u, s.minor);
    EXPECT_EQ(0x040A08AEu, s.build);
    EXPECT_EQ("Service Pack 1 #x", s.csdVersion);
    EXPECT_EQ(1, s.servicePackMajor);
    EXPECT_EQ(2, s.servicePackMinor);
    EXPECT_FALSE(s.accepts156);
    EXPECT_TRUE(s.accepts148);
    EXPECT_EQ(DriveState::Absent, s.drives[0].state);
    EXPECT_EQ(DriveState::Identifies, s.drives[1].state);
    EXPECT_TRUE(s.drives[1].atapi);
    EXPECT_EQ(s.drives[1].identify, sim::MakeIdentifyBlock("ORBIS CDR-52X", "1.04", "CD 52"));
    EXPECT_EQ(DriveState::SmartRefused, s.drives[2].state);
    EXPECT_EQ(DriveState::OpenRefused, s.drives[3].state);
    EXPECT_EQ(0x31, s.ideDeviceMapOverride);
    ASSERT_EQ(3u, s.a.mediaTypes.size());
    EXPECT_EQ(F3_2Pt88_512, s.a.mediaTypes[0].MediaType);
    EXPECT_EQ(F5_360_512, s.a.mediaTypes[1].MediaType);
    EXPECT_EQ(40, s.a.mediaTypes[1].Cylinders.QuadPart);
    EXPECT_EQ(F3_720_512, s.a.mediaTypes[2].MediaType);
    EXPECT_EQ(9u, s.a.mediaTypes[2].SectorsPerTrack);
    EXPECT_EQ(50, s.a.mediaTypesBytesOverride);
    EXPECT_TRUE(s.a.lockRefused);
    EXPECT_EQ(7, s.a.formatRefusedAtCylinder);
    EXPECT_EQ(3, s.a.writeFailsAtStep);
    EXPECT_TRUE(s.a.writeShort);
    EXPECT_EQ(0xE5, s.a.formatFiller);
    EXPECT_EQ(12, s.a.msPerCylinder);
    EXPECT_TRUE(s.tokenOpenRefused);
    EXPECT_FALSE(s.privilegeHeld);
    EXPECT_FALSE(s.restartAccepted);
}

TEST(ParseScenario, AnEmptyTextIsTheDefaultMachine)
{
    const Scenario s = Parse("  # nothing here\n\n");
    EXPECT_EQ(DWORD(VER_PLATFORM_WIN32_NT), s.platformId);
    EXPECT_EQ(5u, s.major);
    for (const sim::PhysicalDrive& d : s.drives) EXPECT_EQ(DriveState::Absent, d.state);
    ASSERT_EQ(2u, s.a.mediaTypes.size());
    EXPECT_EQ(F3_720_512, s.a.mediaTypes[0].MediaType);
    EXPECT_EQ(F3_1Pt44_512, s.a.mediaTypes[1].MediaType);
    EXPECT_TRUE(s.a.drivePresent && s.a.medium);
    EXPECT_TRUE(s.a.file.empty());
}

TEST(ParseScenario, DisketteStatesAndMediaLists)
{
    EXPECT_FALSE(Parse("diskette empty").a.medium);
    EXPECT_TRUE(Parse("diskette empty").a.drivePresent);
    EXPECT_FALSE(Parse("diskette absent").a.drivePresent);
    EXPECT_TRUE(Parse("diskette present\nmedia none").a.mediaTypes.empty());
    const Scenario refused = Parse("diskette present\nmedia refused");
    EXPECT_TRUE(refused.a.mediaTypesRefused);
    EXPECT_EQ(2u, refused.a.mediaTypes.size());
    EXPECT_EQ(3u, Parse("diskette present\nmedia 1.44m\nmedia 720K 1.2M").a.mediaTypes.size());
}

struct BadCase {
    const char* text;
    const char* error;  // the start of the message
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ParseErrors : public ::testing::TestWithParam<BadCase> {};

TEST_P(ParseErrors, NameTheLineAndTheFault)
{
    Scenario s;
    s.build = 77;
    std::string error;
    EXPECT_FALSE(sim::ParseScenario(GetParam().text, &s, &error));
    EXPECT_EQ(0u, error.find(GetParam().error)) << error;
    EXPECT_EQ(77u, s.build) << "a failed parse must leave the scenario alone";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseErrors,
    ::testing::Values(
        BadCase{"windows nt 5.1\nbogus 1", "line 2: unknown setting 'bogus'"},
        BadCase{"windows os2 5.1", "line 1: unknown platform"},
        BadCase{"windows nt 5", "line 1: the Windows version must look like"},
        BadCase{"build twelve", "line 1: build must be a number"},
        BadCase{"build 0x", "line 1: build must be a number"},
        BadCase{"build 0x100000000", "line 1: build 0x100000000 is too large"},
        BadCase{"\n\ndrive 4 absent", "line 3: the drive number 4 is too large"},
        BadCase{"drive 0 sleeping", "line 1: unknown drive state"},
        BadCase{"drive 0 identifies scsi", "line 1: only atapi may follow"},
        BadCase{"drive 0 absent\ndrive 0 identifies", "line 2: drive 0 is given twice"},
        BadCase{"model VELMORA", "line 1: model belongs under a drive line"},
        BadCase{"drive 0 identifies\nwindows nt 5.1\nfirmware X", "line 3: firmware belongs under"},
        BadCase{"drive 0 identifies\nmodel A\nmodel B", "line 3: model is given twice"},
        BadCase{"drive 0 identifies\nmodel \"VELMORA", "line 2: a quoted text is not closed"},
        BadCase{"drive 0 identifies\nmodel \"A\" B", "line 2: nothing may follow"},
        BadCase{"drive 0 identifies\nserial", "line 2: serial needs a text"},
        BadCase{"media 1.44M", "line 1: media belongs under the diskette line"},
        BadCase{"diskette present\nmedia 1.7M", "line 2: unknown media type '1.7M'"},
        BadCase{"diskette present\nmedia-geometry F9 80 2 18 512", "line 2: unknown MEDIA_TYPE"},
        BadCase{"diskette present\nmedia-geometry 2 80 2 18", "line 2: media-geometry takes"},
        BadCase{"diskette maybe", "line 1: expected present, empty or absent"},
        BadCase{"diskette present\nlock sometimes", "line 2: expected ok or refused"},
        BadCase{"diskette present\nwrite-fails-at 0", "line 2: write steps count from 1"},
        BadCase{"diskette present\nwrite-fails-at 2\nwrite-short-at 3",
                "line 3: write-fails-at or write-short-at is given twice"},
        BadCase{"diskette present\nfiller 256", "line 2: filler 256 is too large"},
        BadCase{"diskette present\nfile ${VFLASH_SIM_TEST_SURELY_UNSET}/a.img",
                "line 2: ${VFLASH_SIM_TEST_SURELY_UNSET} in the file path is not set"},
        BadCase{"diskette present\nfile ${CWD/a.img", "line 2: a ${ in the file path is not closed"},
        BadCase{"version-sizes 156 150", "line 1: version-sizes takes 156 and 148"},
        BadCase{"restart later", "line 1: expected accepted or refused"},
        BadCase{"token", "line 1: token takes one value"}));

TEST(ParseScenario, ResolvesTheDisketteFile)
{
    const fs::path base = fs::path("scenarios") / "here";
    EXPECT_EQ((base / "a.img").string(), Parse("diskette present\nfile a.img", base.string()).a.file);
    EXPECT_EQ("a.img", Parse("diskette present\nfile a.img").a.file);
    const std::string absolute = (fs::temp_directory_path() / "x.img").string();
    EXPECT_EQ(absolute, Parse("diskette present\nfile " + absolute, base.string()).a.file);
    EXPECT_EQ((fs::current_path() / "d.img").string(),
              Parse("diskette present\nfile ${CWD}/d.img", base.string()).a.file);
}

TEST(LoadScenarioFile, ReportsTheFileAndTheLine)
{
    const fs::path dir = fs::temp_directory_path() / "vflash-sim-parser";
    fs::create_directories(dir);
    const fs::path file = dir / "broken.scn";
    std::ofstream(file) << "windows nt 5.1\nrestart never\n";
    Scenario s;
    std::string error;
    EXPECT_FALSE(sim::LoadScenarioFile(file.string(), &s, &error));
    EXPECT_EQ(file.string() + ": line 2: expected accepted or refused, not 'never'", error);
    EXPECT_FALSE(sim::LoadScenarioFile((dir / "missing.scn").string(), &s, &error));
    EXPECT_NE(std::string::npos, error.find("cannot be read"));

    std::ofstream(file) << "diskette present\nfile a.img\n";
    ASSERT_TRUE(sim::LoadScenarioFile(file.string(), &s, &error)) << error;
    EXPECT_EQ((dir / "a.img").string(), s.a.file);
    fs::remove_all(dir);
}

Scenario Shipped(const char* name)
{
    Scenario s;
    std::string error;
    EXPECT_TRUE(sim::LoadScenarioFile(std::string(VFLASH_SCENARIO_DIR) + "/" + name, &s, &error))
        << error;
    return s;
}

TEST(ShippedScenarios, DefaultIsXpWithOneDriveToUpdate)
{
    const Scenario s = Shipped("default.scn");
    EXPECT_EQ(DWORD(VER_PLATFORM_WIN32_NT), s.platformId);
    EXPECT_EQ(5u, s.major);
    EXPECT_EQ(1u, s.minor);
    EXPECT_EQ(identity::kMakerMatch | identity::kFamilyMatch | identity::kNeedsUpdate,
              Rules(s.drives[0]));
    EXPECT_EQ(0u, Rules(s.drives[1]));
    EXPECT_EQ(DriveState::Absent, s.drives[2].state);
    EXPECT_EQ(DriveState::Absent, s.drives[3].state);
    EXPECT_EQ((fs::current_path() / "diskette-a.img").string(), s.a.file);
    ASSERT_EQ(2u, s.a.mediaTypes.size());
    EXPECT_EQ(F3_1Pt44_512, s.a.mediaTypes[1].MediaType);
    EXPECT_TRUE(s.privilegeHeld && s.restartAccepted && !s.tokenOpenRefused);
}

TEST(ShippedScenarios, NothingToDoHasNoDriveToUpdate)
{
    const Scenario s = Shipped("nothing-to-do.scn");
    for (const sim::PhysicalDrive& d : s.drives) EXPECT_EQ(0u, Rules(d) & identity::kNeedsUpdate);
    EXPECT_NE(0u, Rules(s.drives[0]) & identity::kFamilyMatch);
}

TEST(ShippedScenarios, OthersLoadAsDescribed)
{
    const Scenario w98 = Shipped("windows98.scn");
    EXPECT_EQ(DWORD(VER_PLATFORM_WIN32_WINDOWS), w98.platformId);
    EXPECT_FALSE(w98.accepts156);
    EXPECT_FALSE(Shipped("no-diskette-drive.scn").a.drivePresent);
    const Scenario nt4 = Shipped("nt4.scn");
    EXPECT_EQ(4u, nt4.major);
    EXPECT_NE(0u, Rules(nt4.drives[1]) & identity::kNeedsUpdate);
    EXPECT_FALSE(nt4.a.medium);
}

}  // namespace
