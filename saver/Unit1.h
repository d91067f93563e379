#pragma once
// The full-screen saver window: borderless, topmost, black, covering the screen, with the
// raster surface centred in it. A frame every 30 ms; a key or a mouse jump closes it.
#include "platform/Form.h"
#include "raster/Plot.h"
#include "raster/TDIB.h"

class TForm1 : public TForm {
public:
    TForm1();

    // The largest cursor step, on either axis, between two mouse-move messages that leaves
    // the saver running.
    static constexpr int MouseJumpLimit = 100;

protected:
    void FormCreate() override;
    void FormClose() override;
    void FormKeyDown(WORD key, unsigned shift) override;
    void FormMouseMove(int x, int y) override;
    void FormCreated(bool created) override;
    void FormPaint(HDC dc) override;

private:
    void TimerTimer();

    TTimer Timer;
    TDIB SaverSurface;
    RosettePlotter Plotter;
    int32_t DrawLeft = 0;
    int32_t DrawTop = 0;
    bool WholeDrawn = false;
    POINT MouseReference = {0, 0};
};

// Whether a cursor step from `reference` to `now` is a jump that ends the saver.
bool IsMouseJump(POINT reference, POINT now);
