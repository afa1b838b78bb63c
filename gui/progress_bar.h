// The common progress bar: a range, a position and a step.
#pragma once

#include "control.h"

namespace pem::gui {

class TProgressBar : public TWinControl {
 public:
  TProgressBar(TComponent& owner, TWinControl& parent, const ControlLayout& layout);

  int Min() const { return min_; }
  int Max() const { return max_; }
  // A range whose maximum lies below its minimum is refused with EInvalidOperation.
  void SetMin(int value);
  void SetMax(int value);
  int Position() const;
  void SetPosition(int value);
  int Step() const { return step_; }
  void SetStep(int value);
  void StepIt();

 private:
  void ApplyRange(int min, int max);

  int min_ = 0;
  int max_ = 100;
  int step_ = 10;
};

}  // namespace pem::gui
