#include <gtest/gtest.h>

#include "tests/sim/SimTestSupport.h"

namespace {

using simtest::GuardedBuffer;

struct VersionCase {
    bool accepts156, accepts148;
    DWORD size;
    bool ok;
};

void PrintTo(const VersionCase& c, std::ostream* os)
{
    *os << "size " << c.size << (c.accepts156 ? " takes 156" : "") << (c.accepts148 ? " takes 148" : "");
}

class VersionRecord : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionRecord, IsTakenOnlyInTheSizesThisWindowsKnows)
{
    const VersionCase& c = GetParam();
    sim::Scenario s;
    s.accepts156 = c.accepts156;
    s.accepts148 = c.accepts148;
    s.major = 4;
    s.minor = 0;
    s.build = 1381;
    s.csdVersion = "Service Pack 6";
    s.servicePackMajor = 6;
    sim::Reset(s);
    // Exactly as large as the size the caller declares: a longer answer would overrun it.
    GuardedBuffer record(c.size, 0);
    std::memcpy(record.data(), &c.size, sizeof c.size);
    EXPECT_EQ(c.ok, pc::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(record.data())) != FALSE);
    EXPECT_TRUE(record.GuardIntact());
    EXPECT_EQ(c.size, simtest::CallsTo("GetVersionExA").at(0).arg1);
    if (!c.ok) {
        EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), pc::GetLastError());
        return;
    }
    OSVERSIONINFOEXA v{};
    std::memcpy(&v, record.data(), c.size);
    EXPECT_EQ(c.size, v.dwOSVersionInfoSize);
    EXPECT_EQ(4u, v.dwMajorVersion);
    EXPECT_EQ(0u, v.dwMinorVersion);
    EXPECT_EQ(1381u, v.dwBuildNumber);
    EXPECT_EQ(DWORD(VER_PLATFORM_WIN32_NT), v.dwPlatformId);
    EXPECT_STREQ("Service Pack 6", v.szCSDVersion);
    if (c.size == sizeof(OSVERSIONINFOEXA)) {
        EXPECT_EQ(6, v.wServicePackMajor);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, VersionRecord,
                         ::testing::Values(VersionCase{true, true, 156, true},
                                           VersionCase{true, true, 148, true},
                                           VersionCase{false, true, 156, false},
                                           VersionCase{false, true, 148, true},
                                           VersionCase{true, false, 148, false},
                                           VersionCase{true, true, 152, false},
                                           VersionCase{true, true, 4, false}));

class Token : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(scenario); }

    HANDLE OpenToken(DWORD access = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY)
    {
        HANDLE t = nullptr;
        EXPECT_TRUE(pc::OpenProcessToken(pc::GetCurrentProcess(), access, &t));
        return t;
    }

    static TOKEN_PRIVILEGES Shutdown(DWORD attributes, DWORD luid = sim::kShutdownPrivilegeLuid)
    {
        TOKEN_PRIVILEGES tp{};
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Luid.LowPart = luid;
        tp.Privileges[0].Attributes = attributes;
        return tp;
    }

    sim::Scenario scenario;
};

TEST_F(Token, OpensForTheCurrentProcessUnlessRefused)
{
    const HANDLE t = OpenToken();
    EXPECT_NE(nullptr, t);
    EXPECT_EQ(1, sim::OpenTokenCount());
    EXPECT_EQ(1, sim::OpenHandleCount());
    const sim::Call c = simtest::CallsTo("OpenProcessToken").at(0);
    EXPECT_EQ(DWORD(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY), c.code);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(t), c.arg3);

    HANDLE other = nullptr;
    EXPECT_FALSE(pc::OpenProcessToken(t, TOKEN_QUERY, &other)) << "a token is not a process";
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), pc::GetLastError());

    scenario.tokenOpenRefused = true;
    sim::Reset(scenario);
    EXPECT_FALSE(pc::OpenProcessToken(pc::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &other));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError());
    EXPECT_EQ(0, sim::OpenHandleCount());
}

TEST_F(Token, KnowsOnlyTheShutdownPrivilege)
{
    LUID luid{};
    EXPECT_TRUE(pc::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid));
    EXPECT_EQ(sim::kShutdownPrivilegeLuid, luid.LowPart);
    EXPECT_EQ(0, luid.HighPart);
    EXPECT_TRUE(pc::LookupPrivilegeValueA(nullptr, "seshutdownprivilege", &luid));
    EXPECT_FALSE(pc::LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &luid));
    EXPECT_EQ(DWORD(ERROR_NO_SUCH_PRIVILEGE), pc::GetLastError());
    EXPECT_FALSE(pc::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilegeX", &luid));
}

TEST_F(Token, EnablingAHeldPrivilegeSucceedsCleanly)
{
    const HANDLE t = OpenToken();
    TOKEN_PRIVILEGES tp = Shutdown(SE_PRIVILEGE_ENABLED);
    EXPECT_TRUE(pc::AdjustTokenPrivileges(t, FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(0u, pc::GetLastError());
    EXPECT_TRUE(sim::ShutdownPrivilegeEnabled());
    const sim::Call c = simtest::CallsTo("AdjustTokenPrivileges").at(0);
    ASSERT_EQ(sizeof tp, c.in.size());
    EXPECT_EQ(0, std::memcmp(&tp, c.in.data(), sizeof tp));

    // Disabling it again, asking for what it was before.
    TOKEN_PRIVILEGES previous{};
    DWORD length = 0;
    tp = Shutdown(0);
    EXPECT_TRUE(pc::AdjustTokenPrivileges(t, FALSE, &tp, sizeof previous, &previous, &length));
    EXPECT_EQ(0u, pc::GetLastError());
    EXPECT_FALSE(sim::ShutdownPrivilegeEnabled());
    EXPECT_EQ(1u, previous.PrivilegeCount);
    EXPECT_EQ(DWORD(SE_PRIVILEGE_ENABLED), previous.Privileges[0].Attributes);
    EXPECT_EQ(sizeof previous, length);
}

TEST_F(Token, PrivilegesNotHeldAreReportedOnlyThroughTheLastError)
{
    scenario.privilegeHeld = false;
    sim::Reset(scenario);
    const HANDLE t = OpenToken();
    TOKEN_PRIVILEGES tp = Shutdown(SE_PRIVILEGE_ENABLED);
    EXPECT_TRUE(pc::AdjustTokenPrivileges(t, FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_NOT_ALL_ASSIGNED), pc::GetLastError());
    EXPECT_FALSE(sim::ShutdownPrivilegeEnabled());

    sim::Reset(sim::Scenario());
    const HANDLE t2 = OpenToken();
    tp = Shutdown(SE_PRIVILEGE_ENABLED, 20);
    EXPECT_TRUE(pc::AdjustTokenPrivileges(t2, FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_NOT_ALL_ASSIGNED), pc::GetLastError()) << "a privilege the token lacks";
}

TEST_F(Token, AdjustingNeedsTheRightAccess)
{
    TOKEN_PRIVILEGES tp = Shutdown(SE_PRIVILEGE_ENABLED);
    EXPECT_FALSE(pc::AdjustTokenPrivileges(OpenToken(TOKEN_QUERY), FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), pc::GetLastError());
    TOKEN_PRIVILEGES previous{};
    DWORD length = 0;
    EXPECT_FALSE(pc::AdjustTokenPrivileges(OpenToken(TOKEN_ADJUST_PRIVILEGES), FALSE, &tp,
                                           sizeof previous, &previous, &length))
        << "the previous state needs TOKEN_QUERY";
    EXPECT_FALSE(pc::AdjustTokenPrivileges(simtest::Open("\\\\.\\A:"), FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), pc::GetLastError());
    EXPECT_FALSE(sim::ShutdownPrivilegeEnabled());
}

TEST_F(Token, RestartNeedsTheEnabledPrivilegeOnNt)
{
    EXPECT_FALSE(pc::ExitWindowsEx(EWX_REBOOT, 0));
    EXPECT_EQ(DWORD(ERROR_PRIVILEGE_NOT_HELD), pc::GetLastError());
    TOKEN_PRIVILEGES tp = Shutdown(SE_PRIVILEGE_ENABLED);
    ASSERT_TRUE(pc::AdjustTokenPrivileges(OpenToken(), FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_TRUE(pc::ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0));
    EXPECT_EQ(2, sim::RestartRequests());
    EXPECT_EQ(UINT(EWX_REBOOT | EWX_FORCE), sim::LastRestartFlags());

    scenario.restartAccepted = false;
    sim::Reset(scenario);
    ASSERT_TRUE(pc::AdjustTokenPrivileges(OpenToken(), FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_FALSE(pc::ExitWindowsEx(EWX_REBOOT, 0));
    EXPECT_EQ(1, sim::RestartRequests());

    scenario.restartAccepted = true;
    scenario.platformId = VER_PLATFORM_WIN32_WINDOWS;
    sim::Reset(scenario);
    EXPECT_TRUE(pc::ExitWindowsEx(EWX_REBOOT, 0)) << "Windows 9x has no privileges";
}

TEST(LocalMemory, GivesRealBlocksAndTracksThem)
{
    sim::Reset(sim::Scenario());
    unsigned char* zeroed = static_cast<unsigned char*>(pc::LocalAlloc(LPTR, 64));
    unsigned char* raw = static_cast<unsigned char*>(pc::LocalAlloc(LMEM_FIXED, 64));
    ASSERT_NE(nullptr, zeroed);
    ASSERT_NE(nullptr, raw);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(0, zeroed[i]);
        EXPECT_NE(0, raw[i]) << "only LMEM_ZEROINIT promises zeroes";
    }
    EXPECT_EQ(2u, sim::LiveLocalAllocs());
    EXPECT_EQ(nullptr, pc::LocalFree(zeroed));
    EXPECT_EQ(1u, sim::LiveLocalAllocs());
    EXPECT_EQ(static_cast<HLOCAL>(zeroed), pc::LocalFree(zeroed)) << "freed twice";
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), pc::GetLastError());
    EXPECT_EQ(nullptr, pc::LocalFree(nullptr));
    EXPECT_EQ(nullptr, pc::LocalAlloc(LPTR, SIZE_T(1) << 30));
    EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), pc::GetLastError());
    EXPECT_EQ(1u, sim::LiveLocalAllocs());

    sim::Reset(sim::Scenario());
    EXPECT_EQ(0u, sim::LiveLocalAllocs()) << "a Reset starts the count afresh";
}

}  // namespace
