#include "saver/MonitorRosettes.h"

#include "generator/RunStart.h"
#include "saver/MonitorCovers.h"

namespace {

const wchar_t* const RosetteClassName = L"RosacleRosette";

} // namespace

MonitorRosettes::MonitorRosettes(std::function<void()> onKey, std::function<void()> onMouseMove)
    : onKey_(std::move(onKey)), onMouseMove_(std::move(onMouseMove))
{
}

MonitorRosettes::~MonitorRosettes() { Remove(); }

void MonitorRosettes::Lay(const std::vector<ScreenRect>& monitors, const Rosacle::Rosette& primary,
                          TDIB& primarySurface)
{
    DestroyWindows();
    std::vector<Group> old = std::move(groups_);
    groups_.clear();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MonitorRosettes::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); // the margins
    wc.lpszClassName = RosetteClassName; // no class cursor: none shows over the window
    RegisterClassExW(&wc); // fails harmlessly when registered already

    const std::vector<SurfaceSizeGroup> sizes =
        GroupBySurfaceSize(monitors, Rosacle::MaxSurfaceWidth, Rosacle::MaxSurfaceHeight);
    // The windows first, black: a rosette that cannot be laid leaves its monitor covered.
    for (size_t g = 0; g < sizes.size(); ++g) {
        groups_.emplace_back();
        groups_.back().width = sizes[g].width;
        groups_.back().height = sizes[g].height;
        for (size_t k : sizes[g].members) {
            const ScreenRect& r = monitors[k];
            const HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, RosetteClassName, L"Rosette",
                                                WS_POPUP, r.left, r.top, r.Width(), r.Height(), nullptr, nullptr,
                                                wc.hInstance, this);
            if (!window) continue; // that monitor shows the desktop; the saver runs on
            const Rosacle::SurfacePlace place = Rosacle::PlaceSurface(r.Width(), r.Height());
            shown_.push_back({window, g, place.left, place.top, false});
            ShowWindow(window, SW_SHOWNOACTIVATE);
        }
    }
    for (Group& group : groups_) {
        if (group.width == primary.SurfaceWidth && group.height == primary.SurfaceHeight) {
            group.rosette = &primary;
            group.surface = &primarySurface;
            continue;
        }
        for (Group& kept : old) {
            if (kept.own && kept.width == group.width && kept.height == group.height) {
                group.own = std::move(kept.own);
                group.ownSurface = std::move(kept.ownSurface);
            }
        }
        if (!group.own) {
            auto surface = std::make_unique<TDIB>();
            Rosacle::SurfacePlace place;
            place.width = group.width;
            place.height = group.height;
            Rosacle::SetUpSurface(*surface, place);
            // The settings' pattern and petals (the start's random picks made already); the
            // primary's phases, rates and working values, no random numbers of its own.
            auto rosette = std::make_unique<Rosacle::Rosette>();
            rosette->Phase1 = primary.Phase1;
            rosette->Phase2 = primary.Phase2;
            rosette->Phase3 = primary.Phase3;
            rosette->Rate1 = primary.Rate1;
            rosette->Rate2 = primary.Rate2;
            rosette->Rate3 = primary.Rate3;
            rosette->Working = primary.Working;
            rosette->Lay(group.width, group.height, primary.Kind());
            group.own = std::move(rosette);
            group.ownSurface = std::move(surface);
        }
        group.rosette = group.own.get();
        group.surface = group.ownSurface.get();
    }
}

void MonitorRosettes::Frame(const Rosacle::Rosette& primary)
{
    for (Group& group : groups_) {
        if (!group.own || !group.rosette) continue;
        group.own->StepAlong(primary);
        group.own->Plot(*group.ownSurface);
    }
    for (Shown& s : shown_) {
        const Group& group = groups_[s.group];
        if (!group.rosette) continue; // not laid: the window stays black
        HDC dc = GetDC(s.window);
        if (!dc) continue;
        if (s.whole) {
            const Rosacle::PixelBox box = group.rosette->Box();
            group.surface->DrawPart(dc, s.left, s.top, box.left, box.top, box.right - box.left, box.bottom - box.top);
        } else {
            group.surface->Draw(dc, s.left, s.top);
            s.whole = true;
        }
        ReleaseDC(s.window, dc);
    }
}

void MonitorRosettes::SetShowing(bool on)
{
    showing_ = on;
    for (Shown& s : shown_) s.whole = false;
}

void MonitorRosettes::Paint(HWND window, HDC dc)
{
    if (!showing_) return;
    for (const Shown& s : shown_) {
        if (s.window != window) continue;
        const Group& group = groups_[s.group];
        if (group.rosette) group.surface->Draw(dc, s.left, s.top);
    }
}

void MonitorRosettes::DestroyWindows()
{
    for (const Shown& s : shown_) {
        SetWindowLongPtrW(s.window, GWLP_USERDATA, 0);
        DestroyWindow(s.window);
    }
    shown_.clear();
}

void MonitorRosettes::Remove()
{
    DestroyWindows();
    groups_.clear();
}

LRESULT CALLBACK MonitorRosettes::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* rosettes = reinterpret_cast<MonitorRosettes*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(window, &paint)) {
            if (rosettes) rosettes->Paint(window, dc);
            EndPaint(window, &paint);
        }
        return 0;
    }
    static const std::function<void()> none;
    LRESULT result = 0;
    if (MonitorWindowInput(message, rosettes ? rosettes->onKey_ : none, rosettes ? rosettes->onMouseMove_ : none,
                           result))
        return result;
    return DefWindowProcW(window, message, w, l);
}
