#pragma once
// The thin window layer: an application object with the message loop, a form base that owns
// its window and routes messages to handlers named after the event, window timers, child
// controls, and the one dispatcher through which every handler runs.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TForm;

// The process's application object: title, main form, message loop, error box.
class TApplication {
public:
    std::string Title = "Fractal Rosacle Screensaver";
    TForm* MainForm = nullptr; // the first form created; closing it ends Run

    // Loads the common controls (track bars). Call once before the first form.
    void Initialize();
    // The application window: a visible window of no size titled with Title. A form it owns
    // has no task-bar button of its own; the task bar and Alt+Tab show this window's title.
    // Made at the first call; null when it cannot be made.
    HWND Handle();
    // The message loop: runs until the main form is gone; without one it returns at once.
    void Run();
    // Runs a handler; an exception leaving it shows the error box owned by `owner` and the
    // program goes on. Returns whether the handler ran to its end.
    bool Dispatch(HWND owner, const std::function<void()>& handler);
    // The standard error box: message with its full stop, the title as caption, stop icon.
    void ShowException(HWND owner, const std::string& message);
    // True while an error box is open; timer ticks are dropped then, so a failing frame
    // handler cannot pile up boxes inside the box's own message loop.
    bool ShowingError() const { return showingError_; }

private:
    bool showingError_ = false;
    HWND handle_ = nullptr;
};

extern TApplication Application;

// How a form looks when it is made.
struct FormLayout {
    std::wstring caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int clientWidth = 640;
    int clientHeight = 480;
    bool screenCentre = true; // placed centred on the screen when shown
    COLORREF colour = RGB(240, 240, 240);
    bool visible = true;
    // The font of the form and its controls; an empty name keeps the system's GUI font.
    std::wstring fontName;
    int fontHeight = 0; // character height in pixels
    bool fontBold = false;
    // The form sees every key before the focused control does (FormKeyDown runs first).
    bool keyPreview = false;
    // Keys as in a dialog box: Tab and Shift+Tab move between the controls, Space toggles a
    // focused box, Enter presses the focused push button (elsewhere the control with the id
    // IDOK), Escape the one with IDCANCEL, arrows move a focused track bar; the focused
    // control is kept while another window is active.
    bool dialogKeys = false;
    // The window that owns this one (stays below it; none for a window of its own).
    HWND owner = nullptr;
    // The client size, the font and the controls' places are those of 96 DPI and follow the
    // DPI of the monitor the window is on (also when it moves to another one). Otherwise
    // they are pixels.
    bool scaled = false;
};

// A window timer of a form. Its handler runs through the dispatcher.
class TTimer {
public:
    TTimer(TForm& owner, UINT interval, std::function<void()> onTimer);
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    UINT Interval() const { return interval_; }

private:
    friend class TForm;
    void Apply();

    TForm& owner_;
    UINT id_;
    UINT interval_;
    bool enabled_ = false;
    std::function<void()> onTimer_;
};

// A standard child control (button, check box, static, edit, track bar, ...). It is made at
// once, so the form's window must exist (make controls in FormCreate).
class TControl {
public:
    // id 0 takes the form's next free one (these start above IDOK and IDCANCEL).
    TControl(TForm& owner, const wchar_t* windowClass, DWORD style, int left, int top, int width, int height,
             const std::wstring& text = L"", UINT id = 0);
    ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return handle_; }
    LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) const { return SendMessageW(handle_, message, w, l); }
    void SetText(const std::wstring& text) { SetWindowTextW(handle_, text.c_str()); }
    std::wstring Text() const;
    void SetEnabled(bool enabled) { EnableWindow(handle_, enabled); }

    std::function<void()> OnClick;  // buttons and check boxes
    std::function<void()> OnChange; // edits (EN_CHANGE), track bars (scroll notifications)
    std::function<void()> OnDblClick; // list boxes with LBS_NOTIFY (LBN_DBLCLK)

private:
    friend class TForm;
    // Placed at the form's DPI; width and height 0 for a label that sizes itself.
    void Place();

    TForm& owner_;
    HWND handle_ = nullptr;
    RECT design_; // left, top, width, height as made
};

// Key state that comes with a key message.
enum ShiftState : unsigned { ssShift = 1, ssCtrl = 2, ssAlt = 4 };

class TForm {
public:
    explicit TForm(FormLayout layout);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // Makes the window, runs FormCreate through the dispatcher, then shows the window if the
    // layout says visible. The first form made is the application's main form.
    void Create();
    // The close path: FormClose (through the dispatcher), then the window is destroyed.
    void Close();

    HWND Handle() const { return handle_; }
    HFONT Font() const { return font_; }
    // The DPI the form is laid out for (96 for a form of pixels).
    UINT Dpi() const { return layout_.scaled ? dpi_ : 96; }
    // A length of the 96-DPI layout in the form's pixels.
    int Scale(int value) const { return MulDiv(value, static_cast<int>(Dpi()), 96); }
    // In pixels.
    void SetClientSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

protected:
    // Event handlers; every one is called through the dispatcher.
    virtual void FormCreate() {}
    virtual void FormClose() {}
    virtual void FormKeyDown(WORD key, unsigned shift) { (void)key; (void)shift; }
    virtual void FormMouseMove(int x, int y) { (void)x; (void)y; }
    virtual void FormPaint(HDC dc) { (void)dc; }
    // After FormCreate, before the window is shown: `created` tells whether FormCreate ran
    // to its end (a form starts its timers here).
    virtual void FormCreated(bool created) { (void)created; }
    // A scaled form has been laid out again for a new DPI: controls placed, font renewed,
    // client area scaled. Labels that size themselves size themselves again here.
    virtual void FormDpiChanged() {}

    // Everything else; the default is the system's.
    virtual LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);

    // Runs one handler of this form through the application's dispatcher.
    bool Dispatch(const std::function<void()>& handler) { return Application.Dispatch(handle_, handler); }

private:
    friend class TTimer;
    friend class TControl;
    friend class TApplication;
    // The key preview: a key message for a control of a previewing form reaches the form first.
    static void PreviewKey(const MSG& message);
    // The dialog keys of the form the message is for; true when the message was used.
    static bool DialogKey(MSG& message);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Route(UINT message, WPARAM w, LPARAM l);
    void MakeFont();
    // WM_DPICHANGED of a scaled form: `suggested` is the system's window rectangle, if any.
    void ChangeDpi(UINT dpi, const RECT* suggested);

    FormLayout layout_;
    HWND handle_ = nullptr;
    HBRUSH brush_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    bool closing_ = false;
    HWND lastFocus_ = nullptr; // with dialogKeys: the control to focus when active again
    std::vector<TTimer*> timers_;
    std::vector<TControl*> controls_;
    UINT nextId_ = 100;
};
