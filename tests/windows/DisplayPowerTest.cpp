// The display state read from the system's power-setting notification, against records built
// with the system headers' own identifier.
#include <initguid.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "saver/DisplayPower.h"

namespace {

std::vector<unsigned char> Record(const GUID& setting, DWORD length, DWORD value)
{
    std::vector<unsigned char> bytes(sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD));
    auto* record = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes.data());
    record->PowerSetting = setting;
    record->DataLength = length;
    CopyMemory(record->Data, &value, sizeof value);
    return bytes;
}

DisplayState StateOf(WPARAM event, std::vector<unsigned char> record)
{
    return DisplayStateOf(event, reinterpret_cast<LPARAM>(record.data()));
}

} // namespace

TEST(DisplayPower, ReadsTheConsoleDisplayState)
{
    EXPECT_EQ(StateOf(PBT_POWERSETTINGCHANGE, Record(GUID_CONSOLE_DISPLAY_STATE, 4, 0)), DisplayState::Off);
    EXPECT_EQ(StateOf(PBT_POWERSETTINGCHANGE, Record(GUID_CONSOLE_DISPLAY_STATE, 4, 1)), DisplayState::On);
    EXPECT_EQ(StateOf(PBT_POWERSETTINGCHANGE, Record(GUID_CONSOLE_DISPLAY_STATE, 4, 2)), DisplayState::Dimmed);
}

TEST(DisplayPower, IgnoresEveryOtherPowerMessage)
{
    EXPECT_EQ(StateOf(PBT_POWERSETTINGCHANGE, Record(GUID_CONSOLE_DISPLAY_STATE, 4, 7)), DisplayState::Unknown);
    EXPECT_EQ(StateOf(PBT_POWERSETTINGCHANGE, Record(GUID_CONSOLE_DISPLAY_STATE, 2, 0)), DisplayState::Unknown);
    EXPECT_EQ(StateOf(PBT_POWERSETTINGCHANGE, Record(GUID_ACDC_POWER_SOURCE, 4, 0)), DisplayState::Unknown);
    EXPECT_EQ(StateOf(PBT_APMRESUMEAUTOMATIC, Record(GUID_CONSOLE_DISPLAY_STATE, 4, 0)), DisplayState::Unknown);
    EXPECT_EQ(DisplayStateOf(PBT_POWERSETTINGCHANGE, 0), DisplayState::Unknown);
}
