#include "ui/win32/window_view.h"

#include <commctrl.h>
#include <initguid.h>  // defines the Active Accessibility GUIDs here, from oleacc.h
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "ui/layout.h"
#include "ui/win32/resources.h"
#include "ui/win32/text.h"

namespace ui::win32 {
namespace {

constexpr wchar_t window_class[] = L"Korvantelo";

// A fixed tool window: a narrow title bar with the close button only, no
// minimise or maximise button, no sizing border, no taskbar button.
constexpr DWORD frame_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD frame_ex_style = WS_EX_TOOLWINDOW;

// How wide a tooltip grows before it wraps its hint, in twips (4 inches).
constexpr int tooltip_width = 5760;

constexpr UINT_PTR tooltip_timer = 1;

COLORREF colour_ref(Rgb colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

// Windows moves the focus with Tab through the z-order, and draws the
// z-order as the stacking. The controls that take the focus never overlap
// one another, so they can lie in focus order at the top without changing
// what is seen; the labels lie below them in the order of the table.
constexpr bool active_controls_overlap()
{
    for (const auto& a : layout::placements) {
        for (const auto& b : layout::placements) {
            if (a.id == b.id || !takes_input(info(a.id).kind) || !takes_input(info(b.id).kind)) continue;
            if (a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
                b.top < a.top + a.height) {
                return true;
            }
        }
    }
    return false;
}
static_assert(!active_controls_overlap(), "focus order and stacking would disagree");

std::wstring text_of(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

struct DcDeleter {
    void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};

HBITMAP load_bitmap(HINSTANCE instance, int id)
{
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) throw WindowsError("a picture of the window is missing from the program");
    return bitmap;
}

HICON load_icon(HINSTANCE instance, int size_metric)
{
    const int size = GetSystemMetrics(size_metric);
    auto* icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(icon_group), IMAGE_ICON, size, size, LR_SHARED));
    if (icon == nullptr) throw WindowsError("the window icon is missing from the program");
    return icon;
}

void register_window_class(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, window_class, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = load_icon(instance, SM_CXICON);
    wc.hIconSm = load_icon(instance, SM_CXSMICON);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = window_class;
    if (RegisterClassExW(&wc) == 0) throw WindowsError("cannot register the window class");
}

// The service that gives a control the name and description a screen reader
// reads, through Active Accessibility's annotations; none where the system
// has no such service.
IAccPropServices* annotation_service()
{
    IAccPropServices* service = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&service)))) {
        OutputDebugStringW(L"korvantelo: no accessibility annotations on this system\n");
        return nullptr;
    }
    return service;
}

}  // namespace

WindowView::WindowView(Window& model, HINSTANCE instance)
    : model_(model),
      instance_(instance),
      panel_(load_bitmap(instance, KORVANTELO_PANEL_BITMAP)),
      banner_(load_bitmap(instance, KORVANTELO_BANNER_BITMAP))
{
    for (const auto& p : presentations) {
        if (!p.colours) continue;
        grounds_[index(p.id)].reset(CreateSolidBrush(colour_ref(p.colours->ground)));
        if (!grounds_[index(p.id)]) throw WindowsError("cannot make the window's brushes");
    }
    com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (com_) annotations_.reset(annotation_service());

    register_window_class(instance_, window_procedure);
    // Created at no size: how many pixels the layout takes depends on the
    // DPI of the monitor the window lands on.
    if (CreateWindowExW(frame_ex_style, window_class, wide(window_caption).c_str(), frame_style,
                        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_, this) ==
        nullptr) {
        throw WindowsError("cannot create the window");
    }
    try {
        create_controls();
        apply_dpi(GetDpiForWindow(window_), nullptr);
    } catch (...) {
        DestroyWindow(window_);  // no destructor runs for a view that was never made
        throw;
    }
    model_.add_observer([this](const Change& change) { mirror(change); });
}

WindowView::~WindowView()
{
    if (window_ != nullptr) DestroyWindow(window_);
    annotations_.reset();
    if (com_) CoUninitialize();
}

HWND WindowView::child(Control id) const
{
    return children_[index(id)];
}

Control WindowView::control_of(HWND child)
{
    const int at = GetDlgCtrlID(child) - first_control_id;
    if (at < 0 || at >= static_cast<int>(control_count)) throw std::logic_error("not a control of the window");
    return control_table[static_cast<std::size_t>(at)].id;
}

HWND WindowView::create_child(Control id, const wchar_t* type, DWORD style, DWORD ex_style,
                              std::string_view text)
{
    style |= WS_CHILD | WS_CLIPSIBLINGS;  // overlapping controls drawn by their stacking
    if (info(id).tab_stop) style |= WS_TABSTOP;
    if (!info(id).enabled) style |= WS_DISABLED;
    if (model_.visible(id)) style |= WS_VISIBLE;
    HWND hwnd = CreateWindowExW(ex_style, type, wide(text).c_str(), style, 0, 0, 0, 0, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id(id))), instance_,
                                nullptr);
    if (hwnd == nullptr) throw WindowsError("cannot create a control");
    return hwnd;
}

HWND WindowView::create(TextBox id)
{
    // The sunken 3D border.
    HWND box = create_child(id, L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, model_.text(id));
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);  // no length limit
    return box;
}

// Opaque, text from the top-left corner, one line cut at the edge.
HWND WindowView::create(Label id)
{
    return create_child(id, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, model_.caption(id));
}

HWND WindowView::create(CheckBox id)
{
    HWND box = create_child(id, L"BUTTON", BS_AUTOCHECKBOX, 0, model_.caption(id));
    SendMessageW(box, BM_SETCHECK, model_.value(id) == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    return box;
}

// Neither default nor cancel button.
HWND WindowView::create(CommandButton id)
{
    return create_child(id, L"BUTTON", BS_PUSHBUTTON, 0, model_.caption(id));
}

void WindowView::create_controls()
{
    for (const auto& control : control_table) {
        HWND hwnd = visit(control.id, [this](auto id) { return create(id); });
        if (hwnd == nullptr) continue;
        children_[index(control.id)] = hwnd;
        present(hwnd, presentation(control.id));
    }

    std::vector<Control> order(input_order.begin(), input_order.end());
    for (const auto& control : control_table) {
        if (control.kind == Kind::label) order.push_back(control.id);
    }
    HWND above = HWND_TOP;
    for (const Control id : order) {
        SetWindowPos(child(id), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = child(id);
    }
}

// What the control presents beyond its state: its name and hint for screen
// readers and, for a disabled box with colours of its own, its own painting (a disabled box draws its text grey whatever
// colour it is given).
void WindowView::present(HWND hwnd, const Presentation& p)
{
    const auto annotate = [&](const MSAAPROPID& property, std::string_view text) {
        if (!annotations_ || text.empty()) return;
        if (FAILED(annotations_->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                                                wide(text).c_str()))) {
            // Wine has the service but no annotations; the window works without.
            OutputDebugStringW(L"korvantelo: accessibility annotations refused\n");
            annotations_.reset();
        }
    };
    annotate(PROPID_ACC_NAME, p.accessible_name);
    annotate(PROPID_ACC_DESCRIPTION, p.hint);
    if (p.colours && !info(p.id).enabled && info(p.id).kind == Kind::text_box) {
        edit_procedure_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(fixed_colour_box_procedure));
    }
}

int WindowView::pixels(int twips) const
{
    return layout::pixels(twips, static_cast<int>(dpi_));
}

// Everything in pixels from the twips of the layout at the window's DPI: the
// controls' places, the fonts by point size, the frame around the client area.
void WindowView::apply_dpi(UINT dpi, const RECT* suggested)
{
    dpi_ = dpi;
    std::array<Font, 5> fonts;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const auto [pixel_height, bold] = layout::font_info(static_cast<layout::Font>(i));
        fonts[i].reset(CreateFontW(-MulDiv(pixel_height, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI),
                                   0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                   ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                   wide(layout::font_face).c_str()));
        if (!fonts[i]) throw WindowsError("cannot make a font");
    }
    for (const auto& place : layout::placements) {
        HWND hwnd = child(place.id);
        if (hwnd == nullptr) continue;
        const layout::Rect r = layout::pixel_rect(place, static_cast<int>(dpi));
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[static_cast<std::size_t>(place.font)].get()),
                     FALSE);
    }
    std::swap(fonts_, fonts);  // the old fonts go only now that no control uses them
    if (tooltips_ != nullptr) SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, pixels(tooltip_width));

    if (suggested != nullptr) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT frame{0, 0, pixels(layout::client_width), pixels(layout::client_height)};
        if (!AdjustWindowRectExForDpi(&frame, frame_style, FALSE, frame_ex_style, dpi)) {
            throw WindowsError("cannot size the window");
        }
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void WindowView::show()
{
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    // The hints as tooltips come at the first idle moment: they show only on
    // hovering, and loading the common controls costs Wine some 15 ms.
    SetTimer(window_, tooltip_timer, USER_TIMER_MINIMUM, nullptr);
}

// The common controls are loaded from the system folder only here, so that
// the program does not load them at its start.
void WindowView::add_tooltips()
{
    common_controls_.reset(LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    const auto init = reinterpret_cast<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(reinterpret_cast<void (*)()>(
        common_controls_ ? GetProcAddress(common_controls_.get(), "InitCommonControlsEx") : nullptr));
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    if (init == nullptr || !init(&common)) throw WindowsError("cannot load the common controls");
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                instance_, nullptr);
    if (tooltips_ == nullptr) throw WindowsError("cannot create the tooltips");
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, pixels(tooltip_width));
    for (const auto& p : presentations) {
        if (!p.tooltip) continue;
        std::wstring hint = wide(p.hint);
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(child(p.id));
        tool.lpszText = hint.data();
        if (!SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
            throw WindowsError("cannot add a tooltip");
        }
    }
}

int WindowView::run()
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) throw WindowsError("cannot read the window's messages");
        if (got == 0) break;
        if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return failed_ ? EXIT_FAILURE : static_cast<int>(message.wParam);
}

// A C++ exception must not cross the frames of Windows: a fault that reaches
// a window procedure is told through the window's message path, and the
// message loop ends with a failure.
void WindowView::report(const std::exception_ptr& fault) noexcept
{
    failed_ = true;
    model_.report_fault(fault);
    PostQuitMessage(EXIT_FAILURE);
}

LRESULT CALLBACK WindowView::window_procedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE) {
        auto* view = static_cast<WindowView*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        view->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto* view = reinterpret_cast<WindowView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr) return DefWindowProcW(window, message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        view->window_ = nullptr;
        return DefWindowProcW(window, message, w, l);
    }
    try {
        return view->handle(message, w, l);
    } catch (...) {
        view->report(std::current_exception());
        return DefWindowProcW(window, message, w, l);
    }
}

LRESULT WindowView::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        // Enter and Esc arrive as IDOK and IDCANCEL from the dialog keys; the
        // window has no default or cancel button, so they do nothing.
        if (l != 0) {
            visit(control_of(reinterpret_cast<HWND>(l)), [&](auto id) { user_action(id, HIWORD(w)); });
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        return colour(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        paint(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_TIMER:
        if (w == tooltip_timer) {
            KillTimer(window_, tooltip_timer);
            add_tooltips();
        }
        return 0;
    case WM_DPICHANGED:
        apply_dpi(HIWORD(w), reinterpret_cast<const RECT*>(l));
        return 0;
    case WM_ACTIVATE:
        // As a dialog does: the focus leaves with the window and comes back
        // to the same control, first to txt_impulse.
        if (LOWORD(w) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(window_, focus)) focus_ = focus;
        } else {
            SetFocus(focus_ != nullptr ? focus_ : child(input_order.front()));
        }
        return 0;
    case WM_SETFOCUS:
        SetFocus(focus_ != nullptr ? focus_ : child(input_order.front()));
        return 0;
    case WM_DESTROY:
        // The annotations live in the accessibility service, not in the controls.
        if (annotations_) {
            const std::array<MSAAPROPID, 2> annotated = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
            for (const auto& p : presentations) {
                if (child(p.id) == nullptr) continue;
                annotations_->ClearHwndProps(child(p.id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                             annotated.data(), static_cast<int>(annotated.size()));
            }
        }
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, w, l);
    }
}

// EN_CHANGE follows every change of the text, the program's own writes too.
// The box's modification flag tells them apart: an edit of the user sets it,
// and the view takes it back at once, so that a later write of the program
// finds it clear.
void WindowView::user_action(TextBox id, int notification)
{
    HWND box = child(id);
    if (notification != EN_CHANGE || SendMessageW(box, EM_GETMODIFY, 0, 0) == 0) return;
    SendMessageW(box, EM_SETMODIFY, FALSE, 0);
    model_.user_replace_text(id, utf8(text_of(box)));
}

// The auto check box has changed its tick when it reports the click.
void WindowView::user_action(CheckBox id, int notification)
{
    if (notification == BN_CLICKED) model_.user_toggle(id);
}

void WindowView::user_action(CommandButton id, int notification)
{
    if (notification == BN_CLICKED) model_.user_press(id);
}

// The controls with a colour pair of their own keep it whatever the system's
// colours; labels and the check box take the system's 3D face and button
// text, boxes the window colours.
LRESULT WindowView::colour(HDC dc, HWND control)
{
    const Control id = control_of(control);
    if (const auto pair = presentation(id).colours) {
        SetTextColor(dc, colour_ref(pair->text));
        SetBkColor(dc, colour_ref(pair->ground));
        return reinterpret_cast<LRESULT>(grounds_[index(id)].get());
    }
    const bool face = info(id).kind != Kind::text_box;
    SetTextColor(dc, GetSysColor(face ? COLOR_BTNTEXT : COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(face ? COLOR_BTNFACE : COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(face ? COLOR_BTNFACE : COLOR_WINDOW));
}

void WindowView::mirror(const Change& change)
{
    if (!needs_showing(change)) return;
    HWND hwnd = child(change.id);
    if (change.field == Field::visible) {
        if (hwnd != nullptr) {
            ShowWindow(hwnd, model_.visible(change.id) ? SW_SHOWNA : SW_HIDE);
        } else {
            InvalidateRect(window_, nullptr, TRUE);  // a line or picture, painted by the window
        }
        return;
    }
    visit(change.id, [&](auto id) {
        using Handle = decltype(id);
        if constexpr (std::is_same_v<Handle, TextBox>) {
            // A program write shows the text from its first character.
            SetWindowTextW(hwnd, wide(model_.text(id)).c_str());
            SendMessageW(hwnd, EM_SETSEL, 0, 0);
            SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
            InvalidateRect(hwnd, nullptr, TRUE);
        } else if constexpr (std::is_same_v<Handle, CheckBox>) {
            SetWindowTextW(hwnd, wide(model_.caption(id)).c_str());
            SendMessageW(hwnd, BM_SETCHECK, model_.value(id) == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if constexpr (std::is_same_v<Handle, Label> || std::is_same_v<Handle, CommandButton>) {
            SetWindowTextW(hwnd, wide(model_.caption(id)).c_str());
        }
    });
}

// From the bottom of the stacking to its top: a control listed later in the
// table lies lower.
void WindowView::paint(HDC dc) const
{
    for (auto it = control_table.rbegin(); it != control_table.rend(); ++it) {
        if (!model_.visible(it->id)) continue;
        if (const auto picture = presentation(it->id).picture) {
            draw_picture(dc, it->id, (*picture == Picture::panel ? panel_ : banner_).get());
        }
        if (it->kind == Kind::line) draw_line(dc, it->id);
    }
}

// A line in the window-text colour.
void WindowView::draw_line(HDC dc, Control id) const
{
    const layout::Rect r = layout::line_rect(*layout::line_placement(id), static_cast<int>(dpi_));
    const RECT pixels{r.left, r.top, r.left + r.width, r.top + r.height};
    FillRect(dc, &pixels, GetSysColorBrush(COLOR_WINDOWTEXT));
}

void WindowView::draw_picture(HDC dc, Control id, HBITMAP picture) const
{
    const layout::Rect place = layout::pixel_rect(*layout::placement(id), static_cast<int>(dpi_));
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    const std::unique_ptr<HDC__, DcDeleter> source(CreateCompatibleDC(dc));
    const Selection selected(source.get(), picture);
    if (place.width == size.bmWidth && place.height == size.bmHeight) {
        BitBlt(dc, place.left, place.top, place.width, place.height, source.get(), 0, 0, SRCCOPY);
    } else {
        // Scaled with the layout, smoothly, at DPIs other than 96.
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, place.left, place.top, place.width, place.height, source.get(), 0, 0, size.bmWidth,
                   size.bmHeight, SRCCOPY);
    }
}

LRESULT CALLBACK WindowView::fixed_colour_box_procedure(HWND box, UINT message, WPARAM w, LPARAM l)
{
    auto* view = reinterpret_cast<WindowView*>(GetWindowLongPtrW(GetParent(box), GWLP_USERDATA));
    if (message == WM_PAINT && view != nullptr) {
        try {
            view->paint_fixed_colour_box(box);
        } catch (...) {
            view->report(std::current_exception());
        }
        return 0;
    }
    return CallWindowProcW(view != nullptr ? view->edit_procedure_ : DefWindowProcW, box, message, w, l);
}

// The box's own colours, its text from its first character, where the box
// would draw it itself.
void WindowView::paint_fixed_colour_box(HWND box) const
{
    const Control id = control_of(box);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT client{};
    GetClientRect(box, &client);
    FillRect(dc, &client, grounds_[index(id)].get());
    RECT format{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SetTextColor(dc, colour_ref(presentation(id).colours->text));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = text_of(box);
    ExtTextOutW(dc, format.left, format.top, ETO_CLIPPED, &format, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    EndPaint(box, &ps);
}

void MessageBoxPort::show(const Message& message)
{
    const std::wstring prompt = wide(message.prompt);
    const std::wstring title = wide(message.title);
    if (MessageBoxW(owner_, prompt.c_str(), title.c_str(), MB_OK | MB_ICONWARNING | MB_APPLMODAL) == 0) {
        throw WindowsError("cannot show the message box");
    }
}

}  // namespace ui::win32
