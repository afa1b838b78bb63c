// The plain form that the Windows benchmarks put their trees on.
#pragma once

#include "application.h"
#include "form.h"

namespace pem::bench {

struct BenchForm : gui::TForm {
  BenchForm(gui::TComponent& owner, BenchForm*& self, const gui::FormLayout& layout)
      : TForm((self = this, owner), layout) {}
};

// A new form of the application with a client area of the given size, not shown yet.
inline BenchForm& CreateBenchForm(gui::TApplication& application, const wchar_t* window_class,
                                  int width, int height) {
  gui::FormLayout layout;
  layout.window_class = window_class;
  layout.client_width = width;
  layout.client_height = height;
  BenchForm* form = nullptr;
  application.CreateForm<BenchForm>(form, layout);
  return *form;
}

}  // namespace pem::bench
