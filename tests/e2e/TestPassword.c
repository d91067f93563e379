// A stand-in for the system's screen-saver password library: its entry accepts when the
// environment variable ROSACLE_TEST_PASSWORD is "accept" and refuses otherwise.
#include <windows.h>

__declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner)
{
    (void)owner;
    char value[16] = "";
    GetEnvironmentVariableA("ROSACLE_TEST_PASSWORD", value, sizeof value);
    return lstrcmpA(value, "accept") == 0;
}
