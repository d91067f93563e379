// Test driver: waits for a top-level window with the given caption, prints the texts of its
// static controls and presses its OK button. Exit code 1 when no such window came.
#include <cstdio>

#include "tests/windows/BoxReader.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    HWND box = box_reader::FindByCaption(argv[1], 60000);
    if (!box) return 1;
    std::wstring text;
    for (int k = 0; k < 200 && text.empty(); ++k) {
        Sleep(50);
        text = box_reader::StaticTexts(box);
    }
    std::printf("%ls\n", text.c_str());
    std::fflush(stdout);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}
