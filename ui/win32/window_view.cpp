#include "ui/win32/window_view.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "ui/win32/resources.h"
#include "ui/win32/text.h"

namespace ui::win32 {
namespace {

constexpr wchar_t window_class[] = L"Korvantelo";

// A fixed tool window: a narrow title bar with the close button only, no
// minimise or maximise button, no sizing border, no taskbar button.
constexpr DWORD frame_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD frame_ex_style = WS_EX_TOOLWINDOW;

constexpr COLORREF ratio_background = RGB(192, 192, 192);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);

[[noreturn]] void fail(const char* what)
{
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
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
    if (bitmap == nullptr) fail("a picture of the window is missing from the program");
    return bitmap;
}

HICON load_icon(HINSTANCE instance, int size_metric)
{
    const int size = GetSystemMetrics(size_metric);
    auto* icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(icon_group), IMAGE_ICON, size, size, LR_SHARED));
    if (icon == nullptr) fail("the window icon is missing from the program");
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
    if (RegisterClassExW(&wc) == 0) fail("cannot register the window class");
}

}  // namespace

WindowView::WindowView(Window& model, HINSTANCE instance)
    : model_(model),
      instance_(instance),
      grey_(CreateSolidBrush(ratio_background)),
      white_(CreateSolidBrush(white)),
      panel_(load_bitmap(instance, KORVANTELO_PANEL_BITMAP)),
      banner_(load_bitmap(instance, KORVANTELO_BANNER_BITMAP))
{
    if (!grey_ || !white_) fail("cannot make the window's brushes");
    register_window_class(instance_, window_procedure);
    // Created at no size: how many pixels the layout takes depends on the
    // DPI of the monitor the window lands on.
    if (CreateWindowExW(frame_ex_style, window_class, wide(window_caption).c_str(), frame_style,
                        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_, this) ==
        nullptr) {
        fail("cannot create the window");
    }
    try {
        create_controls();
        apply_dpi(GetDpiForWindow(window_), nullptr);
    } catch (...) {
        DestroyWindow(window_);  // no destructor runs for a view that was never made
        throw;
    }
    model_.add_observer([this](Control id, Field field) { mirror(id, field); });
}

WindowView::~WindowView()
{
    if (window_ != nullptr) DestroyWindow(window_);
}

HWND WindowView::child(Control id) const
{
    return children_[index(id)];
}

void WindowView::create_controls()
{
    for (const auto& control : control_table) {
        const Control id = control.id;
        const wchar_t* type = nullptr;
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS;  // overlapping controls drawn by their stacking
        DWORD ex_style = 0;
        std::wstring text;
        switch (control.kind) {
        case Kind::text_box:
            type = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL;
            ex_style = WS_EX_CLIENTEDGE;  // the sunken 3D border
            text = wide(model_.text(id));
            break;
        case Kind::label:
            // Opaque, text from the top-left corner, one line cut at the edge.
            type = L"STATIC";
            style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
            text = wide(model_.caption(id));
            break;
        case Kind::check_box:
            type = L"BUTTON";
            style |= BS_AUTOCHECKBOX;
            text = wide(model_.caption(id));
            break;
        case Kind::command_button:
            type = L"BUTTON";
            style |= BS_PUSHBUTTON;  // neither default nor cancel button
            text = wide(model_.caption(id));
            break;
        case Kind::line:
        case Kind::image_box:
            continue;  // painted by the window
        }
        if (control.tab_stop) style |= WS_TABSTOP;
        if (!control.enabled) style |= WS_DISABLED;
        if (model_.visible(id)) style |= WS_VISIBLE;
        HWND hwnd = CreateWindowExW(ex_style, type, text.c_str(), style, 0, 0, 0, 0, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id(id))),
                                    instance_, nullptr);
        if (hwnd == nullptr) fail("cannot create a control");
        children_[index(id)] = hwnd;
        if (control.kind == Kind::text_box) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit
        if (control.kind == Kind::check_box) {
            SendMessageW(hwnd, BM_SETCHECK, model_.value(id) == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }

    // A disabled box draws its text grey whatever colour it is given; this
    // one is white with black text, so it paints its text itself.
    HWND kwh = child(Control::txt_kwh);
    edit_procedure_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(kwh, GWLP_WNDPROC));
    SetWindowLongPtrW(kwh, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(white_box_procedure));

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

int WindowView::pixels(int twips) const
{
    return MulDiv(twips, static_cast<int>(dpi_), 1440);
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
        if (!fonts[i]) fail("cannot make a font");
    }
    for (const auto& place : layout::placements) {
        HWND hwnd = child(place.id);
        if (hwnd == nullptr) continue;
        SetWindowPos(hwnd, nullptr, pixels(place.left), pixels(place.top), pixels(place.width),
                     pixels(place.height), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[static_cast<std::size_t>(place.font)].get()),
                     FALSE);
    }
    std::swap(fonts_, fonts);  // the old fonts go only now that no control uses them

    if (suggested != nullptr) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT frame{0, 0, pixels(layout::client_width), pixels(layout::client_height)};
        if (!AdjustWindowRectExForDpi(&frame, frame_style, FALSE, frame_ex_style, dpi)) {
            fail("cannot size the window");
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
}

int WindowView::run()
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) fail("cannot read the window's messages");
        if (got == 0) break;
        if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (fault_) std::rethrow_exception(std::exchange(fault_, nullptr));
    return static_cast<int>(message.wParam);
}

// A C++ exception must not cross the frames of Windows: it is kept, the
// message loop ends, and run() throws it.
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
        view->fault_ = std::current_exception();
        PostQuitMessage(EXIT_FAILURE);
        return DefWindowProcW(window, message, w, l);
    }
}

LRESULT WindowView::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        // Enter and Esc arrive as IDOK and IDCANCEL from the dialog keys; the
        // window has no default or cancel button, so they do nothing.
        if (l != 0) command(LOWORD(w), HIWORD(w));
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
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, w, l);
    }
}

void WindowView::command(int control, int notification)
{
    const int at = control - first_control_id;
    if (at < 0 || at >= static_cast<int>(control_count)) return;
    const Control id = control_table[static_cast<std::size_t>(at)].id;
    switch (info(id).kind) {
    case Kind::text_box:
        // EN_CHANGE follows every change of the text, the view's own writes
        // too; only the user's are edits.
        if (notification == EN_CHANGE && !writing_) model_.user_replace_text(id, utf8(text_of(child(id))));
        break;
    case Kind::check_box:
        // The auto check box has changed its tick when it reports the click.
        if (notification == BN_CLICKED) model_.user_toggle(id);
        break;
    case Kind::command_button:
        if (notification == BN_CLICKED) model_.user_press(id);
        break;
    default:
        break;
    }
}

// The two controls with colours of their own: black on grey for the ratio,
// which stays readable whatever the system's colours, and black on white for
// txt_kwh. Labels and the check box take the system's 3D face and button text.
LRESULT WindowView::colour(HDC dc, HWND control)
{
    const int at = GetDlgCtrlID(control) - first_control_id;
    if (at < 0 || at >= static_cast<int>(control_count)) {
        return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    }
    const Control id = control_table[static_cast<std::size_t>(at)].id;
    if (id == Control::label_wandlerverhaeltnis || id == Control::txt_kwh) {
        const bool ratio = id == Control::label_wandlerverhaeltnis;
        SetTextColor(dc, black);
        SetBkColor(dc, ratio ? ratio_background : white);
        return reinterpret_cast<LRESULT>((ratio ? grey_ : white_).get());
    }
    switch (info(id).kind) {
    case Kind::label:
    case Kind::check_box:
    case Kind::command_button:
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
}

void WindowView::mirror(Control id, Field field)
{
    HWND hwnd = child(id);
    switch (field) {
    case Field::text: {
        const std::wstring text = wide(model_.text(id));
        if (text_of(hwnd) == text) break;  // the user's own edit is there already
        // A program write shows the text from its first character: a long
        // figure shows its leading digits, not its end.
        writing_ = true;
        SetWindowTextW(hwnd, text.c_str());
        writing_ = false;
        SendMessageW(hwnd, EM_SETSEL, 0, 0);
        SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
    }
    case Field::caption:
        SetWindowTextW(hwnd, wide(model_.caption(id)).c_str());
        break;
    case Field::value: {
        const WPARAM state = model_.value(id) == 1 ? BST_CHECKED : BST_UNCHECKED;
        if (static_cast<WPARAM>(SendMessageW(hwnd, BM_GETCHECK, 0, 0)) != state) {
            SendMessageW(hwnd, BM_SETCHECK, state, 0);
        }
        break;
    }
    case Field::visible:
        ShowWindow(hwnd, model_.visible(id) ? SW_SHOWNA : SW_HIDE);
        break;
    }
}

// From the bottom of the stacking to its top: a control listed later in the
// table lies lower.
void WindowView::paint(HDC dc) const
{
    for (auto it = control_table.rbegin(); it != control_table.rend(); ++it) {
        if (it->id == Control::Image1) draw_picture(dc, it->id, panel_.get());
        if (it->id == Control::Image2) draw_picture(dc, it->id, banner_.get());
        if (it->kind == Kind::line) draw_line(dc, it->id);
    }
}

// A line in the window-text colour, one pixel wide at 96 dpi and as many
// whole pixels as one scales to above, both end points included. The
// window's lines all run straight across or down.
void WindowView::draw_line(HDC dc, Control id) const
{
    const auto line = *layout::line_placement(id);
    if (line.x1 != line.x2 && line.y1 != line.y2) throw std::logic_error("only straight lines are drawn");
    const int width = std::max(1, static_cast<int>(dpi_) / USER_DEFAULT_SCREEN_DPI);
    const RECT r{pixels(std::min(line.x1, line.x2)), pixels(std::min(line.y1, line.y2)),
                 pixels(std::max(line.x1, line.x2)) + width, pixels(std::max(line.y1, line.y2)) + width};
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOWTEXT));
}

void WindowView::draw_picture(HDC dc, Control id, HBITMAP picture) const
{
    const auto place = *layout::placement(id);
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    const std::unique_ptr<HDC__, DcDeleter> source(CreateCompatibleDC(dc));
    const Selection selected(source.get(), picture);
    const int width = pixels(place.width);
    const int height = pixels(place.height);
    if (width == size.bmWidth && height == size.bmHeight) {
        BitBlt(dc, pixels(place.left), pixels(place.top), width, height, source.get(), 0, 0, SRCCOPY);
    } else {
        // Scaled with the layout, smoothly, at DPIs other than 96.
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, pixels(place.left), pixels(place.top), width, height, source.get(), 0, 0,
                   size.bmWidth, size.bmHeight, SRCCOPY);
    }
}

LRESULT CALLBACK WindowView::white_box_procedure(HWND box, UINT message, WPARAM w, LPARAM l)
{
    auto* view = reinterpret_cast<WindowView*>(GetWindowLongPtrW(GetParent(box), GWLP_USERDATA));
    if (message == WM_PAINT && view != nullptr) {
        view->paint_white_box(box);
        return 0;
    }
    return CallWindowProcW(view != nullptr ? view->edit_procedure_ : DefWindowProcW, box, message, w, l);
}

// Black text on white from the box's first character, where the box would
// draw it itself.
void WindowView::paint_white_box(HWND box) const
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT client{};
    GetClientRect(box, &client);
    FillRect(dc, &client, white_.get());
    RECT format{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SetTextColor(dc, black);
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
        fail("cannot show the message box");
    }
}

}  // namespace ui::win32
