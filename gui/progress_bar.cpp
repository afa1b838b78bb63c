#include "progress_bar.h"

#include "gui_messages.h"
#include "os_error.h"

namespace pem::gui {

TProgressBar::TProgressBar(TComponent& owner, TWinControl& parent, const ControlLayout& layout)
    : TWinControl(owner, &parent) {
  CreateStockWindow({PROGRESS_CLASSW, 0, 0}, layout);
  SetTabStop(false);
  ApplyRange(min_, max_);
  SetStep(1);
}

void TProgressBar::ApplyRange(int min, int max) {
  if (max < min)
    throw EInvalidOperation(std::string(msg::kPropertyOutOfRangePrefix) + "TProgressBar" +
                            msg::kPropertyOutOfRangeSuffix);
  min_ = min;
  max_ = max;
  SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min), static_cast<LPARAM>(max));
}

void TProgressBar::SetMin(int value) {
  if (value != min_) ApplyRange(value, max_);
}

void TProgressBar::SetMax(int value) {
  if (value != max_) ApplyRange(min_, value);
}

int TProgressBar::Position() const {
  return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::SetPosition(int value) {
  SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void TProgressBar::SetStep(int value) {
  step_ = value;
  SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(value), 0);
}

void TProgressBar::StepIt() {
  SendMessageW(Handle(), PBM_STEPIT, 0, 0);
}

}  // namespace pem::gui
