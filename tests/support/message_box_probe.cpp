// Shows one extended message box and prints its result:
//   message_box_probe [--caption C] [--text T] [--icon N] [--button CAPTION=RESULT]... [--standard N]

#include <cstdio>
#include <cstring>
#include <string>

#include "message/MessageBox.h"
#include "base/Utf8.h"

int main(int argc, char** argv)
{
    std::wstring caption, text;
    std::int32_t icon = 0;
    std::int32_t standard = 0;
    Message::Buttons buttons;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--caption")
            caption = Utf8::ToWide(value);
        else if (option == "--text")
            text = Utf8::ToWide(value);
        else if (option == "--icon")
            icon = std::stoi(value);
        else if (option == "--standard")
            standard = std::stoi(value);
        else if (option == "--button") {
            const auto eq = value.rfind('=');
            buttons.Append(Utf8::ToWide(value.substr(0, eq)), std::stoi(value.substr(eq + 1)));
        }
    }
    const std::int32_t result = standard ? Message::ShowWithButton(caption, text, icon, standard, nullptr)
                                         : Message::Show(caption, text, icon, buttons, nullptr);
    std::printf("result %d\n", result);
    return 0;
}
