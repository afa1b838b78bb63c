// The root of the framework's classes and the ownership of components: an owner destroys what it
// owns, newest first, when it is destroyed itself.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pem::gui {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner = nullptr) : owner_(owner) {}
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  std::size_t ComponentCount() const { return components_.size(); }
  TComponent& Component(std::size_t index) const { return *components_[index]; }

  // Creates a component owned by this one; the constructor receives this owner first.
  template <typename T, typename... Args>
  T& Create(Args&&... args) {
    auto component = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& result = *component;
    components_.push_back(std::move(component));
    return result;
  }

  // Destroys an owned component before its owner goes.
  void DestroyComponent(TComponent& component);

 protected:
  // Destroys every owned component, newest first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::vector<std::unique_ptr<TComponent>> components_;
};

}  // namespace pem::gui
