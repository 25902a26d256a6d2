// The assertion text names the condition, the module and the line.
#include "app/ASSERT.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Assertion, MessageNamesConditionModuleAndLine)
{
    EXPECT_EQ(FormatAssertion("m_lpszString", "C:\\src\\settings\\TSTRING.cpp", 131),
              "Assertion failed: m_lpszString, file TSTRING, line 131");
    EXPECT_EQ(FormatAssertion("pos < size()", "/work/document/vector", 7),
              "Assertion failed: pos < size(), file vector, line 7");
}

TEST(Assertion, HandlerSeesTheMessage)
{
    SetAssertionHandler([](const std::string& message) { throw std::runtime_error(message); });
    try {
        GLIM_ASSERT(1 + 1 == 3);
        FAIL() << "the assertion did not fire";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("Assertion failed: 1 + 1 == 3, file ASSERT_test, line "),
                  std::string::npos);
    }
    SetAssertionHandler(nullptr);
}
