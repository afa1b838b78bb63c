#include "folder_operands.h"

#include "cp932.h"

namespace pem {

bool FolderOperands::Prepare(const std::string& install, const std::string& out,
                             FileSystem& file_system) {
  if (!folders_.Prepare(install, out, file_system)) return false;
  install_text_ = folders_.Install().text;
  if (!EndsWithChar(install_text_, '\\') && !EndsWithChar(install_text_, '/')) {
    install_text_ += '\\';
  }
  return true;
}

std::string FolderOperands::BareInstallText() const {
  return BareText(install_text_);
}

}  // namespace pem
