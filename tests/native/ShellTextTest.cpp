// The start-up switch and the error box text: portable rules of the shell.
#include <gtest/gtest.h>

#include "common/ModeLetter.h"
#include "common/ErrorText.h"

TEST(ModeLetter, SecondCharacterUpperCasedDecides)
{
    EXPECT_EQ(ModeLetter(L"/s"), L'S');
    EXPECT_EQ(ModeLetter(L"/S"), L'S');
    EXPECT_EQ(ModeLetter(L"-c"), L'C');
    EXPECT_EQ(ModeLetter(L"/c:3342"), L'C');
    EXPECT_EQ(ModeLetter(L"/p"), L'P');
    EXPECT_EQ(ModeLetter(L"xa"), L'A');
    // Only a..z change case.
    EXPECT_EQ(ModeLetter(L"/\u00e4"), L'\u00e4');
    EXPECT_EQ(ModeLetter(L"/1"), L'1');
}

TEST(ModeLetter, ShortOrMissingArgumentStartsTheSaver)
{
    EXPECT_EQ(ModeLetter(L""), 0);
    EXPECT_EQ(ModeLetter(L"c"), 0);
    EXPECT_EQ(ModeOf(ModeLetter(L"c")), SaverMode::FullScreen);
    EXPECT_EQ(ModeOf(ModeLetter(L"")), SaverMode::FullScreen);
    EXPECT_EQ(ModeOf(ModeLetter(L"/s")), SaverMode::FullScreen);
    EXPECT_EQ(ModeOf(ModeLetter(L"/x")), SaverMode::FullScreen);
    EXPECT_EQ(ModeOf(ModeLetter(L"/C")), SaverMode::Settings);
    EXPECT_EQ(ModeOf(ModeLetter(L"/p")), SaverMode::Preview);
    EXPECT_EQ(ModeOf(ModeLetter(L"/a")), SaverMode::None);
}

TEST(ModeLetter, SettingsOwnerAfterTheColon)
{
    EXPECT_EQ(SettingsOwnerHandle(L"/c:3342"), 3342);
    EXPECT_EQ(SettingsOwnerHandle(L"-C:0x1A2b"), 0x1A2B);
    for (const wchar_t* none : {L"/c", L"/c:", L"/c3342", L"/c:33x", L"/c:\u00e4", L"/s:3342", L"/p:3342", L"c:3342"})
        EXPECT_EQ(SettingsOwnerHandle(none), 0) << none;
}

TEST(ErrorBoxText, FullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(ErrorBoxText("Invalid data type for 'Speed'"), "Invalid data type for 'Speed'"); // '\'' < '.'
    EXPECT_EQ(ErrorBoxText("DIB cannot be made"), "DIB cannot be made.");
    EXPECT_EQ(ErrorBoxText("Bitcount in invalid (7)"), "Bitcount in invalid (7)"); // ')' < '.'
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Really!"), "Really!");
    EXPECT_EQ(ErrorBoxText("a-"), "a-");
    EXPECT_EQ(ErrorBoxText("path/"), "path/.");
    EXPECT_EQ(ErrorBoxText("size 42"), "size 42.");
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(ErrorBoxText("J\xC3\xB6rg \xE5\x86\x99"), "J\xC3\xB6rg \xE5\x86\x99.");
    EXPECT_STREQ(ApplicationTitle, "Fractal Rosacle Screensaver");
}
