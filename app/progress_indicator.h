// The conversion's progress indicator shown by a progress bar.
#pragma once

#include "conversion_run.h"
#include "progress_bar.h"

namespace pem {

class ProgressBarIndicator : public ProgressIndicator {
 public:
  explicit ProgressBarIndicator(gui::TProgressBar& bar) : bar_(bar) {}
  void SetMin(int value) override { bar_.SetMin(value); }
  void SetMax(int value) override { bar_.SetMax(value); }
  void SetPosition(int value) override { bar_.SetPosition(value); }
  void StepIt() override { bar_.StepIt(); }
  void SetVisible(bool visible) override { bar_.SetVisible(visible); }

 private:
  gui::TProgressBar& bar_;
};

}  // namespace pem
