// The main window and the select-folder dialog at each display scale: as they open at the
// screen's scale, and after the system moved them to a monitor of another scale (WM_DPICHANGED,
// sent by the test, as Wine has one monitor). Every control lies inside its parent, no two
// overlap, every text fits, and the tree's rows hold their text and icons.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app_driver.h"
#include "dialog_bench.h"
#include "screen_scale.h"
#include "table_row.h"
#include "text_layout.h"
#include "ui_probe.h"
#include "win32_owners.h"

namespace pem::testing {
namespace {

using Faults = std::vector<std::wstring>;

HFONT FontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

std::wstring Named(HWND window) {
  return ClassName(window) + L" \"" + WindowText(window) + L"\"";
}

// A text that does not fit the control's client area in the control's font; a label that is
// too narrow for one line must hold the lines its words wrap into.
void CheckText(HWND control, Faults& faults) {
  const std::wstring text = WindowText(control);
  const std::wstring kind = ClassName(control);
  const bool tree = kind == WC_TREEVIEWW;
  if (text.empty() && !tree) return;
  const WindowDc screen(nullptr);
  const SelectedObject font(screen.get(), FontOf(control));
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.get(), &metrics);
  const SIZE room = ClientSize(control);
  if (tree) {
    int icon_width = 0, icon_height = 0;
    ImageList_GetIconSize(
        reinterpret_cast<HIMAGELIST>(SendMessageW(control, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
        &icon_width, &icon_height);
    const auto row = static_cast<int>(SendMessageW(control, TVM_GETITEMHEIGHT, 0, 0));
    if (row < metrics.tmHeight || row < icon_height) faults.push_back(L"the tree's rows are low");
    return;
  }
  const int padding = kind == L"Button" ? 4 : 0;
  const SIZE line = gui::MeasureText(screen.get(), text, DT_SINGLELINE);
  int height = metrics.tmHeight;
  if (line.cx > room.cx - padding) {
    if (kind != L"TLabel") faults.push_back(Named(control) + L" is cut");
    height *= static_cast<int>(gui::WrapLines(screen.get(), text, room.cx).size());
  }
  if (height > room.cy - padding) faults.push_back(Named(control) + L" is cut at the bottom");
}

// Controls outside their parent's client area, visible siblings that overlap, texts that are
// cut: what a user would see wrong, below `parent`.
void CheckChildren(HWND parent, Faults& faults) {
  const SIZE room = ClientSize(parent);
  std::vector<std::pair<HWND, RECT>> shown;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    const RECT place = RectInParent(child);
    if (place.left < 0 || place.top < 0 || place.right > room.cx || place.bottom > room.cy)
      faults.push_back(Named(child) + L" lies outside its parent");
    for (const auto& [other, other_place] : shown) {
      RECT common{};
      if (IntersectRect(&common, &place, &other_place))
        faults.push_back(Named(child) + L" overlaps " + Named(other));
    }
    shown.emplace_back(child, place);
    CheckText(child, faults);
    CheckChildren(child, faults);
  }
}

Faults LayoutFaults(HWND form) {
  Faults faults;
  CheckChildren(form, faults);
  return faults;
}

int TextHeight(HWND form) {
  return gui::MeasureTextHeight(FontOf(form));
}
int Scaled(int design, HWND form) {
  return MulDiv(design, TextHeight(form), 12);
}

// What the system sends when the window reaches a monitor of `dpi` dots per inch: the window's
// rectangle at the new scale, its top-left corner kept. Gives that rectangle.
RECT MoveToScale(HWND form, int dpi) {
  RECT outer{};
  GetWindowRect(form, &outer);
  const int now = ScreenDpi();
  const RECT offered{outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, dpi, now),
                     outer.top + MulDiv(outer.bottom - outer.top, dpi, now)};
  SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&offered));
  return offered;
}

// A value of the window's layout that a test can tell from the design, and what it is.
struct Place {
  const char* what;
  std::function<LONG()> expected;
  std::function<LONG()> found;
};

struct Seen {
  Faults faults;
  POINT corner{};   // the window's top-left corner
  POINT offered{};  // the corner of the rectangle offered by WM_DPICHANGED, or as opened
  LONG font_height = 0;
  std::vector<std::wstring> misplaced;
};

Seen Look(HWND form, int dpi, const std::vector<Place>& places) {
  Seen seen;
  RECT outer{};
  GetWindowRect(form, &outer);
  if (dpi) {
    const RECT offered = MoveToScale(form, dpi);
    GetWindowRect(form, &outer);
    seen.offered = {offered.left, offered.top};
  } else {
    seen.offered = {outer.left, outer.top};
  }
  seen.corner = {outer.left, outer.top};
  LOGFONTW font{};
  GetObjectW(FontOf(form), sizeof(font), &font);
  seen.font_height = font.lfHeight;
  // Edges rounded at the old scale and again at the new one may be two pixels off.
  for (const Place& place : places) {
    const LONG expected = place.expected();
    const LONG found = place.found();
    if (std::abs(found - expected) > 2)
      seen.misplaced.push_back(std::wstring(place.what, place.what + strlen(place.what)) + L": " +
                               std::to_wstring(found) + L" for " + std::to_wstring(expected));
  }
  seen.faults = LayoutFaults(form);
  return seen;
}

LONG OuterWidth(HWND form) {
  RECT outer{};
  GetWindowRect(form, &outer);
  return outer.right - outer.left;
}
LONG OuterHeight(HWND form) {
  RECT outer{};
  GetWindowRect(form, &outer);
  return outer.bottom - outer.top;
}

struct ScaleCase : Row {
  int dpi;  // the monitor's the window moves to; 0: as it opened at the screen's scale
};

class DisplayScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(DisplayScale, EveryControlInsideNoneOverlappingNoTextCut) {
  const int dpi = GetParam().dpi;
  const int expected_dpi = dpi ? dpi : ScreenDpi();
  const auto at_dpi = [expected_dpi](int design) {
    return [=] { return static_cast<LONG>(MulDiv(design, expected_dpi, 96)); };
  };
  std::vector<std::pair<const char*, Seen>> windows;
  {
    RunningApp app;
    const MainWindowHandles& w = app.Windows();
    const auto scaled = [&](int design) { return [=] { return LONG{Scaled(design, w.form)}; }; };
    windows.emplace_back(
        "main window",
        Look(w.form, dpi,
             {{"client width", scaled(324), [&] { return ClientSize(w.form).cx; }},
              {"client height", scaled(183), [&] { return ClientSize(w.form).cy; }},
              {"GroupBox1 right", scaled(321), [&] { return RectInParent(w.group_box1).right; }},
              {"Edit1 top", scaled(70), [&] { return RectInParent(w.edit1).top; }},
              {"Button3 left", scaled(244), [&] { return RectInParent(w.button3).left; }},
              {"Button3 bottom", scaled(181), [&] { return RectInParent(w.button3).bottom; }}}));
  }
  DialogBench bench;
  bench.Execute([&](const DialogWindows& w) {
    const auto scaled = [&](int design) { return [=] { return LONG{Scaled(design, w.form)}; }; };
    const auto client_width = [&] { return ClientSize(w.form).cx; };
    // As it opens, the dialog is the dialog at 100 % made larger: 307 x 352 and the tree's indent
    // are meant at 96 dots per inch. Moved, it takes the offered size.
    const auto outer = [&, width = OuterWidth(w.form), height = OuterHeight(w.form)](bool wide) {
      const LONG before = wide ? width : height;
      return [=] {
        return static_cast<LONG>(dpi ? MulDiv(before, dpi, ScreenDpi())
                                     : MulDiv(wide ? 307 : 352, expected_dpi, 96));
      };
    };
    const std::vector<Place> places{
        {"width", outer(true), [&] { return OuterWidth(w.form); }},
        {"height", outer(false), [&] { return OuterHeight(w.form); }},
        {"OK to the right edge", scaled(103),
         [&] { return client_width() - RectInParent(w.ok).right; }},
        {"Cancel to the right edge", scaled(7),
         [&] { return client_width() - RectInParent(w.cancel).right; }},
        {"tree top", scaled(33), [&] { return RectInParent(w.tree).top; }},
        {"bottom panel", scaled(41),
         [&] { return ClientSize(w.form).cy - RectInParent(w.tree).bottom; }},
        {"tree indent", at_dpi(19),
         [&] { return static_cast<LONG>(SendMessageW(w.tree, TVM_GETINDENT, 0, 0)); }}};
    windows.emplace_back("dialog", Look(w.form, dpi, places));
    PressKey(VK_ESCAPE);
  });
  for (const auto& [name, seen] : windows) {
    SCOPED_TRACE(name);
    EXPECT_EQ(seen.faults, Faults{});
    EXPECT_EQ(seen.misplaced, std::vector<std::wstring>{});
    EXPECT_EQ(seen.corner.x, seen.offered.x);
    EXPECT_EQ(seen.corner.y, seen.offered.y);
    EXPECT_EQ(seen.font_height, gui::FontHeightForDpi(-12, expected_dpi));
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scales, DisplayScale, ::testing::Values(
    ScaleCase{"AsOpened", 0},
    ScaleCase{"MovedTo100", 96},
    ScaleCase{"MovedTo125", 120},
    ScaleCase{"MovedTo150", 144},
    ScaleCase{"MovedTo200", 192}),
    RowName);
// clang-format on

}  // namespace
}  // namespace pem::testing
