// A plain form with the layout a test gives it, created by the application as its forms are.
#pragma once

#include "form.h"

namespace pem::testing {

struct TestForm : gui::TForm {
  TestForm(gui::TComponent& owner, TestForm*& self, const gui::FormLayout& layout)
      : TForm((self = this, owner), layout) {}
};

}  // namespace pem::testing
