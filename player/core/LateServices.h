#pragma once
// Stand-ins for the two services that exist only after the objects that use
// them: the player makes TStateText last and TMedia after TCaptionView, yet
// every object reports through the state text and the caption view reads the
// media's position. The main window hands these stand-ins to the earlier
// objects and binds them, in one step, as soon as the real objects exist;
// nothing runs between the making and the binding.
#include <cassert>

#include "player/core/Services.h"

namespace orves {

template <class Service>
class LateBound {
 public:
  void Bind(Service& target) { target_ = &target; }

 protected:
  Service& Target() const {
    assert(target_ != nullptr && "used before the main window's bind step");
    return *target_;
  }

 private:
  Service* target_ = nullptr;
};

class LateStateText final : public IStateText, public LateBound<IStateText> {
 public:
  void ShowState(const std::string& korean, const std::string& english) override {
    Target().ShowState(korean, english);
  }
  void Tick() override { Target().Tick(); }
  bool ShowTime() const override { return Target().ShowTime(); }
  void SetShowTime(bool on) override { Target().SetShowTime(on); }
};

class LateMediaView final : public IMediaView, public LateBound<const IMediaView> {
 public:
  bool HasPicture() const override { return Target().HasPicture(); }
  double CurrentPosition() const override { return Target().CurrentPosition(); }
  double Duration() const override { return Target().Duration(); }
  int PictureWidth() const override { return Target().PictureWidth(); }
  int PictureHeight() const override { return Target().PictureHeight(); }
  bool CaptionsOn() const override { return Target().CaptionsOn(); }
};

}  // namespace orves
