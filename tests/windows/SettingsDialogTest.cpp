// The settings dialog in this process: what its controls do to the preview surface between
// two frames, which no screenshot can see. No messages are pumped while the controls are
// moved, so no frame runs in between.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dialogs/Unit2.h"
#include "generator/Rosacle.h"
#include "settings/SaverSettings.h"
#include "tests/windows/ControlFinder.h"

namespace {

const wchar_t* const SettingsPath = L"Software\\Fractal Rosacle\\";

void StoreSettings(int rosacle, int segment)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, SettingsPath);
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, SettingsPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::pair<const wchar_t*, DWORD> values[] = {
        {L"Speed", 54},     {L"Bright", 2},      {L"Rosacle", DWORD(rosacle)}, {L"Size", 52},
        {L"Segment", DWORD(segment)}, {L"Background", 1}, {L"Gray", 0}, {L"Oval", 0},
        {L"Pictures", 0},   {L"Rosacle_Random", 0}, {L"Petals_Random", 0},
        {L"All_Monitors", 0}};
    for (const auto& value : values)
        RegSetValueExW(key, value.first, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.second), 4);
    RegSetValueExW(key, L"Path_Wall", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"C:\\Windows"), 22);
    RegCloseKey(key);
}

using control_finder::ControlAt;

std::wstring TextAt(HWND dialog, int left, int top)
{
    wchar_t text[128] = {};
    GetWindowTextW(ControlAt(dialog, left, top), text, 128);
    return text;
}

void MoveBar(HWND dialog, int left, int top, int position)
{
    const HWND bar = ControlAt(dialog, left, top);
    SendMessageW(bar, TBM_SETPOS, TRUE, position);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(bar));
}

uint32_t PreviewPixel(int x, int y)
{
    const uint8_t* p = PreviewSurface.Row(y) + 3 * x;
    return ColourValue(p[2], p[1], p[0]);
}

constexpr uint32_t White = ColourValue(255, 255, 255);
constexpr uint32_t Black = ColourValue(0, 0, 0);
constexpr uint32_t Mark = ColourValue(200, 10, 10);

// Runs the messages waiting; the quit that a closed main form posts is taken too.
void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class SettingsDialog : public ::testing::Test {
protected:
    void TearDown() override
    {
        form.reset();
        Pump();
        RegDeleteTreeW(HKEY_CURRENT_USER, SettingsPath);
    }
    std::unique_ptr<TForm2> form = std::make_unique<TForm2>();
};

TEST_F(SettingsDialog, BelowTheRangeIsBroughtIntoItForTheGenerator)
{
    StoreSettings(0, 2);
    form->Create();
    EXPECT_EQ(SaverSettings.Rosacle, 1);
    EXPECT_EQ(SaverSettings.Segment, 4);
    EXPECT_EQ(TextAt(form->Handle(), 207, 385), L"Rosacle 1");
    EXPECT_EQ(form->PreviewRosette().RowPoints[267], 419); // laid out for 4 petals at 512 x 382
    EXPECT_EQ(PreviewSurface.Width(), 512);
    EXPECT_EQ(PreviewSurface.Height(), 382);
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 512);
    EXPECT_EQ(client.bottom, 545);
}

// Moved to a monitor of 125 % and back (the system's WM_DPICHANGED): places, client area and
// preview follow, and the preview is laid out anew at its size.
TEST_F(SettingsDialog, AnotherMonitorsDpiLaysItOutAgain)
{
    StoreSettings(1, 8);
    form->Create();
    const HWND dialog = form->Handle();
    for (const int dpi : {120, 96}) {
        RECT window;
        GetWindowRect(dialog, &window);
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
        const auto scaled = [dpi](int length) { return MulDiv(length, dpi, 96); };
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, scaled(512));
        EXPECT_EQ(client.bottom, scaled(545));
        EXPECT_EQ(PreviewSurface.Width(), scaled(512));
        EXPECT_EQ(PreviewSurface.Height(), scaled(382));
        EXPECT_EQ(PreviewPixel(scaled(512) - 1, scaled(382) - 1), White);
        EXPECT_EQ(TextAt(dialog, scaled(10), scaled(385)), L"Speed");
        EXPECT_EQ(TextAt(dialog, scaled(426), scaled(515)), L"Close");
        EXPECT_NE(ControlAt(dialog, scaled(200), scaled(407)), nullptr); // the pattern bar
    }
}

TEST_F(SettingsDialog, PatternBarKeepsThePreviewPetalBarAndInvertClearIt)
{
    StoreSettings(1, 8);
    form->Create();
    const HWND dialog = form->Handle();
    PreviewSurface.SetPixel(5, 5, Mark);
    PreviewSurface.SetPixel(256, 191, Mark);

    MoveBar(dialog, 200, 407, 21);
    EXPECT_EQ(SaverSettings.Rosacle, 21);
    EXPECT_EQ(TextAt(dialog, 207, 385), L"Rosacle 21");
    EXPECT_EQ(PreviewPixel(5, 5), Mark);
    EXPECT_EQ(PreviewPixel(256, 191), Mark);

    MoveBar(dialog, 200, 460, 4);
    EXPECT_EQ(SaverSettings.Segment, 4);
    EXPECT_EQ(TextAt(dialog, 207, 438), L"Petals 4");
    EXPECT_EQ(form->PreviewRosette().RowPoints[267], 419);
    EXPECT_EQ(PreviewPixel(5, 5), White);
    EXPECT_EQ(PreviewPixel(256, 191), White);

    // The same position again is no change: nothing is cleared.
    PreviewSurface.SetPixel(5, 5, Mark);
    MoveBar(dialog, 200, 460, 4);
    EXPECT_EQ(PreviewPixel(5, 5), Mark);

    SendMessageW(ControlAt(dialog, 407, 460), BM_CLICK, 0, 0);
    EXPECT_TRUE(SaverSettings.Oval);
    EXPECT_EQ(PreviewPixel(5, 5), White);
}

TEST_F(SettingsDialog, UntickingBackgroundBlackensEveryPixel)
{
    StoreSettings(1, 8);
    form->Create();
    PreviewSurface.SetPixel(100, 100, Mark);
    SendMessageW(ControlAt(form->Handle(), 207, 485), BM_CLICK, 0, 0);
    EXPECT_FALSE(SaverSettings.Background);
    bool allBlack = true;
    for (int y = 0; y < 382; ++y)
        for (int x = 0; x < 512; ++x) allBlack = allBlack && PreviewPixel(x, y) == Black;
    EXPECT_TRUE(allBlack);
}

} // namespace
