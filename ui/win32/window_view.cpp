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

#include "ui/win32/resources.h"
#include "ui/win32/text.h"

namespace ui::win32 {
namespace {

constexpr wchar_t window_class[] = L"Korvantelo";

constexpr UINT_PTR tooltip_timer = 1;

COLORREF colour_ref(Rgb colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

std::wstring text_of(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

int text_width(HDC dc, std::wstring_view text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The figure as it fits `room` pixels in the font selected into `dc`.
std::wstring fitted(HDC dc, const std::wstring& figure, int room)
{
    return wide(plan::fitted_figure(utf8(figure), room, [dc](std::string_view text) {
        return text_width(dc, wide(text));
    }));
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

// A window of the dialog class's kind: the dialog manager keeps the focus
// (it moves into the first control when the window is activated and comes
// back to the control that had it), and the view handles only the messages
// of its own.
void register_window_class(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, window_class, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = load_icon(instance, SM_CXICON);
    wc.hIconSm = load_icon(instance, SM_CXSMICON);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(system_colour(window_colours.ground) + 1));
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

WindowView::WindowView(const Window& model, UserActions& actions, HINSTANCE instance)
    : model_(model),
      actions_(actions),
      instance_(instance),
      plan_(USER_DEFAULT_SCREEN_DPI),
      face_(window_face()),
      panel_(load_bitmap(instance, picture_resource(Picture::panel))),
      banner_(load_bitmap(instance, picture_resource(Picture::banner)))
{
    for (const plan::Entry& e : plan_.entries()) {
        if (!e.look.colours) continue;
        grounds_[index(e.id)].reset(CreateSolidBrush(colour_ref(e.look.colours->ground)));
        if (!grounds_[index(e.id)]) throw WindowsError("cannot make the window's brushes");
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
        create_controls(model);
        apply_dpi(GetDpiForWindow(window_), nullptr);
    } catch (...) {
        DestroyWindow(window_);  // no destructor runs for a view that was never made
        throw;
    }
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

std::optional<Control> WindowView::control_of(HWND child)
{
    const int at = GetDlgCtrlID(child) - first_control_id;
    if (at < 0 || at >= static_cast<int>(control_count)) return std::nullopt;  // a group box
    return control_table[static_cast<std::size_t>(at)].id;
}

HWND WindowView::create_child(int id, const NativeClass& kind, DWORD style, std::string_view text)
{
    HWND hwnd = CreateWindowExW(kind.ex_style, kind.name, wide(text).c_str(), kind.style | style, 0, 0, 0, 0,
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    if (hwnd == nullptr) throw WindowsError("cannot create a control");
    return hwnd;
}

HWND WindowView::create_control(Control id, std::string_view text)
{
    return create_child(control_id(id), *native_class(info(id).kind), state_style(plan_[id], model_.visible(id)),
                        text);
}

HWND WindowView::create(TextBox id)
{
    HWND box = create_control(id, model_.text(id));
    if (plan_[id].unlimited) SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    return box;
}

HWND WindowView::create(Label id)
{
    return create_control(id, model_.caption(id));
}

HWND WindowView::create(CheckBox id)
{
    HWND box = create_control(id, model_.caption(id));
    SendMessageW(box, BM_SETCHECK, model_.value(id) == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    return box;
}

HWND WindowView::create(CommandButton id)
{
    return create_control(id, model_.caption(id));
}

// Windows tabs through the stacking and draws it: the group boxes on top,
// transparent to the eye, the mouse and the stacking below them, so that a
// screen reader finds the box of every control before it; then the
// controls from the top of the plan's stacking down.
void WindowView::create_controls(const Window& model)
{
    std::vector<HWND> order;
    for (const plan::GroupEntry& g : plan_.groups()) {
        const auto at = static_cast<std::size_t>(g.id);
        groups_[at] = create_child(group_id(g.id), {L"BUTTON", BS_GROUPBOX, WS_EX_TRANSPARENT},
                                   WS_CHILD | WS_VISIBLE, model.caption(g.title));
        subclass(groups_[at], control_count + at);
        order.push_back(groups_[at]);
    }
    for (const plan::Entry& e : plan_.entries()) {
        HWND hwnd = visit(e.id, [this](auto id) { return create(id); });
        if (hwnd == nullptr) continue;
        children_[index(e.id)] = hwnd;
        annotate(hwnd, e.look);
        if (e.look.figure) subclass(hwnd, index(e.id));
    }
    for (const Control id : plan_.stacking()) {
        if (child(id) != nullptr) order.push_back(child(id));
    }
    HWND above = HWND_TOP;
    for (HWND hwnd : order) {
        SetWindowPos(hwnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = hwnd;
    }
}

void WindowView::subclass(HWND hwnd, std::size_t at)
{
    if (!SetWindowSubclass(hwnd, child_procedure, at, reinterpret_cast<DWORD_PTR>(this))) {
        throw WindowsError("cannot take over a control's painting");
    }
}

// The control's name and hint for screen readers.
void WindowView::annotate(HWND hwnd, const Presentation& p)
{
    const auto set = [&](const MSAAPROPID& property, std::string_view text) {
        if (!annotations_ || text.empty()) return;
        if (FAILED(annotations_->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                                                wide(text).c_str()))) {
            // Wine has the service but no annotations; the window works without.
            OutputDebugStringW(L"korvantelo: accessibility annotations refused\n");
            annotations_.reset();
        }
    };
    set(PROPID_ACC_NAME, p.accessible_name);
    set(PROPID_ACC_DESCRIPTION, p.hint);
}

const Font& WindowView::font(const plan::Font& font) const
{
    const auto found = std::find_if(fonts_.begin(), fonts_.end(), [&](const auto& made) {
        return made.first == font;
    });
    if (found == fonts_.end()) throw std::logic_error("a font the plan did not name");
    return found->second;
}

// Everything in pixels at the window's DPI from the plan: the controls'
// places and fonts, the frame around the client area.
void WindowView::apply_dpi(UINT dpi, const RECT* suggested)
{
    plan_ = plan::Plan(static_cast<int>(dpi));
    std::vector<std::pair<plan::Font, Font>> fonts;
    for (const plan::Entry& e : plan_.entries()) {
        if (std::any_of(fonts.begin(), fonts.end(), [&](const auto& made) { return made.first == e.font; })) continue;
        Font made(create_font(e.font, face_));
        if (!made) throw WindowsError("cannot make a font");
        fonts.emplace_back(e.font, std::move(made));
    }
    std::swap(fonts_, fonts);  // the old fonts go only once no control uses them
    for (const plan::Entry& e : plan_.entries()) {
        HWND hwnd = child(e.id);
        if (hwnd == nullptr) continue;
        const layout::Rect& r = e.rect;
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(e.font).get()), FALSE);
    }
    for (const plan::GroupEntry& g : plan_.groups()) {
        const layout::Rect& r = g.rect;
        SetWindowPos(groups_[static_cast<std::size_t>(g.id)], nullptr, r.left, r.top, r.width, r.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (tooltips_ != nullptr) {
        SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, layout::pixels(hint_width, static_cast<int>(dpi)));
        for (const plan::Entry& e : plan_.entries()) {
            if (e.look.figure && !takes_mouse(e)) set_tool_rect(e);
        }
    }

    if (suggested != nullptr) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT frame{0, 0, plan_.width(), plan_.height()};
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
    // The tooltips come at the first idle moment: they show only on hovering.
    SetTimer(window_, tooltip_timer, USER_TIMER_MINIMUM, nullptr);
}

// Whether the control gets the mouse itself: an enabled box, the check box
// and the button do; a disabled box and a label leave it to the window.
bool WindowView::takes_mouse(const plan::Entry& e)
{
    return e.enabled && takes_input(e.kind);
}

// A tool of the tooltips: the control itself where it gets the mouse, else
// its place in the window (kept in step with the DPI by apply_dpi).
TTTOOLINFOW WindowView::tool(const plan::Entry& e) const
{
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
    tool.uFlags = TTF_SUBCLASS | (takes_mouse(e) ? TTF_IDISHWND : 0);
    tool.hwnd = window_;
    tool.uId = takes_mouse(e) ? reinterpret_cast<UINT_PTR>(child(e.id)) : static_cast<UINT_PTR>(control_id(e.id));
    tool.rect = {e.rect.left, e.rect.top, e.rect.left + e.rect.width, e.rect.top + e.rect.height};
    return tool;
}

void WindowView::set_tool_rect(const plan::Entry& e) const
{
    TTTOOLINFOW rect = tool(e);
    SendMessageW(tooltips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&rect));
}

// The hints of the plan, and for each figure, while it shows shortened, the
// whole figure (asked for when the tooltip is about to show, TTN_GETDISPINFOW).
void WindowView::add_tooltips()
{
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    if (!InitCommonControlsEx(&common)) throw WindowsError("cannot load the common controls");
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                instance_, nullptr);
    if (tooltips_ == nullptr) throw WindowsError("cannot create the tooltips");
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, layout::pixels(hint_width, plan_.dpi()));
    for (const plan::Entry& e : plan_.entries()) {
        if (!e.look.tooltip && !e.look.figure) continue;
        std::wstring hint = wide(e.look.hint);
        TTTOOLINFOW added = tool(e);
        added.lpszText = e.look.figure ? LPSTR_TEXTCALLBACKW : hint.data();
        if (!SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&added))) {
            throw WindowsError("cannot add a tooltip");
        }
    }
}

// The tooltip of a figure: the whole figure where it shows shortened, else
// its hint where it has one to show, else none.
void WindowView::tooltip_text(NMTTDISPINFOW& info)
{
    const bool by_window = (info.uFlags & TTF_IDISHWND) == 0;
    HWND hwnd = by_window ? GetDlgItem(window_, static_cast<int>(info.hdr.idFrom))
                          : reinterpret_cast<HWND>(info.hdr.idFrom);
    const auto id = hwnd != nullptr ? control_of(hwnd) : std::nullopt;
    tip_.clear();
    if (id) {
        const plan::Entry& e = plan_[*id];
        if (shortened(hwnd, e)) {
            tip_ = text_of(hwnd);
        } else if (e.look.tooltip) {
            tip_ = wide(e.look.hint);
        }
    }
    info.lpszText = tip_.data();
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

// After a fault, told by then: the message loop ends with a failure.
void WindowView::end() noexcept
{
    failed_ = true;
    PostQuitMessage(EXIT_FAILURE);
}

// A C++ exception must not cross the frames of Windows: a fault that
// reaches a window procedure goes to the program, which tells it and ends
// the view.
LRESULT CALLBACK WindowView::window_procedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE) {
        auto* view = static_cast<WindowView*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        view->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto* view = reinterpret_cast<WindowView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr) return DefDlgProcW(window, message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        view->window_ = nullptr;
        return DefDlgProcW(window, message, w, l);
    }
    try {
        return view->handle(message, w, l);
    } catch (...) {
        view->actions_.fault(std::current_exception());
        return DefDlgProcW(window, message, w, l);
    }
}

LRESULT WindowView::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        // Enter and Esc arrive as IDOK and IDCANCEL from the dialog keys; the
        // window has no default or cancel button, so they do nothing.
        if (const auto id = l != 0 ? control_of(reinterpret_cast<HWND>(l)) : std::nullopt) {
            visit(*id, [&](auto control) { user_action(control, HIWORD(w)); });
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
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(l)->code == TTN_GETDISPINFOW) {
            tooltip_text(*reinterpret_cast<NMTTDISPINFOW*>(l));
            return 0;
        }
        return DefDlgProcW(window_, message, w, l);
    case WM_TIMER:
        if (w == tooltip_timer) {
            KillTimer(window_, tooltip_timer);
            add_tooltips();
        }
        return 0;
    case WM_DPICHANGED:
        apply_dpi(HIWORD(w), reinterpret_cast<const RECT*>(l));
        return 0;
    case WM_SETFOCUS:
        // Only before any control has had the focus (the dialog manager
        // brings it back to its control whenever the window is activated
        // again): into the first control, the caret where it is, rather than
        // the dialog manager's way with its text selected.
        SetFocus(child(plan_.first_focus()));
        return 0;
    case WM_CLOSE:  // the dialog manager would turn it into IDCANCEL
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        // The annotations live in the accessibility service, not in the controls.
        if (annotations_) {
            const std::array<MSAAPROPID, 2> annotated = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
            for (HWND hwnd : children_) {
                if (hwnd == nullptr) continue;
                annotations_->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                             annotated.data(), static_cast<int>(annotated.size()));
            }
        }
        PostQuitMessage(0);
        return 0;
    default:
        return DefDlgProcW(window_, message, w, l);
    }
}

// The children this view paints itself, subclassed by their position (the
// controls', then the groups'): the figures and the group boxes.
LRESULT CALLBACK WindowView::child_procedure(HWND child, UINT message, WPARAM w, LPARAM l, UINT_PTR at,
                                             DWORD_PTR view)
{
    if (message == WM_NCDESTROY) RemoveWindowSubclass(child, child_procedure, at);
    try {
        return reinterpret_cast<WindowView*>(view)->handle_child(child, at, message, w, l);
    } catch (...) {
        reinterpret_cast<WindowView*>(view)->actions_.fault(std::current_exception());
        return 0;
    }
}

LRESULT WindowView::handle_child(HWND child, std::size_t at, UINT message, WPARAM w, LPARAM l)
{
    if (at >= control_count) {
        // A group box: seen by screen readers, never drawn.
        if (message == WM_PAINT) {
            ValidateRect(child, nullptr);
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
        return DefSubclassProc(child, message, w, l);
    }
    const plan::Entry& e = plan_.entries()[at];
    if (message == WM_PAINT && paints_itself(child, e)) {
        paint_figure(child, e);
        return 0;
    }
    const LRESULT result = DefSubclassProc(child, message, w, l);
    // With the focus, a box is the ordinary box; without it, it may show its figure shortened.
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) InvalidateRect(child, nullptr, TRUE);
    return result;
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
    actions_.edited(id, utf8(text_of(box)));
}

// The auto check box has changed its tick when it reports the click.
void WindowView::user_action(CheckBox id, int notification)
{
    if (notification == BN_CLICKED) actions_.toggled(id);
}

void WindowView::user_action(CommandButton id, int notification)
{
    if (notification == BN_CLICKED) actions_.pressed(id);
}

// The controls with a colour pair of their own keep it whatever the system's
// colours; labels and the check box take the system's 3D face and button
// text, boxes the window colours.
LRESULT WindowView::colour(HDC dc, HWND control)
{
    const auto id = control_of(control);
    if (!id) return DefDlgProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(control));
    if (const auto pair = plan_[*id].look.colours) {
        SetTextColor(dc, colour_ref(pair->text));
        SetBkColor(dc, colour_ref(pair->ground));
        return reinterpret_cast<LRESULT>(grounds_[index(*id)].get());
    }
    const SystemColours colours = system_colours(info(*id).kind);
    SetTextColor(dc, GetSysColor(system_colour(colours.text)));
    SetBkColor(dc, GetSysColor(system_colour(colours.ground)));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(system_colour(colours.ground)));
}

// A text the program writes shows from its first character.
void WindowView::show_text(TextBox id, std::string_view text)
{
    HWND hwnd = child(id);
    SetWindowTextW(hwnd, wide(text).c_str());
    SendMessageW(hwnd, EM_SETSEL, 0, 0);
    SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void WindowView::show_caption(Captioned id, std::string_view text)
{
    SetWindowTextW(child(id), wide(text).c_str());
}

void WindowView::show_value(CheckBox id, std::int16_t value)
{
    SendMessageW(child(id), BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void WindowView::show_visible(Control id, bool visible)
{
    if (HWND hwnd = child(id)) {
        ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
    } else {
        InvalidateRect(window_, nullptr, TRUE);  // a line or picture, painted by the window
    }
}

void WindowView::show_message(const Message& message)
{
    const std::wstring prompt = wide(message.prompt);
    const std::wstring title = wide(message.title);
    if (MessageBoxW(window_, prompt.c_str(), title.c_str(), MB_OK | MB_ICONWARNING | MB_APPLMODAL) == 0) {
        throw WindowsError("cannot show the message box");
    }
}

// The lines and pictures, from the bottom of the stacking to its top.
void WindowView::paint(HDC dc) const
{
    const auto stacking = plan_.stacking();
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        const plan::Entry& e = plan_[*it];
        if (!model_.visible(e.id)) continue;
        if (e.look.picture) draw_picture(dc, e);
        if (e.kind == Kind::line) {
            const RECT r{e.rect.left, e.rect.top, e.rect.left + e.rect.width, e.rect.top + e.rect.height};
            FillRect(dc, &r, GetSysColorBrush(system_colour(system_colours(e.kind).ground)));
        }
    }
}

void WindowView::draw_picture(HDC dc, const plan::Entry& e) const
{
    HBITMAP picture = (*e.look.picture == Picture::panel ? panel_ : banner_).get();
    const layout::Rect& place = e.rect;
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

// The room a figure has: a box's formatting rectangle, a label's inside.
RECT WindowView::room(HWND hwnd, const plan::Entry& e)
{
    RECT area{};
    if (e.kind == Kind::text_box) {
        SendMessageW(hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    } else {
        GetClientRect(hwnd, &area);
    }
    return area;
}

// Whether the control's figure shows shortened, by the plan's rule.
bool WindowView::shortened(HWND hwnd, const plan::Entry& e)
{
    const RECT area = room(hwnd, e);
    HDC dc = GetDC(hwnd);
    if (dc == nullptr) return false;
    const int width = [&] {
        const Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        return text_width(dc, text_of(hwnd));
    }();
    ReleaseDC(hwnd, dc);
    return plan::shows_shortened(GetFocus() == hwnd, width, area.right - area.left);
}

// Where a figure shows in its box's or label's own painting, and where in
// ours: where it shows shortened, and a disabled box with colours of its
// own always (Windows would draw its text grey whatever colour it is given).
bool WindowView::paints_itself(HWND hwnd, const plan::Entry& e)
{
    return (e.kind == Kind::text_box && !e.enabled && e.look.colours) || shortened(hwnd, e);
}

// The figure in the control's colours and font, from its first character,
// shortened where it does not fit.
void WindowView::paint_figure(HWND hwnd, const plan::Entry& e) const
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    RECT area = room(hwnd, e);
    const auto& pair = e.look.colours;
    const SystemColours colours = system_colours(e.kind);
    FillRect(dc, &client,
             pair ? grounds_[index(e.id)].get() : GetSysColorBrush(system_colour(colours.ground)));
    const Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    SetTextColor(dc, pair ? colour_ref(pair->text) : GetSysColor(system_colour(colours.text)));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring shown = fitted(dc, text_of(hwnd), area.right - area.left);
    ExtTextOutW(dc, area.left, area.top, ETO_CLIPPED, &area, shown.c_str(), static_cast<UINT>(shown.size()),
                nullptr);
    EndPaint(hwnd, &ps);
}

}  // namespace ui::win32
