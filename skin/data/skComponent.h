// The little of the component model the skin's components need: the designing
// state, removal notices so that weak references are cleared when the referenced
// component is destroyed, and the mouse buttons their events name.
#pragma once
#include <algorithm>
#include <vector>

namespace skin {

// Which mouse button an event is about.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

class TskComponent {
 public:
  TskComponent() = default;
  virtual ~TskComponent() {
    const std::vector<TskComponent*> observers = std::move(observers_);
    for (TskComponent* o : observers) {
      std::erase(o->observers_, this);
      o->Notification(this);
    }
  }
  TskComponent(const TskComponent&) = delete;
  TskComponent& operator=(const TskComponent&) = delete;

  // In the form designer property setters only store their values, or (for file
  // names) fill the component from the file.
  bool Designing() const { return designing_; }
  void SetDesigning(bool designing) { designing_ = designing; }

  // Both components are told when the other is destroyed.
  void FreeNotification(TskComponent* other) {
    if (!other || other == this || std::find(observers_.begin(), observers_.end(), other) != observers_.end()) return;
    observers_.push_back(other);
    other->observers_.push_back(this);
  }

 protected:
  // `removed` is being destroyed; drop every reference to it.
  virtual void Notification(TskComponent* /*removed*/) {}

 private:
  std::vector<TskComponent*> observers_;
  bool designing_ = false;
};

}  // namespace skin
