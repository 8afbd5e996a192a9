// CString, the log text's type: appends that alias the string itself, and the bounds of
// the operations that cut a string.
#include <gtest/gtest.h>

#include "fw/String.h"

namespace {

TEST(CString, AppendsItselfAndItsOwnTail)
{
    CString s("ab");
    s += s;
    EXPECT_EQ(std::string(s), "abab");
    for (int i = 0; i < 6; ++i) s += s.GetString() + 1;  // forces regrowth while aliasing
    EXPECT_EQ(s.GetLength(), static_cast<int>(std::string(s).size()));
    EXPECT_EQ(std::string(s).substr(0, 7), "ababbab");
    s = s.GetString() + 2;  // assigning a part of itself
    EXPECT_EQ(std::string(s).substr(0, 5), "abbab");
}

TEST(CString, CutsStayInsideTheString)
{
    CString s("VELMORA");
    EXPECT_EQ(std::string(s.Left(3)), "VEL");
    EXPECT_EQ(std::string(s.Left(99)), "VELMORA");
    EXPECT_EQ(std::string(s.Left(-1)), "");
    EXPECT_EQ(std::string(s.Mid(5, 9)), "RA");
    EXPECT_EQ(std::string(s.Mid(9, 2)), "");
    EXPECT_EQ(s.Find("MOR"), 3);
    EXPECT_EQ(s.Find("mor"), -1);
    CString spaces("  A B  ");
    EXPECT_EQ(std::string(spaces.TrimRight(' ')), "  A B");
    CString empty;
    EXPECT_EQ(std::string(empty.TrimRight(' ')), "");
    EXPECT_TRUE(empty == "");
    EXPECT_TRUE(CString(nullptr) == nullptr);
}

TEST(CString, BufferRoundTrip)
{
    CString s("old text");
    char* p = s.GetBuffer(3);
    ASSERT_NE(p, nullptr);
    p[0] = 'n'; p[1] = 'e'; p[2] = 'w'; p[3] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(std::string(s), "new");
    EXPECT_EQ(s.GetLength(), 3);
}

}  // namespace
