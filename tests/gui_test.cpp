// The extended message box in a real GTK window on a private Xvfb: its real
// geometry, its keys, its buttons and its links.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "support/BoxReport.h"
#include "support/Display.h"
#include "support/RecordingOpener.h"

namespace {

using namespace std::chrono_literals;
using TestSupport::BackgroundProcess;
using TestSupport::PrivateDisplay;

const std::string binDir = VANTRELZ_BIN_DIR;

using TestSupport::BoxReport;
using TestSupport::ButtonReport;

// One message box shown by the probe on a private display.
class Box {
public:
    Box(const PrivateDisplay& display, std::vector<std::string> arguments,
        std::map<std::string, std::optional<std::string>> environment = {})
        : display(display)
    {
        auto options = display.Options();
        options.environment["VANTRELZ_DIALOG_REPORT"] = dir.path() + "/box.json";
        for (auto& [name, value] : environment)
            options.environment[name] = value;
        arguments.insert(arguments.begin(), binDir + "/message_box_probe");
        probe = std::make_unique<BackgroundProcess>(arguments, options);
        if (!TestSupport::WaitForFile(dir.path() + "/box.json", 15s))
            throw std::runtime_error("the box did not appear");
        report = TestSupport::ParseBoxReport(TestSupport::ReadFile(dir.path() + "/box.json"));
    }

    // The box's result, once it has closed.
    std::optional<int> Result(std::chrono::milliseconds timeout = 5s)
    {
        const auto line = probe->ReadLine(timeout);
        if (!line || line->rfind("result ", 0) != 0)
            return std::nullopt;
        return std::stoi(line->substr(7));
    }

    void Key(const std::string& keys) { display.Run({"xdotool", "key", "--clearmodifiers", keys}); }

    void Click(int clientX, int clientY)
    {
        display.Run({"xdotool", "mousemove", std::to_string(report.x + clientX), std::to_string(report.y + clientY),
                     "sleep", "0.1", "click", "1"});
    }

    void ClickButton(std::size_t index)
    {
        const ButtonReport& b = report.buttons.at(index);
        Click(b.x + b.width / 2, b.y + b.height / 2);
    }

    const PrivateDisplay& display;
    TestSupport::TempDir dir;
    std::unique_ptr<BackgroundProcess> probe;
    BoxReport report;
};

const std::vector<std::string> downloadPrompt = {
    "--text", "A new version is available for download.\n\nNote: You do not need to uninstall your\nprevious version before you install this one.",
    "--icon", "4", "--button", "Download=6", "--button", "No=7"};

class MessageBoxOnScreen : public testing::Test {
protected:
    PrivateDisplay display;
};

TEST_F(MessageBoxOnScreen, TheWindowAndItsButtonsAreWhereTheGeometrySaysTheyAre)
{
    Box box(display, downloadPrompt);
    const BoxReport& r = box.report;
    // No window manager: no frame; the content is exactly the computed box.
    EXPECT_EQ(r.frame, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(r.width, r.requested[2]);
    EXPECT_EQ(r.height, r.requested[3]);
    EXPECT_EQ(r.x, r.requested[0]);
    EXPECT_EQ(r.y, r.requested[1]);
    // Centred on the 1024 x 768 screen, halves rounded down.
    EXPECT_EQ(r.x, (1024 - r.width) / 2);
    EXPECT_EQ(r.y, (768 - r.height) / 2);

    ASSERT_EQ(r.buttons.size(), 2u);
    for (const ButtonReport& b : r.buttons) {
        EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}), b.requested) << b.label;
        EXPECT_EQ(b.width, 85) << b.label;  // both captions are narrower than the minimum
    }
    EXPECT_EQ(r.buttons[0].label, "Download");
    EXPECT_EQ(r.buttons[1].label, "No");
    EXPECT_EQ(r.buttons[1].x - (r.buttons[0].x + 85), 12);
    EXPECT_EQ(r.buttons[0].x, (r.width - 182) / 2);
    // The row ends 12 px above the bottom edge.
    EXPECT_EQ(r.buttons[0].y + r.buttons[0].height + 12, r.height);
    EXPECT_EQ(TestSupport::JsonNumber(r.json, "icon_pixels"), 32);
    EXPECT_TRUE(r.buttons[0].focused);
    // The dialog face, registered from Wine's fonts where Debian puts them.
    if (std::filesystem::exists("/usr/share/wine/fonts/tahoma.ttf")) {
        EXPECT_NE(r.json.find("\"face\": \"Tahoma\""), std::string::npos) << r.json;
    }
    // Four lines of Tahoma 8 pt beside a 32 px icon.
    EXPECT_GT(r.width, 200);
    EXPECT_LT(r.width, 526 + 24);
    box.Key("Escape");
    EXPECT_EQ(box.Result(), 2);
}

TEST_F(MessageBoxOnScreen, EachButtonGivesItsResult)
{
    for (std::size_t index : {0, 1}) {
        Box box(display, downloadPrompt);
        box.ClickButton(index);
        EXPECT_EQ(box.Result(), index == 0 ? 6 : 7);
    }
}

TEST_F(MessageBoxOnScreen, EscapeReturnTabAndMnemonics)
{
    const struct {
        std::vector<std::string> box;
        std::vector<std::string> keys;
        int result;
    } cases[] = {
        {{"--text", "Escape", "--button", "Yes=6"}, {"Escape"}, 2},
        {{"--text", "Return", "--button", "First=4", "--button", "Second=5"}, {"Return"}, 4},
        {{"--text", "Tab", "--button", "First=4", "--button", "Second=5"}, {"Tab", "Return"}, 5},
        {{"--text", "Mnemonic", "--button", "&Now=3", "--button", "&Later_On=9"}, {"alt+l"}, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box[1]);
        Box box(display, c.box);
        for (const std::string& key : c.keys)
            box.Key(key);
        EXPECT_EQ(box.Result(), c.result);
    }
    // "&" marks the mnemonic, a literal "_" is doubled for GTK.
    Box box(display, {"--text", "Label", "--button", "&Now=3", "--button", "&Later_On=9"});
    EXPECT_EQ(box.report.buttons[1].label, "_Later__On");
    box.Key("Escape");
    EXPECT_EQ(box.Result(), 2);
}

TEST_F(MessageBoxOnScreen, AButtonOutsideOneToElevenLeavesTheBoxOpen)
{
    Box box(display, {"--text", "Stay", "--button", "Twelve=12", "--button", "Zero=0"});
    box.ClickButton(0);
    box.ClickButton(1);
    EXPECT_EQ(box.Result(500ms), std::nullopt);
    box.Key("Escape");
    EXPECT_EQ(box.Result(), 2);
}

TEST_F(MessageBoxOnScreen, ShowWithButtonCloseAndAnEmptyList)
{
    {
        Box box(display, {"--text", "Error connection to server.", "--icon", "1", "--standard", "8"});
        ASSERT_EQ(box.report.buttons.size(), 1u);
        EXPECT_EQ(box.report.buttons[0].label, "Close");
        EXPECT_EQ(box.report.buttons[0].width, 85);
        box.ClickButton(0);
        EXPECT_EQ(box.Result(), 8);
    }
    {
        Box box(display, {"--text", "No buttons"});
        EXPECT_TRUE(box.report.buttons.empty());
        box.Key("Escape");
        EXPECT_EQ(box.Result(), 2);
    }
}

TEST_F(MessageBoxOnScreen, AClickOnALinkOpensItsTargetAndTheBoxStaysOpen)
{
    const TestSupport::RecordingOpener opener;
    const std::string opened = opener.Record();
    Box box(display, {"--text", "{hl}Read the release notes{hl=http://example.invalid/notes?a=1&b=2} first",
                      "--button", "OK=1"},
            {{"PATH", opener.Path()}});
    // The text block starts at (12, 12) without an icon.
    box.Click(12 + 20, 12 + 5);
    ASSERT_TRUE(TestSupport::WaitForFile(opened, 5s));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(TestSupport::ReadFile(opened), "http://example.invalid/notes?a=1&b=2\n");
    EXPECT_EQ(box.Result(300ms), std::nullopt);
    // Plain text is no link: after a click on it and one more on the link,
    // the record holds the link twice and nothing else.
    box.Click(12 + 200, 12 + 5);
    box.Click(12 + 20, 12 + 5);
    ASSERT_TRUE(TestSupport::WaitForFile(opened, 5s, "notes?a=1&b=2\nhttp"));
    EXPECT_EQ(TestSupport::ReadFile(opened), "http://example.invalid/notes?a=1&b=2\nhttp://example.invalid/notes?a=1&b=2\n");
    box.ClickButton(0);
    EXPECT_EQ(box.Result(), 1);
}

TEST(MessageBoxUnderAWindowManager, IsCentredWithItsFrameKeptAboveAndClosedByTheCloseBox)
{
    PrivateDisplay display(true);
    Box box(display, downloadPrompt);
    const BoxReport& r = box.report;
    EXPECT_NE(r.json.find("\"keep_above\": true"), std::string::npos) << r.json;
    // Where the window and its frame are on screen now: left and top of the
    // frame's outer edge, and the outer size.
    struct Placement {
        int left = 0, top = 0, width = 0, height = 0;
    };
    const auto placement = [&]() -> std::optional<Placement> {
        const std::string id = std::to_string(r.xid);
        const auto geometry = display.Run({"xwininfo", "-id", id});
        const auto extents = display.Run({"xprop", "-id", id, "_NET_FRAME_EXTENTS"});
        std::smatch x, y, m;
        if (!std::regex_search(geometry.out, x, std::regex("Absolute upper-left X: +(-?[0-9]+)")) ||
            !std::regex_search(geometry.out, y, std::regex("Absolute upper-left Y: +(-?[0-9]+)")) ||
            !std::regex_search(extents.out, m, std::regex("= ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+)")))
            return std::nullopt;
        const int frameLeft = std::stoi(m[1]), frameRight = std::stoi(m[2]), frameTop = std::stoi(m[3]),
                  frameBottom = std::stoi(m[4]);
        return Placement{std::stoi(x[1]) - frameLeft, std::stoi(y[1]) - frameTop, r.width + frameLeft + frameRight,
                         r.height + frameTop + frameBottom};
    };
    // The whole window, frame included, centred with one division.
    const auto centred = [](const Placement& p) {
        return p.left == (1024 - p.width) / 2 && p.top == (768 - p.height) / 2;
    };
    // The window manager frames the window once it is mapped, and the box
    // then centres itself again with the frame: wait for that, at most 5 s.
    std::optional<Placement> placed = placement();
    for (int i = 0; i < 100 && !(placed && centred(*placed)); ++i) {
        std::this_thread::sleep_for(50ms);
        placed = placement();
    }
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->left, (1024 - placed->width) / 2);
    EXPECT_EQ(placed->top, (768 - placed->height) / 2);

    EXPECT_EQ(TestSupport::RunProcess({binDir + "/x11_close_window", std::to_string(r.xid)},
                                      display.Options())
                  .exitCode,
              0);
    EXPECT_EQ(box.Result(), 2);
}

TEST_F(MessageBoxOnScreen, EveryLineAdvancesByTheFontsLineHeight)
{
    // The empty line that a second line break opens, and the lines of a word
    // whose glyphs come from another face (emoji, broken over lines), advance
    // like any other: the text is a whole number of lines high.
    std::string emoji;
    for (int i = 0; i < 60; ++i)
        emoji += "\xF0\x9F\x98\x80";
    struct Case {
        std::string text;
        int lines;  // 0: as many as the text wraps into
    };
    for (const Case& c : {Case{downloadPrompt[1], 4}, Case{"Ready.\n" + emoji + "\nEnd.", 0}}) {
        SCOPED_TRACE(c.text);
        Box box(display, {"--text", c.text, "--icon", "4", "--button", "Download=6", "--button", "No=7"});
        const BoxReport& r = box.report;
        const int line = TestSupport::JsonNumber(r.json, "line_height");
        const int textHeight = r.buttons.at(0).y - 12 - 12;
        ASSERT_GT(textHeight, 32);  // taller than the icon: the text sets the height
        EXPECT_EQ(textHeight % line, 0) << textHeight << " for lines of " << line;
        if (c.lines) {
            EXPECT_EQ(textHeight, c.lines * line);
        }
        EXPECT_EQ(r.height, r.buttons[0].y + r.buttons[0].height + 12);
        box.Key("Escape");
        EXPECT_EQ(box.Result(), 2);
    }
}

TEST_F(MessageBoxOnScreen, FollowsTheDesktopsTextSizeAndScale)
{
    const auto lineHeight = [&](std::map<std::string, std::optional<std::string>> environment) {
        Box box(display, downloadPrompt, std::move(environment));
        box.Key("Escape");
        EXPECT_EQ(box.Result(), 2);
        return TestSupport::JsonNumber(box.report.json, "line_height");
    };
    // The template's 8 points at the desktop's font resolution: twice the
    // resolution, about twice the line.
    const int normal = lineHeight({});
    const int large = lineHeight({{"GDK_DPI_SCALE", "2"}});
    EXPECT_GE(large, 2 * normal - 2);
    EXPECT_LE(large, 2 * normal + 2);

    // At scale 2 the 32 px icon is drawn from a 64 px image.
    Box scaled(display, downloadPrompt, {{"GDK_SCALE", "2"}});
    EXPECT_EQ(TestSupport::JsonNumber(scaled.report.json, "icon_pixels"), 64);
    scaled.Key("Escape");
    EXPECT_EQ(scaled.Result(), 2);
}

// What a screen reader finds: a session bus of the test's own, the box's
// toolkit on the accessibility bus, python3-pyatspi reading it. The
// accessibility bus publishes its address under XDG_RUNTIME_DIR (else in
// ~/.cache): a folder of the test's own, so that tests running side by side
// do not meet.
class MessageBoxForScreenReaders : public MessageBoxOnScreen {
protected:
    MessageBoxForScreenReaders()
    {
        chmod(runtime.path().c_str(), 0700);
        TestSupport::ProcessOptions options = display.Options();
        options.environment["XDG_RUNTIME_DIR"] = runtime.path();
        bus = std::make_unique<BackgroundProcess>(
            std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--print-address=1"}, options);
        const auto address = bus->ReadLine(10s);
        if (!address)
            throw std::runtime_error("no session bus");
        busAddress = *address;
    }

    // The environment of the box and of the reader: the bus, the bridge to
    // it, the opener.
    std::map<std::string, std::optional<std::string>> Environment() const
    {
        return {{"DBUS_SESSION_BUS_ADDRESS", busAddress},
                {"NO_AT_BRIDGE", std::nullopt},
                {"XDG_RUNTIME_DIR", runtime.path()},
                {"PATH", opener.Path()}};
    }

    std::string Tree() const
    {
        TestSupport::ProcessOptions options = display.Options();
        for (const auto& [name, value] : Environment())
            options.environment[name] = value;
        options.timeout = 30s;
        const auto run = TestSupport::RunProcess(
            {"/usr/bin/python3", VANTRELZ_SOURCE_DIR "/tests/support/accessible_tree.py"}, options);
        return run.out + run.err;
    }

    TestSupport::TempDir runtime{"vantrelz-a11y"};
    std::unique_ptr<BackgroundProcess> bus;
    std::string busAddress;
    const TestSupport::RecordingOpener opener;
};

TEST_F(MessageBoxForScreenReaders, FindANamedAlertWithItsIconTextLinksAndButtons)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string tree;
    };
    const Case cases[] = {
        {downloadPrompt,
         "alert | A new version is available for download.\n"
         "  panel | \n"
         "    icon | Question\n"
         "    label | A new version is available for download.\n\n"
         "Note: You do not need to uninstall your\nprevious version before you install this one.\n"
         "      text: 'A new version is available for download.\\n\\nNote: You do not need to uninstall your"
         "\\nprevious version before you install this one.'\n"
         "    push button | Download | focused\n"
         "    push button | No\n"},
        {{"--caption", "Vantrel Zip", "--text", "The service could not be reached.", "--icon", "1", "--button",
          "&Close=8"},
         "alert | Vantrel Zip\n"
         "  panel | \n"
         "    icon | Error\n"
         "    label | The service could not be reached.\n"
         "      text: 'The service could not be reached.'\n"
         "    push button | Close | focused\n"},
        {{"--text", "See {hl}the notes{hl=http://example.invalid/notes} & more", "--icon", "3", "--button", "OK=1"},
         "alert | See the notes & more\n"
         "  panel | \n"
         "    icon | Information\n"
         "    label | See the notes & more\n"
         "      text: 'See the notes & more'\n"
         "      hyperlink 4-13: http://example.invalid/notes\n"
         "    push button | OK | focused\n"},
    };
    for (const Case& c : cases) {
        Box box(display, c.arguments, Environment());
        EXPECT_EQ(Tree(), c.tree);
        box.Key("Escape");
        EXPECT_EQ(box.Result(), 2);
    }
}

TEST_F(MessageBoxForScreenReaders, ALinkReachedFromTheKeyboardOpensAsAClickDoes)
{
    Box box(display, {"--text", "See {hl}the notes{hl=http://example.invalid/notes}", "--button", "OK=1"},
            Environment());
    // The message comes before the buttons: back from the first button.
    box.Key("shift+Tab");
    EXPECT_NE(Tree().find("label | See the notes | focused"), std::string::npos);
    box.Key("Return");
    ASSERT_TRUE(TestSupport::WaitForFile(opener.Record(), 5s));
    EXPECT_EQ(TestSupport::ReadFile(opener.Record()), "http://example.invalid/notes\n");
    // The box stays open; its button still answers.
    box.Key("Tab");
    box.Key("Return");
    EXPECT_EQ(box.Result(), 1);
}

TEST(MessageBoxWithoutDisplay, ReturnsMinusOneAtOnce)
{
    TestSupport::ProcessOptions options;
    options.environment["DISPLAY"] = std::nullopt;
    options.environment["WAYLAND_DISPLAY"] = std::nullopt;
    const auto run = TestSupport::RunProcess({binDir + "/message_box_probe", "--text", "x", "--standard", "8"}, options);
    EXPECT_EQ(run.out, "result -1\n");
    EXPECT_LT(run.elapsed, 2000ms);  // at once: no helper, no toolkit
}

TEST(MessageBoxWithoutDisplay, ADisplayThatCannotBeOpenedGivesMinusOne)
{
    TestSupport::ProcessOptions options;
    options.environment["DISPLAY"] = ":999999";
    options.environment["GDK_BACKEND"] = "x11";
    const auto run = TestSupport::RunProcess({binDir + "/message_box_probe", "--text", "x", "--standard", "8"}, options);
    EXPECT_EQ(run.out, "result -1\n");
    EXPECT_LT(run.elapsed, 2000ms);
}

}  // namespace
