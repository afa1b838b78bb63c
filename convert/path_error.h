// A file-system error about one path. Its text is that of the error alone, as every host has
// always shown it; a host that can say more adds the path.
#pragma once

#include <cstdint>
#include <string>

#include "file_errors.h"

namespace pem {

class EInOutErrorAt : public EInOutError {
 public:
  EInOutErrorAt(std::uint32_t code, std::string path) : EInOutError(code), path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace pem
