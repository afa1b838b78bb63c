#include "progress_line.h"

#include <algorithm>

namespace pem {

void ProgressLine::SetPosition(int value) {
  position_ = value;
  Draw(false);
}

void ProgressLine::StepIt() {
  ++position_;
  Draw(false);
}

void ProgressLine::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) {
    Draw(true);
    Wipe();
  }
  visible_ = visible;
  Draw(true);
}

void ProgressLine::Wipe() {
  if (!enabled_ || width_ == 0) return;
  std::string blank(width_ + 2, ' ');
  blank.front() = blank.back() = '\r';
  console_.Write(Stream::kErr, blank);
  width_ = 0;
  last_ = {};
}

void ProgressLine::EntryWritten() {
  ++entries_;
  Draw(false);
}

void ProgressLine::Draw(bool now) {
  if (!enabled_ || !visible_) return;
  const auto time = std::chrono::steady_clock::now();
  if (!now && time - last_ < std::chrono::milliseconds(100)) return;
  last_ = time;
  const int total = Total();
  const int done = std::min(position_ - min_, total);
  constexpr int kWidth = 30;
  const int filled =
      total > 0 ? static_cast<int>(static_cast<long long>(done) * kWidth / total) : 0;
  std::string line = "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " +
                     std::to_string(done) + "/" + std::to_string(total) + " categories, " +
                     std::to_string(entries_) + " entries";
  // Plain blanks rather than terminal escapes, which not every Windows console takes.
  const std::size_t width = line.size() - 1;
  if (width < width_) line += std::string(width_ - width, ' ');
  width_ = std::max(width_, width);
  console_.Write(Stream::kErr, line);
}

}  // namespace pem
