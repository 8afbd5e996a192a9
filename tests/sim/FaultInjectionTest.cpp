#include <gtest/gtest.h>

#include <thread>

#include "tests/sim/SimTestSupport.h"

namespace {

using simtest::Ioctl;
using simtest::Open;

// What a test of one injected failure starts from.
struct Machine {
    HANDLE process, drive, volume, token;
    HLOCAL block;
};

struct InjectedCase {
    const char* fn;
    bool (*callFails)(Machine&);
    DWORD error;
    bool (*stateAfter)(const Machine&);
};

void PrintTo(const InjectedCase& c, std::ostream* os) { *os << c.fn; }

class InjectedFailure : public ::testing::TestWithParam<InjectedCase> {};

TEST_P(InjectedFailure, AnswersAsWindowsFailsAndChangesNothing)
{
    const InjectedCase& c = GetParam();
    sim::Reset(simtest::SmallScenario());
    Machine m{};
    m.process = pc::GetCurrentProcess();
    m.drive = Open("\\\\.\\PhysicalDrive0");
    m.volume = Open("\\\\.\\A:");
    ASSERT_TRUE(pc::OpenProcessToken(m.process, TOKEN_ADJUST_PRIVILEGES, &m.token));
    m.block = pc::LocalAlloc(LPTR, 16);
    const std::size_t before = sim::Calls().size();

    sim::FailCall(long(before) + 1);
    EXPECT_TRUE(c.callFails(m));
    EXPECT_EQ(c.error, pc::GetLastError());
    EXPECT_TRUE(c.stateAfter(m));
    const sim::Call recorded = sim::Calls().at(before);
    EXPECT_EQ(c.fn, recorded.fn);
    EXPECT_EQ(c.error, recorded.lastError);

    // Only that one call failed: the same call now succeeds.
    EXPECT_FALSE(c.callFails(m));
    pc::LocalFree(m.block);
}

const BYTE kNone = 0;

INSTANTIATE_TEST_SUITE_P(
    Calls, InjectedFailure,
    ::testing::Values(
        InjectedCase{"CreateFileA", [](Machine&) { return Open("\\\\.\\A:") == INVALID_HANDLE_VALUE; },
                     ERROR_SHARING_VIOLATION, [](const Machine&) { return sim::OpenHandleCount() == 3; }},
        // A refused lock is one that another program holds.
        InjectedCase{"DeviceIoControl", [](Machine& m) { return !Ioctl(m.volume, FSCTL_LOCK_VOLUME); },
                     ERROR_ACCESS_DENIED, [](const Machine&) { return !sim::DisketteLocked(); }},
        InjectedCase{"WriteFile",
                     [](Machine& m) {
                         const std::vector<std::uint8_t> sector(512, 0x99);
                         DWORD written = 5;
                         return !pc::WriteFile(m.volume, sector.data(), 512, &written, nullptr) &&
                                written == 0;
                     },
                     ERROR_WRITE_FAULT, [](const Machine&) { return sim::Current().a.bytes[0] == kNone; }},
        // The handle goes all the same (see PcCalls.cpp); the retry then finds it gone.
        InjectedCase{"CloseHandle",
                     [](Machine& m) {
                         const bool failed = !pc::CloseHandle(m.volume);
                         m.volume = Open("\\\\.\\A:");
                         return failed;
                     },
                     ERROR_INVALID_HANDLE, [](const Machine&) { return sim::OpenHandleCount() == 3; }},
        InjectedCase{"LocalAlloc",
                     [](Machine&) {
                         HLOCAL p = pc::LocalAlloc(LPTR, 8);
                         pc::LocalFree(p);
                         return p == nullptr;
                     },
                     ERROR_NOT_ENOUGH_MEMORY, [](const Machine&) { return sim::LiveLocalAllocs() == 1; }},
        InjectedCase{"LocalFree",
                     [](Machine& m) {
                         if (pc::LocalFree(m.block) != m.block) return false;
                         m.block = pc::LocalAlloc(LPTR, 16);
                         return true;
                     },
                     ERROR_INVALID_HANDLE, [](const Machine&) { return sim::LiveLocalAllocs() == 2; }},
        InjectedCase{"GetVersionExA",
                     [](Machine&) {
                         OSVERSIONINFOEXA v{};
                         v.dwOSVersionInfoSize = sizeof v;
                         return !pc::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v)) &&
                                v.dwMajorVersion == 0;
                     },
                     ERROR_INVALID_PARAMETER, [](const Machine&) { return true; }},
        InjectedCase{"OpenProcessToken",
                     [](Machine& m) {
                         HANDLE t = nullptr;
                         return !pc::OpenProcessToken(m.process, TOKEN_QUERY, &t);
                     },
                     ERROR_ACCESS_DENIED, [](const Machine&) { return sim::OpenTokenCount() == 1; }},
        InjectedCase{"LookupPrivilegeValueA",
                     [](Machine&) {
                         LUID luid{};
                         return !pc::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &luid);
                     },
                     ERROR_NO_SUCH_PRIVILEGE, [](const Machine&) { return true; }},
        InjectedCase{"AdjustTokenPrivileges",
                     [](Machine& m) {
                         TOKEN_PRIVILEGES tp{};
                         tp.PrivilegeCount = 1;
                         tp.Privileges[0].Luid.LowPart = sim::kShutdownPrivilegeLuid;
                         tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
                         return !pc::AdjustTokenPrivileges(m.token, FALSE, &tp, 0, nullptr, nullptr);
                     },
                     ERROR_ACCESS_DENIED, [](const Machine&) { return !sim::ShutdownPrivilegeEnabled(); }},
        InjectedCase{"ExitWindowsEx", [](Machine&) { return !pc::ExitWindowsEx(EWX_LOGOFF, 0); },
                     ERROR_PRIVILEGE_NOT_HELD, [](const Machine&) { return sim::RestartRequests() == 1; }}),
    [](const ::testing::TestParamInfo<InjectedCase>& info) { return std::string(info.param.fn); });

TEST(FailCall, CountsThePcCallsSinceReset)
{
    sim::Reset(sim::Scenario());
    sim::FailCall(3);
    EXPECT_NE(INVALID_HANDLE_VALUE, Open("\\\\.\\A:"));
    EXPECT_NE(INVALID_HANDLE_VALUE, Open("\\\\.\\A:"));
    EXPECT_EQ(INVALID_HANDLE_VALUE, Open("\\\\.\\A:"));
    EXPECT_NE(INVALID_HANDLE_VALUE, Open("\\\\.\\A:"));

    sim::FailCall(1);
    sim::Reset(sim::Scenario());
    EXPECT_NE(INVALID_HANDLE_VALUE, Open("\\\\.\\A:")) << "Reset forgets the injection";
}

TEST(FailCall, CannotMakeTheInfallibleCallsFail)
{
    sim::Reset(sim::Scenario());
    sim::FailCall(1);
    EXPECT_EQ(INVALID_HANDLE_VALUE, pc::GetCurrentProcess());  // the pseudo handle
    sim::FailCall(2);
    EXPECT_EQ(0u, pc::GetLastError());
}

TEST(OnCall, RunsBeforeTheCallIsAnswered)
{
    sim::Reset(simtest::SmallScenario());
    const HANDLE h = Open("\\\\.\\A:");
    std::vector<std::string> seen;
    std::size_t tracedBefore = 0;
    sim::OnCall([&](const sim::Call& c) {
        seen.push_back(c.fn);
        if (c.fn != "DeviceIoControl") return;
        EXPECT_EQ(FSCTL_LOCK_VOLUME, c.code);
        EXPECT_EQ("A:", c.device);
        tracedBefore = sim::Calls().size();
        EXPECT_FALSE(sim::DisketteLocked());
    });
    EXPECT_TRUE(Ioctl(h, FSCTL_LOCK_VOLUME));
    EXPECT_EQ(1u, tracedBefore) << "only the CreateFileA before it";
    EXPECT_EQ(std::vector<std::string>{"DeviceIoControl"}, seen);
}

TEST(OnCall, CallsMadeByTheHookNeitherRecurseNorLeaveErrors)
{
    sim::Reset(simtest::SmallScenario());
    int hookRuns = 0;
    sim::OnCall([&](const sim::Call& c) {
        ++hookRuns;
        if (c.fn == "GetLastError") Open("\\\\.\\PhysicalDrive3");  // absent: error 2
    });
    EXPECT_FALSE(pc::CloseHandle(reinterpret_cast<HANDLE>(std::uintptr_t(0x40))));
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), pc::GetLastError());
    EXPECT_EQ(2, hookRuns);
    const std::vector<sim::Call> calls = sim::Calls();
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ("CreateFileA", calls[1].fn) << "what the hook did comes before the call";
    EXPECT_EQ("GetLastError", calls[2].fn);
    EXPECT_EQ(std::int64_t(ERROR_INVALID_HANDLE), calls[2].result);
}

TEST(Trace, NumbersThreadsAndKeepsTheirErrorsApart)
{
    sim::Reset(sim::Scenario());
    EXPECT_EQ(INVALID_HANDLE_VALUE, Open("\\\\.\\PhysicalDrive0"));  // error 2 on this thread
    DWORD otherError = 0;
    std::thread([&] {
        pc::CloseHandle(nullptr);  // error 6 there
        otherError = pc::GetLastError();
    }).join();
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), pc::GetLastError());
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), otherError);
    std::vector<sim::Call> calls = sim::Calls();
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(0u, calls[0].thread);
    EXPECT_EQ(1u, calls[1].thread);
    EXPECT_EQ(1u, calls[2].thread);
    EXPECT_EQ(0u, calls[3].thread);

    // After a clear, numbering starts again with whichever thread calls first.
    sim::ClearTrace();
    std::thread([] { pc::GetCurrentProcess(); }).join();
    pc::GetCurrentProcess();
    calls = sim::Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(0u, calls[0].thread);
    EXPECT_EQ(1u, calls[1].thread);
}

}  // namespace
