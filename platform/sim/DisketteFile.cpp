// The diskette's backing file: read once at Reset, written back as the medium changes, so
// that what the program wrote can be inspected (or booted) after the run.
#include <chrono>
#include <fstream>
#include <thread>

#include "platform/sim/Machine.h"

namespace sim {
namespace detail {
namespace {

bool ReadWhole(const std::string& path, std::vector<std::uint8_t>* bytes)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() != std::streamoff(kDisketteBytes)) return false;
    in.seekg(0);
    std::vector<std::uint8_t> data(kDisketteBytes);
    if (!in.read(reinterpret_cast<char*>(data.data()), std::streamsize(data.size())))
        return false;
    *bytes = std::move(data);
    return true;
}

bool WriteWhole(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out.flush());
}

}  // namespace

void LoadDiskette(Machine* m)
{
    Diskette& a = m->scenario.a;
    m->fileWhole = !a.file.empty() && ReadWhole(a.file, &a.bytes);
    if (m->fileWhole) return;
    if (!a.file.empty() || a.bytes.size() != kDisketteBytes)
        a.bytes.assign(kDisketteBytes, 0);
}

void SaveDiskette(Machine* m, std::uint64_t offset, std::uint64_t length)
{
    const Diskette& a = m->scenario.a;
    if (a.file.empty()) return;
    if (m->fileWhole) {
        // Only the changed range: a run rewrites the medium one cylinder at a time.
        std::fstream out(a.file, std::ios::binary | std::ios::in | std::ios::out);
        if (out && out.seekp(std::streamoff(offset)) &&
            out.write(reinterpret_cast<const char*>(a.bytes.data() + offset),
                      std::streamsize(length)) &&
            out.flush())
            return;
    }
    // A missing or short file (or one removed under us) gets all the bytes.
    m->fileWhole = WriteWhole(a.file, a.bytes);
}

void DisketteDelay()
{
    int ms = 0;
    {
        SpinGuard guard(Lock());
        ms = TheMachine().scenario.a.msPerCylinder;
    }
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace detail

void FlushDiskette()
{
    SpinGuard guard(detail::Lock());
    detail::Machine& m = detail::TheMachine();
    m.fileWhole = false;
    detail::SaveDiskette(&m, 0, m.scenario.a.bytes.size());
}

}  // namespace sim
