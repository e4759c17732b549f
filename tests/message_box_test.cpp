// The calls that show the message box: standard captions, button lists, and
// what they give without a windowing backend.

#include <gtest/gtest.h>

#include "message/MessageBox.h"
#include "support/Scopes.h"

namespace {

TEST(ButtonCaption, ComesFromTheCurrentLanguage)
{
    const std::pair<std::int32_t, const wchar_t*> english[] = {
        {1, L"&OK"}, {2, L"&Cancel"}, {6, L"Yes"}, {7, L"No"}, {8, L"Close"}, {0, L""}, {3, L""}, {4, L""}, {5, L""},
        {9, L""}, {-1, L""}};
    for (const auto& [code, caption] : english)
        EXPECT_EQ(Message::ButtonCaption(code), caption) << code;
    const TestSupport::LanguageScope spanish(LocalizedStrings::Spanish);
    EXPECT_EQ(Message::ButtonCaption(2), L"&Cancelar");
    EXPECT_EQ(Message::ButtonCaption(6), L"S\u00ED");
    EXPECT_EQ(Message::ButtonCaption(8), L"Cerrar");
}

TEST(Buttons, AppendsChain)
{
    Message::Buttons buttons;
    buttons.Append(L"Download", 6).Append(Message::Button{L"No", 7});
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].caption, L"Download");
    EXPECT_EQ(buttons[1].result, 7);
}

TEST(Show, WithoutAWindowingBackendNoBoxIsCreated)
{
    EXPECT_EQ(Message::ShowWithButton(L"", L"text", Message::Error, 8, nullptr), -1);
    EXPECT_EQ(Message::Show(L"", L"text", Message::Question, Message::Buttons().Append(L"Yes", 6), nullptr), -1);
}

}  // namespace
