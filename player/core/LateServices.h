#pragma once
// The one way the player's long-lived objects reach a service that exists
// only after them: the player makes TSkin first and TStateText last, TMedia
// after TCaptionView, TMovie after TMedia and the caption view after its
// panel, yet the later ones serve objects made before them. The main window hands such
// an object a LateBound (or a stand-in built on one, which implements the
// service by passing every call on) and binds them all, in one step, as soon
// as the real objects exist; nothing runs between the making and the binding.
#include <cassert>

#include "player/core/Services.h"

namespace orves {

template <class Service>
class LateBound {
 public:
  void Bind(Service& target) { target_ = &target; }
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
