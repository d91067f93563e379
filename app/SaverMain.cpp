// The program entry: the host's switch picks one mode per process.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "common/ModeLetter.h"
#include "dialogs/Unit2.h"
#include "generator/ExtendedMath.h"
#include "generator/Workers.h"
#include "platform/Form.h"
#include "saver/Preview.h"
#include "saver/Unit1.h"

// The command line's argument `index` (1 = the first after the program), or "" when missing.
static std::wstring Argument(int index)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring text;
    if (arguments && count > index) text = arguments[index];
    if (arguments) LocalFree(arguments);
    return text;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Rosacle::SetExtendedPrecision();
    const SaverMode mode = ModeOf(ModeLetter(Argument(1)));
    // The saver's frames and layouts share their rows among all processors. The preview's
    // small picture stays on its drawing thread alone.
    if (mode != SaverMode::Preview) Rosacle::SetWorkerCount(Rosacle::ProcessorCount());
    Application.Initialize();
    Application.Title = "Fractal Rosacle Screensaver";

    if (mode == SaverMode::Preview) {
        RunPreview(Argument(2));
        return 0;
    }
    if (mode == SaverMode::Settings) {
        // "/c:HWND" from the control panel: the dialog is modal to that window.
        HWND owner = reinterpret_cast<HWND>(static_cast<intptr_t>(SettingsOwnerHandle(Argument(1))));
        if (owner && !IsWindow(owner)) owner = nullptr;
        static TForm2 SettingsForm(owner);
        Application.Dispatch(nullptr, [] { SettingsForm.Create(); });
    }
    if (mode == SaverMode::FullScreen) {
        static TForm1 Form1;
        Application.Dispatch(nullptr, [] { Form1.Create(); });
    }
    Application.Run();
    return 0;
}
