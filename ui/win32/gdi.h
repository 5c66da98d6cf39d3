#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// GDI objects owned by the code that made them: each is deleted once, when
// its holder goes, and never by hand.
namespace ui::win32 {

struct GdiDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};

template <typename Handle>
using Gdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

using Font = Gdi<HFONT>;
using Brush = Gdi<HBRUSH>;
using Bitmap = Gdi<HBITMAP>;

// Selects an object into a device context for one scope and puts the old one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace ui::win32
