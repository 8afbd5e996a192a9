// Firmware files: every check that stands between a file on the diskette and a drive.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "core/Crc32.h"
#include "core/FirmwareFile.h"
#include "sim/SimAta.h"
#include "sim/TestFiles.h"

namespace {

using sim::Bytes;

TEST(Crc32, MatchesTheCommonCheckValue)
{
    EXPECT_EQ(crc32::Of("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(crc32::Of("", 0), 0u);
}

fwfile::Verdict CheckFile(const Bytes& file, const char* model = "VELMORA VM2000", const char* fw = "QN2-0409",
                          fwfile::Header* out = nullptr)
{
    sim::Memory m(static_cast<std::uint32_t>(file.size() + 512));
    std::memcpy(m.bytes.data(), file.data(), file.size());
    fwfile::Header h;
    const fwfile::Verdict v = fwfile::Check(m, static_cast<std::uint32_t>(file.size()), model, fw, &h);
    if (out) *out = h;
    return v;
}

TEST(FirmwareFile, FileMadeForTheDriveIsGoodAndReadsBackItsFields)
{
    sim::FirmwareSpec spec;
    spec.flags = fwfile::kFlagUnannouncedOk;
    fwfile::Header h;
    ASSERT_EQ(CheckFile(sim::FirmwareFile(spec), "VELMORA VM2000", "QN2-0409", &h), fwfile::Verdict::kGood);
    EXPECT_STREQ(h.family, "QN");
    EXPECT_STREQ(h.model, "VELMORA VM2000");
    EXPECT_STREQ(h.revision, "QN2-0410");
    EXPECT_EQ(h.flags, fwfile::kFlagUnannouncedOk);
    EXPECT_EQ(h.payloadLength, 4u * 512);
}

TEST(FirmwareFile, LongestTextsFitExactly)
{
    sim::FirmwareSpec spec;
    spec.model = std::string(40, 'M');
    spec.revision = "QN345609";
    fwfile::Header h;
    ASSERT_EQ(CheckFile(sim::FirmwareFile(spec), spec.model.c_str(), "QN2-0409", &h), fwfile::Verdict::kGood);
    EXPECT_EQ(std::string(h.model), spec.model);
    EXPECT_STREQ(h.revision, "QN345609");
}

struct Damage {
    const char* name;
    std::function<void(Bytes&)> apply;
    fwfile::Verdict verdict;
};

// Re-seals the header after a field was changed, so the field check itself is what fails.
void Reseal(Bytes& f)
{
    const std::uint32_t crc = crc32::Of(f.data(), 124);
    for (int i = 0; i < 4; ++i) f[124 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
}

TEST(FirmwareFile, DamageOrAMismatchIsFoundBeforeAnythingIsSent)
{
    using V = fwfile::Verdict;
    const Damage cases[] = {
        {"magic", [](Bytes& f) { f[0] = 'X'; }, V::kNotAFirmwareFile},
        {"unknown format version", [](Bytes& f) { f[8] = 2; Reseal(f); }, V::kNotAFirmwareFile},
        {"shorter than a header", [](Bytes& f) { f.resize(100); }, V::kNotAFirmwareFile},
        {"header byte flipped", [](Bytes& f) { f[20] ^= 1; }, V::kHeaderDamaged},
        {"payload byte flipped", [](Bytes& f) { f[128 + 700] ^= 0x80; }, V::kPayloadDamaged},
        {"payload cut short", [](Bytes& f) { f.resize(f.size() - 512); }, V::kBadLength},
        {"payload grown", [](Bytes& f) { f.resize(f.size() + 512); }, V::kBadLength},
        {"length not whole blocks", [](Bytes& f) { f[64] = 1; f.resize(f.size() + 1); Reseal(f); }, V::kBadLength},
        {"zero length", [](Bytes& f) { std::memset(&f[64], 0, 4); f.resize(128); Reseal(f); }, V::kBadLength},
    };
    for (const Damage& c : cases) {
        Bytes f = sim::FirmwareFile(sim::FirmwareSpec());
        c.apply(f);
        EXPECT_EQ(CheckFile(f), c.verdict) << c.name;
    }
}

struct DriveCase {
    const char* name;
    const char* model;
    const char* firmware;
    fwfile::Verdict verdict;
};

TEST(FirmwareFile, OnlyTheExactModelOfTheFamilyMatches)
{
    using V = fwfile::Verdict;
    const DriveCase cases[] = {
        {"same model and family", "VELMORA VM2000", "QN2-0409", V::kGood},
        {"other family", "VELMORA VM2000", "QP2-0409", V::kWrongFamily},
        {"model with more after it", "VELMORA VM2000X", "QN2-0409", V::kWrongModel},
        {"model cut short", "VELMORA VM200", "QN2-0409", V::kWrongModel},
        {"model in other case", "velmora vm2000", "QN2-0409", V::kWrongModel},
        {"revision too short for a family", "VELMORA VM2000", "Q", V::kWrongFamily},
    };
    const Bytes f = sim::FirmwareFile(sim::FirmwareSpec());
    for (const DriveCase& c : cases) EXPECT_EQ(CheckFile(f, c.model, c.firmware), c.verdict) << c.name;
}

TEST(FirmwareFile, EncodeRefusesTextsThatDoNotFit)
{
    fwfile::Header h = {};
    std::uint8_t out[fwfile::kHeaderSize];
    std::strcpy(h.family, "QN");
    std::strcpy(h.revision, "QN2-0410");
    EXPECT_FALSE(fwfile::Encode(h, out)) << "empty model";
    std::strcpy(h.model, "VELMORA VM2000");
    EXPECT_TRUE(fwfile::Encode(h, out));
    std::strcpy(h.family, "Q");
    EXPECT_FALSE(fwfile::Encode(h, out)) << "one-letter family";
}

}  // namespace
