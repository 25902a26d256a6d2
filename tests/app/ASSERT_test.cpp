// The assertion text names the condition and the module by its upper-case base
// name, whatever the path looks like. (The handler itself, and a path with
// forward slashes, are exercised by the string and vector tests, with real
// assertions.)
#include "base/ASSERT.h"

#include <gtest/gtest.h>

TEST(Assertion, MessageNamesConditionModuleAndLine)
{
    EXPECT_EQ(FormatAssertion("m_lpszString", "C:\\src\\settings\\TSTRING.cpp", 131),
              "Assertion failed: m_lpszString, file TSTRING, line 131");
}
