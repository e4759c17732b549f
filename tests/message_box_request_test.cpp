// The hand-over of a message box to the box helper: the request and the
// helper's status lines, as bytes.

#include <gtest/gtest.h>

#include "platform/MessageBoxHost.h"

namespace {

using Platform::DecodeMessageBoxRequest;
using Platform::EncodeMessageBoxRequest;
using Platform::MessageBoxRequest;

TEST(MessageBoxRequest, EveryRequestComesBackAsItWent)
{
    const MessageBoxRequest requests[] = {
        {},
        {L"", L"A new version is available for download.\n\nNote: ...", 4, {{L"Download", 6}, {L"No", 7}}},
        {L"Title: with colons", L"12:34:\r\n{hl}link{hl=http://x/}", -5, {{L"", 0}, {L"&Close", 8}}},
        {L"\u00C1rbol \u65E5\u672C \U0001F600", std::wstring(100000, L'x'), 2147483647, {{L"S\u00ED", -2147483647 - 1}}},
    };
    for (const MessageBoxRequest& request : requests)
        EXPECT_EQ(DecodeMessageBoxRequest(EncodeMessageBoxRequest(request)), request);
}

TEST(MessageBoxRequest, BytesThatAreNotAWholeRequestAreRefused)
{
    const std::string good = EncodeMessageBoxRequest({L"c", L"text", 1, {{L"OK", 1}}});
    ASSERT_EQ(good, "1:c4:text1:12:OK1:1");
    for (const std::string& bad : {std::string(), std::string("1:c4:text"), good.substr(0, good.size() - 1),
                                  good + "1:", good + "2:OK", std::string("1:c4:text1:x"),
                                  std::string("1:c4:text0:"), std::string("1:c4:text2:1 "),
                                  std::string("1:c99:text1:1"), std::string(":c4:text1:1"),
                                  std::string("-1:c4:text1:1"), std::string("1:c4:text11:99999999999")}) {
        EXPECT_EQ(DecodeMessageBoxRequest(bad), std::nullopt) << bad;
    }
}

TEST(MessageBoxRequest, ResultLines)
{
    EXPECT_EQ(Platform::MessageBoxResultLine(-1), "result -1");
    EXPECT_EQ(Platform::ParseMessageBoxResult("result 6"), 6);
    EXPECT_EQ(Platform::ParseMessageBoxResult("result -1"), -1);
    for (const char* bad : {"result", "result ", "result x", "result 6 ", "shown", "Result 6", "result 99999999999"})
        EXPECT_EQ(Platform::ParseMessageBoxResult(bad), std::nullopt) << bad;
}

}  // namespace
