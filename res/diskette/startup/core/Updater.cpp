#include "Updater.h"

#include "FirmwareFile.h"
#include "Identify.h"
#include "Microcode.h"
#include "Print.h"
#include "drives/IdentityRules.h"

namespace startup {

const char kLastLine[] = "Finished. Remove the diskette, then turn the computer off and on again.";

namespace {

using out::Line;
using out::Text;

// The directory form of "<family>.FW", e.g. "QN      FW ".
void FirmwareFileName(const char* firmware, char name[11])
{
    for (int i = 0; i < 11; ++i) name[i] = ' ';
    name[0] = firmware[0];
    name[1] = firmware[1];
    name[8] = 'F';
    name[9] = 'W';
}

// Prints the diskette's firmware files (names ending in .FW) as "QN.FW QP.FW".
class FirmwareLister : public fat12::Visitor {
public:
    explicit FirmwareLister(hw::Console& c) : c_(c) {}
    void Entry(const char* name) override
    {
        if (name[8] != 'F' || name[9] != 'W' || name[10] != ' ') return;
        c_.Put(' ');
        for (int i = 0; i < 8 && name[i] != ' '; ++i) c_.Put(name[i]);
        Text(c_, ".FW");
        ++count;
    }
    unsigned count = 0;

private:
    hw::Console& c_;
};

void Quoted(hw::Console& c, const char* s)
{
    c.Put('"');
    Text(c, s);
    c.Put('"');
}

void StatusAndError(hw::Console& c, const ata::Outcome& o)
{
    Text(c, "status ");
    out::Hex8(c, o.status);
    Text(c, "h, error ");
    out::Hex8(c, o.error);
    c.Put('h');
}

// The one step that may send something. Every path says whether anything was sent. Lines
// stay under 80 characters: the BIOS wraps longer ones on the screen.
void Update(Machine& m, bool diskette, const ata::Position& p, const ata::Identity& id)
{
    hw::Console& c = m.console;
    if (!diskette) {
        Line(c, "  The diskette could not be read: nothing was changed.");
        return;
    }
    char name[11];
    FirmwareFileName(id.firmware, name);
    const char file[] = {id.firmware[0], id.firmware[1], '.', 'F', 'W', 0};

    fat12::File f;
    fat12::Result r = m.volume.Find(name, &f);
    if (r == fat12::Result::kNotFound) {
        Text(c, "  No firmware file for this drive (");
        Text(c, file);
        Line(c, "): nothing was changed.");
        return;
    }
    if (r == fat12::Result::kOk) r = m.volume.Load(f, m.memory);
    if (r != fat12::Result::kOk) {
        Text(c, "  ");
        Text(c, file);
        Line(c, r == fat12::Result::kTooLarge ? " does not fit this computer's memory: nothing was sent."
                                               : " could not be read from the diskette: nothing was sent.");
        return;
    }

    fwfile::Header h;
    const fwfile::Verdict v = fwfile::Check(m.memory, f.size, id.model, id.firmware, &h);
    if (v != fwfile::Verdict::kGood) {
        Text(c, "  ");
        Text(c, file);
        if (v == fwfile::Verdict::kWrongModel) {
            Line(c, " is not made for this drive: nothing was sent.");
            Text(c, "  (It is made for ");
            Quoted(c, h.model);
            Line(c, ".)");
        } else if (v == fwfile::Verdict::kWrongFamily) {
            Line(c, " is not made for this drive's family: nothing was sent.");
        } else {
            Line(c, " is damaged (its checks fail): nothing was sent.");
        }
        return;
    }

    const ata::Plan plan = ata::ChoosePlan(id.words, h.flags & fwfile::kFlagUnannouncedOk);
    if (plan.transfer == ata::Transfer::kNone) {
        Line(c, "  The drive does not offer firmware download: nothing was sent.");
        return;
    }

    Text(c, "  Sending firmware ");
    Quoted(c, h.revision);
    Text(c, " (");
    out::Decimal(c, h.payloadLength);
    Line(c, " bytes). Do not turn the computer off.");
    const ata::Outcome o =
        ata::Download(m.ports, m.clock, p, plan, m.memory, fwfile::kHeaderSize, h.payloadLength / 512);
    switch (o.sent) {
    case ata::Sent::kDone:
        Line(c, "  The firmware was sent.");
        Line(c, "  Turn the computer off, then on again, before using this drive.");
        break;
    case ata::Sent::kRefused:
        Text(c, "  The drive refused the command (");
        StatusAndError(c, o);
        Line(c, "); it was not updated.");
        break;
    case ata::Sent::kNoAnswer:
        Line(c, "  The drive stopped answering during the download.");
        Line(c, "  Turn the computer off, then on, and run this diskette again.");
        break;
    }
}

void Report(Machine& m, bool diskette, const ata::Position& p)
{
    hw::Console& c = m.console;
    static ata::Identity id;  // 560 bytes: kept off the small stack
    ata::Identify(m.ports, m.clock, p, &id);
    Text(c, p.name);
    Text(c, ": ");
    switch (id.found) {
    case ata::Found::kNothing:
        Line(c, "no device.");
        return;
    case ata::Found::kAtapi:
        Line(c, "ATAPI device (CD-ROM or similar): left alone.");
        return;
    case ata::Found::kNoAnswer:
        Line(c, "a device that stays busy and does not answer: left alone.");
        return;
    case ata::Found::kRejected:
        Line(c, "no drive answered IDENTIFY DEVICE: left alone.");
        return;
    case ata::Found::kAtaDisk:
        break;
    }
    Quoted(c, id.model);
    Text(c, ", firmware ");
    Quoted(c, id.firmware);
    c.Put('\n');

    const unsigned long rules = identity::RuleBits(id.model, id.firmware);
    if (!(rules & identity::kMakerMatch)) {
        Line(c, "  Not a Velmora drive: left alone.");
    } else if (!(rules & identity::kFamilyMatch)) {
        Line(c, "  A Velmora drive of a family this diskette does not update: left alone.");
    } else if (!(rules & identity::kNeedsUpdate)) {
        Line(c, "  Its firmware is up to date: left alone.");
    } else {
        Line(c, "  Needs the firmware update.");
        Update(m, diskette, p, id);
    }
}

}  // namespace

void Run(Machine& m)
{
    hw::Console& c = m.console;
    Line(c, "Microcode download diskette for Velmora hard disk drives (v0.1)");

    const bool diskette = m.volume.Mount() == fat12::Result::kOk;
    if (!diskette) {
        Line(c, "The diskette could not be read: drives are only reported on.");
    } else {
        Text(c, "Firmware files on this diskette:");
        FirmwareLister lister(c);
        if (m.volume.List(lister) != fat12::Result::kOk) Text(c, " (directory unreadable)");
        if (!lister.count) Text(c, " none. This diskette can update no drive.");
        c.Put('\n');
    }
    c.Put('\n');

    for (const ata::Position& p : ata::kPositions) Report(m, diskette, p);

    c.Put('\n');
    Line(c, kLastLine);
}

}  // namespace startup
