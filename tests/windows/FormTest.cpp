// The window layer under Wine: an exception leaving a handler shows the standard error box
// (read back from the real box) and the program goes on; closing the main form ends the loop.
#include <gtest/gtest.h>

#include <thread>

#include "common/SaverError.h"
#include "platform/Form.h"
#include "tests/windows/BoxReader.h"

namespace {

const wchar_t* const BoxCaption = L"Fractal Rosacle Screensaver";

// Waits for the error box, reads its text and presses OK; closes `fallback` if no box comes.
std::thread BoxCloser(std::wstring& text, HWND& fallback)
{
    return std::thread([&text, &fallback] {
        HWND box = box_reader::FindByCaption(BoxCaption, 20000);
        if (!box) {
            PostMessageW(fallback, WM_CLOSE, 0, 0);
            return;
        }
        std::wstring read;
        for (int k = 0; k < 100 && read.empty(); ++k) { // the box fills its texts after it appears
            Sleep(50);
            read = box_reader::StaticTexts(box);
        }
        text = read;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
}

FormLayout SmallLayout()
{
    FormLayout layout;
    layout.caption = L"Layer test";
    layout.style = WS_POPUP;
    layout.clientWidth = 200;
    layout.clientHeight = 100;
    return layout;
}

class FailingForm : public TForm {
public:
    FailingForm() : TForm(SmallLayout()), Timer(*this, 20, [this] { TimerTimer(); }) {}

    TTimer Timer;
    int ticks = 0;
    int closes = 0;
    bool failCreate = false;
    bool createdFlag = true;
    bool afterThrow = false;

protected:
    void FormCreate() override
    {
        if (failCreate) Failure("Invalid data type for '%s'", "Speed");
        Timer.SetEnabled(true);
    }
    void FormCreated(bool created) override { createdFlag = created; }
    void FormKeyDown(WORD, unsigned) override { Close(); }
    void FormClose() override { ++closes; }

private:
    void TimerTimer()
    {
        ++ticks;
        if (ticks == 1) {
            Failure("Frame %d failed", ticks);
            afterThrow = true; // never reached
        }
        Close();
    }
};

class Layer : public ::testing::Test {
protected:
    void SetUp() override { Application.MainForm = nullptr; }
    void TearDown() override { Application.MainForm = nullptr; }
};

TEST_F(Layer, ExceptionInATimerHandlerShowsTheBoxAndTheProgramGoesOn)
{
    FailingForm form;
    form.Create();
    ASSERT_NE(form.Handle(), nullptr);
    EXPECT_EQ(Application.MainForm, &form);
    std::wstring text;
    HWND handle = form.Handle();
    std::thread closer = BoxCloser(text, handle);
    Application.Run(); // ends when the second tick closes the main form
    closer.join();
    EXPECT_EQ(text, L"Frame 1 failed.");
    EXPECT_EQ(form.ticks, 2) << "ticks during the open box must be dropped";
    EXPECT_FALSE(form.afterThrow);
    EXPECT_EQ(form.closes, 1);
    EXPECT_EQ(form.Handle(), nullptr);
    EXPECT_EQ(Application.MainForm, nullptr);
}

TEST_F(Layer, FailedCreationShowsTheBoxAndTheFormStillCloses)
{
    FailingForm form;
    form.failCreate = true;
    std::wstring text;
    HWND none = nullptr;
    std::thread closer = BoxCloser(text, none);
    form.Create(); // the box is modal inside FormCreate's dispatcher
    closer.join();
    EXPECT_EQ(text, L"Invalid data type for 'Speed'"); // the quote sorts before '.'
    EXPECT_FALSE(form.createdFlag);
    ASSERT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(form.Timer.Enabled());
    PostMessageW(form.Handle(), WM_KEYDOWN, VK_SHIFT, 0);
    Application.Run();
    EXPECT_EQ(form.ticks, 0);
    EXPECT_EQ(form.closes, 1);
}

class ButtonForm : public TForm {
public:
    ButtonForm() : TForm(SmallLayout()) {}
    std::unique_ptr<TControl> Button1;
    int clicks = 0;

protected:
    void FormCreate() override
    {
        Button1.reset(new TControl(*this, L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24, L"Go"));
        Button1->OnClick = [this] { Button1Click(); };
    }

private:
    void Button1Click()
    {
        if (++clicks == 1) throw std::runtime_error("Cannot create file D:\\x.jpg");
        Close();
    }
};

TEST_F(Layer, ControlHandlersRunThroughTheDispatcherToo)
{
    ButtonForm form;
    form.Create();
    std::wstring text;
    HWND handle = form.Handle();
    std::thread closer = BoxCloser(text, handle);
    PostMessageW(form.Button1->Handle(), BM_CLICK, 0, 0);
    std::thread second([&] {
        // The second click once the first box has gone.
        for (int k = 0; k < 400 && text.empty(); ++k) Sleep(50);
        Sleep(300);
        PostMessageW(form.Button1->Handle(), BM_CLICK, 0, 0);
    });
    Application.Run();
    closer.join();
    second.join();
    EXPECT_EQ(text, L"Cannot create file D:\\x.jpg.");
    EXPECT_EQ(form.clicks, 2);
}

TEST_F(Layer, WithoutAMainFormTheLoopReturnsAtOnce)
{
    Application.Run();
    SUCCEED();
}

} // namespace
