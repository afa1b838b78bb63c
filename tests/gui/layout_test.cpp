// Forms laid out by their tables: docked panels, a client control and anchored buttons keep their
// places while the form is resized; bounds set before showing hold, and each placement rule puts
// the form where it says.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <ostream>
#include <vector>

#include "application.h"
#include "button.h"
#include "edit.h"
#include "form.h"
#include "panel.h"
#include "table_row.h"
#include "test_form.h"
#include "ui_probe.h"

namespace pem::testing {
namespace {

using namespace pem::gui;

ControlLayout AnchoredButton(int left, const char* text) {
  return {.left = left,
          .top = 8,
          .width = 89,
          .height = 25,
          .text = text,
          .anchors = {.left = false, .top = true, .right = true, .bottom = false}};
}

FormLayout SizeableLayout(const wchar_t* window_class) {
  return {.window_class = window_class,
          .client_width = 299,
          .client_height = 318,
          .border_style = TBorderStyle::bsSizeable,
          .border_icons = {.system_menu = true, .minimize = false, .maximize = false}};
}

// Panels docked top and bottom, a client control between them, and two buttons anchored top and
// right in the bottom panel.
struct DockedForm : TForm {
  DockedForm(TComponent& owner, DockedForm*& self)
      : TForm((self = this, owner), SizeableLayout(L"TDockedTestForm")),
        top(Create<TPanel>(*this, ControlLayout{.height = 33, .align = TAlign::alTop},
                           TBevel::bvNone)),
        bottom(Create<TPanel>(*this, ControlLayout{.height = 41, .align = TAlign::alBottom},
                              TBevel::bvNone)),
        client(Create<TEdit>(*this, ControlLayout{.align = TAlign::alClient})),
        ok(Create<TButton>(bottom, AnchoredButton(107, "OK"))),
        cancel(Create<TButton>(bottom, AnchoredButton(203, "Cancel"))) {}

  TPanel& top;
  TPanel& bottom;
  TEdit& client;
  TButton& ok;
  TButton& cancel;
};

// Distances of a control to the four edges of its parent's client area.
struct Margins {
  long left, top, right, bottom;
  bool operator==(const Margins&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Margins& m) {
  return out << "{" << m.left << ", " << m.top << ", " << m.right << ", " << m.bottom << "}";
}

Margins MarginsOf(HWND control) {
  const RECT bounds = RectInParent(control);
  const SIZE parent = ClientSize(GetParent(control));
  return {bounds.left, bounds.top, parent.cx - bounds.right, parent.cy - bounds.bottom};
}

long HeightOf(HWND window) {
  const RECT bounds = RectInParent(window);
  return bounds.bottom - bounds.top;
}

TEST(Layout, DockedPanelsAClientControlAndAnchoredButtonsKeepTheirPlacesWhenResized) {
  TApplication application;
  DockedForm* form = nullptr;
  application.CreateForm<DockedForm>(form);
  form->Show();
  const long top_height = HeightOf(form->top.Handle());
  const long bottom_height = HeightOf(form->bottom.Handle());
  const Margins ok = MarginsOf(form->ok.Handle());
  const Margins cancel = MarginsOf(form->cancel.Handle());

  const SIZE sizes[] = {{480, 420}, {260, 200}, {307, 352}, {700, 260}};
  for (const SIZE& size : sizes) {
    form->SetWidth(size.cx);
    form->SetHeight(size.cy);
    const std::string at = std::to_string(size.cx) + "x" + std::to_string(size.cy);
    EXPECT_EQ(MarginsOf(form->top.Handle()),
              (Margins{0, 0, 0, ClientSize(form->Handle()).cy - top_height}))
        << at;
    EXPECT_EQ(MarginsOf(form->bottom.Handle()),
              (Margins{0, ClientSize(form->Handle()).cy - bottom_height, 0, 0}))
        << at;
    EXPECT_EQ(MarginsOf(form->client.Handle()), (Margins{0, top_height, 0, bottom_height})) << at;
    // Anchored top and right: the distances to those edges hold, the size stays.
    for (const auto& [button, before] :
         {std::pair{&form->ok, ok}, std::pair{&form->cancel, cancel}}) {
      const Margins now = MarginsOf(button->Handle());
      EXPECT_EQ(now.top, before.top) << at;
      EXPECT_EQ(now.right, before.right) << at;
      EXPECT_EQ(now.bottom, before.bottom) << at;
    }
  }

  // Minimised, the client area is empty; the controls keep their places in the parents.
  const HWND controls[] = {form->top.Handle(), form->bottom.Handle(), form->client.Handle(),
                           form->ok.Handle(), form->cancel.Handle()};
  std::vector<RECT> places;
  for (const HWND control : controls) places.push_back(RectInParent(control));
  const auto expect_kept = [&](const char* when) {
    for (std::size_t index = 0; index < places.size(); ++index) {
      const RECT now = RectInParent(controls[index]);
      EXPECT_TRUE(EqualRect(&places[index], &now)) << when << ", control " << index;
    }
  };
  ShowWindow(form->Handle(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(form->Handle()));
  expect_kept("minimised");
  ShowWindow(form->Handle(), SW_RESTORE);
  expect_kept("restored");
}

struct PlacementCase : Row {
  TPosition position;
  TBorderStyle border;
  // The area in which the form with outer size 307 x 352 must be centred once shown; none for
  // the designed place, empty for anywhere on the screen.
  std::optional<SIZE> centred_in;
};

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, BoundsSetBeforeShowingHoldAndTheRulePlacesTheForm) {
  const PlacementCase& c = GetParam();
  TApplication application;
  TestForm* form = nullptr;
  FormLayout layout = SizeableLayout(L"TPlacementTestForm");
  layout.client_width = 100;
  layout.client_height = 60;
  application.CreateForm<TestForm>(form, layout);
  // In the order a dialog prepares its window: size, position, then the frame.
  form->SetWidth(307);
  form->SetHeight(352);
  form->SetLeft(c.position == TPosition::poDesigned ? 37 : -5000);
  form->SetTop(c.position == TPosition::poDesigned ? 41 : -5000);
  form->SetPosition(c.position);
  form->SetBorderStyle(c.border);
  form->Show();

  RECT placed{};
  GetWindowRect(form->Handle(), &placed);
  EXPECT_EQ(placed.right - placed.left, 307);
  EXPECT_EQ(placed.bottom - placed.top, 352);
  if (!c.centred_in) {
    EXPECT_EQ(placed.left, 37);
    EXPECT_EQ(placed.top, 41);
  } else if (c.centred_in->cx > 0) {
    EXPECT_EQ(placed.left, (c.centred_in->cx - 307) / 2);
    EXPECT_EQ(placed.top, (c.centred_in->cy - 352) / 2);
  } else {
    // Where the system puts new windows: on the screen, wherever it was set.
    EXPECT_GE(placed.left, 0);
    EXPECT_GE(placed.top, 0);
    EXPECT_LT(placed.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LT(placed.top, GetSystemMetrics(SM_CYSCREEN));
  }
  const LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU) << "the close box";
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ((style & WS_THICKFRAME) != 0, c.border == TBorderStyle::bsSizeable);
}

const SIZE kScreen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
const SIZE kDesktop{GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rules, Placement, ::testing::Values(
    PlacementCase{"DesignedSizeable",      TPosition::poDesigned,       TBorderStyle::bsSizeable, {}},
    PlacementCase{"DesignedDialog",        TPosition::poDesigned,       TBorderStyle::bsDialog,   {}},
    PlacementCase{"ScreenCenter",          TPosition::poScreenCenter,   TBorderStyle::bsSizeable, kScreen},
    PlacementCase{"DesktopCenter",         TPosition::poDesktopCenter,  TBorderStyle::bsDialog,   kDesktop},
    PlacementCase{"DefaultPositionDialog", TPosition::poDefaultPosOnly, TBorderStyle::bsDialog,   SIZE{}}),
    RowName);
// clang-format on

}  // namespace
}  // namespace pem::testing
