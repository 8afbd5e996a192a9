// The progress bar under WM_UPDATE_PROGRESS: each phase fills one half.
#include <gtest/gtest.h>

#include "Harness.h"
#include "app/Messages.h"
#include "platform/win.h"

namespace {

struct ProgressCase {
    WPARAM phase;
    int k, n;
    int want;  // -1: the bar does not move
};

class ProgressTest : public test::ProgramTest, public ::testing::WithParamInterface<std::vector<ProgressCase>> {};

TEST_P(ProgressTest, SetsThePositionFromPhaseAndStep)
{
    std::vector<std::pair<int, LRESULT>> seen;
    test::RunProgram(test::BaseScenario(), [&](HWND hDlg) {
        HWND bar = host::DialogItem(hDlg, 1001);
        for (const ProgressCase& c : GetParam()) {
            int before = host::ProgressPos(bar);
            LRESULT r = win::SendMessageA(hDlg, WM_UPDATE_PROGRESS, c.phase, MAKELPARAM(c.n, c.k));
            int after = host::ProgressPos(bar);
            seen.push_back({c.want < 0 ? (after == before ? -1 : after) : after, r});
        }
        host::PressKey(hDlg, VK_ESCAPE);
        return true;
    });
    ASSERT_EQ(seen.size(), GetParam().size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].first, GetParam()[i].want) << "message " << i;
        EXPECT_EQ(seen[i].second, 0) << "message " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, ProgressTest,
    ::testing::Values(
        std::vector<ProgressCase>{{0, 1, 80, 0}, {0, 2, 80, 1}, {0, 40, 80, 25}, {0, 80, 80, 50}},
        std::vector<ProgressCase>{{1, 1, 80, 50}, {1, 80, 80, 100}, {0, 1, 80, 0}},
        std::vector<ProgressCase>{{0, 3, 7, 21}, {1, 7, 7, 100}},
        // A third phase and a count of no steps leave the bar where it was.
        std::vector<ProgressCase>{{0, 40, 80, 25}, {2, 80, 80, -1}, {0, 5, 0, -1}, {1, 0, 0, -1}},
        // The largest step count there is.
        std::vector<ProgressCase>{{0, 65535, 65535, 50}, {1, 65535, 65535, 100}}));

}  // namespace
