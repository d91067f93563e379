#pragma once
// The full-screen saver window: borderless, topmost, black, covering the screen, with the
// raster surface centred in it. A frame every 30 ms; a key or a mouse jump closes it.
#include <array>

#include "generator/RunStart.h"
#include "platform/Form.h"
#include "raster/TDIB.h"
#include "saver/MonitorCovers.h"
#include "saver/MonitorRosettes.h"

class TForm1 : public TForm {
public:
    TForm1();

    // The largest cursor step, on either axis, between two mouse-move messages that leaves
    // the saver running.
    static constexpr int MouseJumpLimit = 100;
    // Milliseconds from a jump to the close, in which a display change may still show.
    static constexpr UINT JumpCheckDelay = 250;

protected:
    void FormCreate() override;
    void FormClose() override;
    void FormKeyDown(WORD key, unsigned shift) override;
    void FormMouseMove(int x, int y) override;
    void FormCreated(bool created) override;
    void FormPaint(HDC dc) override;
    LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l) override;

private:
    void TimerTimer();
    // The display off: no frames and an idle timer; on again: frames go on from the same phases.
    void DisplayPowerChange(bool on);
    // A new resolution or monitor set: the surface laid out again for the new primary screen
    // by the start's rules, the other monitors covered or shown again.
    void DisplayChange();
    // The other monitors as the system lists them now: a rosette of their own size on each with
    // All_Monitors (once the primary's runs), black covers otherwise.
    void LayMonitors();
    void JumpCheckTimer();

    TTimer Timer;
    TTimer JumpCheck;
    TDIB SaverSurface;
    Rosacle::RosetteRun Run;
    int32_t DrawLeft = 0;
    int32_t DrawTop = 0;
    bool WholeDrawn = false;
    POINT MouseReference = {0, 0};
    MonitorCovers Covers;
    MonitorRosettes Rosettes;
    std::array<int, 6> LaidLayout{}; // the display layout the surface and the covers were made for
    void* DisplayStateRegistration = nullptr;
    bool Animating = false; // FormCreate ran to its end: surface and generator exist
    bool DisplayOn = true;
};

// Whether a cursor step from `reference` to `now` is a jump that ends the saver.
bool IsMouseJump(POINT reference, POINT now);
