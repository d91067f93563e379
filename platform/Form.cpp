#include "platform/Form.h"

#include <commctrl.h>

#include <exception>

#include "common/SaverError.h"
#include "common/ErrorText.h"
#include "platform/Dpi.h"
#include "settings/Win32Registry.h"

TApplication Application;

namespace {

const wchar_t* const FormClassName = L"RosacleForm";

void RegisterFormClass(WNDPROC procedure)
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = FormClassName;
    RegisterClassExW(&wc);
    registered = true;
}

const wchar_t* const ApplicationClassName = L"RosacleApplication";

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_ACTIVATE: {
        // Picked in the task bar or with Alt+Tab: the window it owns takes the activation.
        const HWND popup = GetLastActivePopup(window);
        if (LOWORD(w) != WA_INACTIVE && popup && popup != window && IsWindowEnabled(popup)) SetActiveWindow(popup);
        return 0;
    }
    case WM_CLOSE: // "Close window" of the task bar
        if (Application.MainForm) Application.MainForm->Close();
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

// Whether `control` is a push button (Enter presses it when it has the focus).
bool IsPushButton(HWND control)
{
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"Button") != 0) return false;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

unsigned CurrentShiftState()
{
    unsigned shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

} // namespace

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

HWND TApplication::Handle()
{
    if (handle_ && IsWindow(handle_)) return handle_;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ApplicationWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = ApplicationClassName;
    RegisterClassExW(&wc); // fails harmlessly when registered already
    const std::wstring title = WideFromUtf8(Title);
    handle_ = CreateWindowExW(0, ApplicationClassName, title.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, wc.hInstance, nullptr);
    // Shown without size and without taking the activation from the form that follows.
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return handle_;
}

void TApplication::Run()
{
    if (!MainForm) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) { // the main form posts the quit
        TForm::PreviewKey(message);
        if (TForm::DialogKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool TApplication::Dispatch(HWND owner, const std::function<void()>& handler)
{
    // No exception may cross the window procedure back into the system.
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ShowException(owner, e.what());
    } catch (...) {
        ShowException(owner, "Unknown error");
    }
    return false;
}

void TApplication::ShowException(HWND owner, const std::string& message)
{
    const std::wstring text = WideFromUtf8(ErrorBoxText(message));
    const std::wstring caption = WideFromUtf8(Title);
    const bool nested = showingError_;
    showingError_ = true;
    MessageBoxW(owner && IsWindow(owner) ? owner : nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    showingError_ = nested;
}

TTimer::TTimer(TForm& owner, UINT interval, std::function<void()> onTimer)
    : owner_(owner), id_(owner.nextId_++), interval_(interval), onTimer_(std::move(onTimer))
{
    owner_.timers_.push_back(this);
}

void TTimer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Apply();
}

void TTimer::Apply()
{
    if (!owner_.handle_) return;
    if (enabled_ && interval_ > 0) SetTimer(owner_.handle_, id_, interval_, nullptr);
    else KillTimer(owner_.handle_, id_);
}

TControl::TControl(TForm& owner, const wchar_t* windowClass, DWORD style, int left, int top, int width, int height,
                   const std::wstring& text, UINT id)
    : owner_(owner)
{
    if (id == 0) id = owner.nextId_++;
    design_ = {left, top, width, height};
    handle_ = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, owner.Scale(left),
                              owner.Scale(top), owner.Scale(width), owner.Scale(height), owner.handle_,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!handle_) Failure("%s cannot be made", "Control");
    HGDIOBJ font = owner.font_ ? static_cast<HGDIOBJ>(owner.font_) : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    owner.controls_.push_back(this);
}

TControl::~TControl()
{
    auto& list = owner_.controls_;
    for (auto it = list.begin(); it != list.end(); ++it)
        if (*it == this) { list.erase(it); break; }
}

void TControl::Place()
{
    const bool sizesItself = design_.right == 0 && design_.bottom == 0;
    SetWindowPos(handle_, nullptr, owner_.Scale(design_.left), owner_.Scale(design_.top), owner_.Scale(design_.right),
                 owner_.Scale(design_.bottom), SWP_NOZORDER | SWP_NOACTIVATE | (sizesItself ? SWP_NOSIZE : 0));
}

std::wstring TControl::Text() const
{
    std::wstring text(GetWindowTextLengthW(handle_) + 1, L'\0');
    text.resize(GetWindowTextW(handle_, &text[0], int(text.size())));
    return text;
}

TForm::TForm(FormLayout layout) : layout_(std::move(layout)) {}

TForm::~TForm()
{
    if (handle_) {
        closing_ = true; // destroyed without the close path: no FormClose
        DestroyWindow(handle_);
    }
    if (brush_) DeleteObject(brush_);
    if (font_) DeleteObject(font_);
}

void TForm::Create()
{
    if (handle_) return;
    RegisterFormClass(&TForm::WindowProc);
    brush_ = CreateSolidBrush(layout_.colour);
    // Made at the system's DPI, then laid out for the DPI of the monitor it is on.
    dpi_ = WindowDpi(nullptr);
    RECT frame = {0, 0, Scale(layout_.clientWidth), Scale(layout_.clientHeight)};
    AdjustFrameForDpi(frame, layout_.style, layout_.exStyle, dpi_);
    const HWND window = CreateWindowExW(layout_.exStyle, FormClassName, layout_.caption.c_str(),
                                        layout_.style & ~WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                        frame.right - frame.left, frame.bottom - frame.top, layout_.owner, nullptr,
                                        GetModuleHandleW(nullptr), this);
    if (!window) Failure("%s cannot be made", "Window");
    const UINT madeAt = dpi_;
    dpi_ = WindowDpi(handle_);
    MakeFont();
    if (layout_.scaled && dpi_ != madeAt) SetClientSize(Scale(layout_.clientWidth), Scale(layout_.clientHeight));
    if (!Application.MainForm) Application.MainForm = this;
    const bool created = Dispatch([this] { FormCreate(); });
    if (!handle_) return; // FormCreate closed it
    FormCreated(created);
    if (!handle_) return;
    for (TTimer* timer : timers_) timer->Apply();
    if (layout_.visible) {
        if (layout_.screenCentre) {
            RECT r;
            GetWindowRect(handle_, &r);
            const int width = r.right - r.left, height = r.bottom - r.top;
            SetWindowPos(handle_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        ShowWindow(handle_, SW_SHOW);
        UpdateWindow(handle_);
    }
}

void TForm::Close()
{
    if (!handle_ || closing_) return;
    closing_ = true;
    Dispatch([this] { FormClose(); });
    if (handle_) DestroyWindow(handle_);
}

void TForm::SetClientSize(int width, int height)
{
    RECT frame = {0, 0, width, height};
    AdjustFrameForDpi(frame, GetWindowLongW(handle_, GWL_STYLE), GetWindowLongW(handle_, GWL_EXSTYLE),
                      WindowDpi(handle_));
    SetWindowPos(handle_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A frame drawn at another DPI than computed (a process the system scales): by what shows.
    const int wider = width - ClientWidth(), taller = height - ClientHeight();
    if (wider || taller)
        SetWindowPos(handle_, nullptr, 0, 0, frame.right - frame.left + wider, frame.bottom - frame.top + taller,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::MakeFont()
{
    if (layout_.fontName.empty()) return;
    font_ = CreateFontW(-Scale(layout_.fontHeight), 0, 0, 0, layout_.fontBold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                        FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, layout_.fontName.c_str());
}

void TForm::ChangeDpi(UINT dpi, const RECT* suggested)
{
    if (dpi == 0 || dpi == dpi_) return;
    const int oldDpi = static_cast<int>(dpi_);
    const int width = MulDiv(ClientWidth(), static_cast<int>(dpi), oldDpi);
    const int height = MulDiv(ClientHeight(), static_cast<int>(dpi), oldDpi);
    dpi_ = dpi;
    const HFONT oldFont = font_;
    MakeFont();
    for (TControl* control : controls_) {
        control->Place();
        // Controls that keep a font of their own keep it.
        if (font_ && reinterpret_cast<HFONT>(control->Send(WM_GETFONT)) == oldFont)
            control->Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    if (oldFont && oldFont != font_) DeleteObject(oldFont);
    // Where the system puts the window, with the client area scaled exactly.
    if (suggested)
        SetWindowPos(handle_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetClientSize(width, height);
    Dispatch([this] { FormDpiChanged(); });
    InvalidateRect(handle_, nullptr, TRUE);
}

int TForm::ClientWidth() const
{
    RECT r = {};
    GetClientRect(handle_, &r);
    return r.right - r.left;
}

int TForm::ClientHeight() const
{
    RECT r = {};
    GetClientRect(handle_, &r);
    return r.bottom - r.top;
}

void TForm::PreviewKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!root || root == message.hwnd) return; // the form's own keys take the usual way
    wchar_t className[32] = {};
    GetClassNameW(root, className, 32);
    if (lstrcmpW(className, FormClassName) != 0) return;
    TForm* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    if (!form || !form->layout_.keyPreview) return;
    const unsigned shift = CurrentShiftState();
    const WORD key = static_cast<WORD>(message.wParam);
    form->Dispatch([&] { form->FormKeyDown(key, shift); });
}

bool TForm::DialogKey(MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd) return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!root) return false;
    wchar_t className[32] = {};
    GetClassNameW(root, className, 32);
    if (lstrcmpW(className, FormClassName) != 0) return false;
    TForm* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    if (!form || !form->layout_.dialogKeys) return false;
    // A window that is no dialog has no default button: Enter presses the focused button.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && IsChild(root, message.hwnd) &&
        IsPushButton(message.hwnd)) {
        SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    return IsDialogMessageW(root, &message) != FALSE;
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    TForm* form;
    if (message == WM_NCCREATE) {
        form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->handle_ = window;
    } else {
        form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!form) return DefWindowProcW(window, message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->handle_ = nullptr;
        return DefWindowProcW(window, message, w, l);
    }
    return form->Route(message, w, l);
}

LRESULT TForm::Route(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        for (TTimer* timer : timers_) KillTimer(handle_, timer->id_);
        if (Application.MainForm == this) {
            Application.MainForm = nullptr;
            PostQuitMessage(0);
        }
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const unsigned shift = CurrentShiftState();
        Dispatch([&] { FormKeyDown(static_cast<WORD>(w), shift); });
        if (message == WM_SYSKEYDOWN && handle_) return DefWindowProcW(handle_, message, w, l);
        return 0;
    }
    case WM_ACTIVATE:
        if (!layout_.dialogKeys) break;
        if (LOWORD(w) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(handle_, focus)) lastFocus_ = focus;
        } else if (!HIWORD(w)) { // not minimised
            if (!lastFocus_ || !IsWindow(lastFocus_) || !IsChild(handle_, lastFocus_))
                lastFocus_ = GetNextDlgTabItem(handle_, nullptr, FALSE);
            SetFocus(lastFocus_ ? lastFocus_ : handle_);
        }
        return 0;
    case WM_DPICHANGED:
        if (!layout_.scaled) break;
        ChangeDpi(LOWORD(w), reinterpret_cast<const RECT*>(l));
        return 0;
    case WM_MOUSEMOVE: {
        const int x = static_cast<short>(LOWORD(l)), y = static_cast<short>(HIWORD(l));
        Dispatch([&] { FormMouseMove(x, y); });
        return 0;
    }
    case WM_TIMER:
        for (TTimer* timer : timers_) {
            if (timer->id_ != w) continue;
            if (timer->enabled_ && timer->onTimer_ && !Application.ShowingError()) Dispatch(timer->onTimer_);
            return 0;
        }
        break;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, brush_);
        return 1;
    }
    case WM_CTLCOLORSTATIC: { // labels and check boxes on the form's own colour
        const HDC dc = reinterpret_cast<HDC>(w);
        SetBkColor(dc, layout_.colour);
        SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(brush_);
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        Dispatch([&] { FormPaint(dc); });
        EndPaint(handle_, &ps);
        return 0;
    }
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        for (TControl* control : controls_) {
            if (reinterpret_cast<HWND>(l) != control->handle_ || !l) continue;
            std::function<void()> handler;
            if (message != WM_COMMAND) handler = control->OnChange;
            else if (HIWORD(w) == BN_CLICKED) handler = control->OnClick;
            else if (HIWORD(w) == EN_CHANGE) handler = control->OnChange;
            else if (HIWORD(w) == LBN_DBLCLK) handler = control->OnDblClick;
            if (handler) Dispatch(handler);
            return 0;
        }
        break;
    }
    return HandleMessage(message, w, l);
}

LRESULT TForm::HandleMessage(UINT message, WPARAM w, LPARAM l)
{
    return DefWindowProcW(handle_, message, w, l);
}
