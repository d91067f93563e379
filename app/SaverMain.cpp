// The program entry: the host's switch picks one mode per process.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/ModeLetter.h"
#include "platform/Form.h"
#include "saver/Unit1.h"

static std::wstring FirstArgument()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring first;
    if (arguments && count > 1) first = arguments[1];
    if (arguments) LocalFree(arguments);
    return first;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const SaverMode mode = ModeOf(ModeLetter(FirstArgument()));
    Application.Initialize();
    Application.Title = "Fractal Rosacle Screensaver";

    // The settings dialog and the control-panel preview are their own windows; until they
    // exist, their switches end at once like /a.
    if (mode == SaverMode::FullScreen) {
        static TForm1 Form1;
        Application.Dispatch(nullptr, [] { Form1.Create(); });
    }
    Application.Run();
    return 0;
}
