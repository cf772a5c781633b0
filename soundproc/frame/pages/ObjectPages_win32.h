// The pages of our own upmixer and time stretcher. Each edits its object's
// parameter block through the object's persisted state (IPersistStream), so
// it works the same on any object that persists those blocks; words the page
// does not show keep what the object saved.
#pragma once

#include "soundproc/frame/pages/PropertyPageBase_win32.h"
#include "soundproc/stages/DmoParameterBlocks.h"

namespace zmsp {

// Algorithm, Pro Logic II mode and the music-mode settings.
class UpmixerPage final : public pages::PropertyPageBase {
 public:
  static HRESULT Create(REFIID riid, void** object);

 private:
  UpmixerPage();
  ~UpmixerPage() override { OnDisconnect(); }

  HRESULT OnConnect(IUnknown* object) override;
  void OnDisconnect() override;
  HRESULT OnActivate() override;
  HRESULT OnApplyChanges() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  IMediaObject* object_ = nullptr;  // held while connected
  UpmixParameterBlock block_;
};

// The speed, 0.563 to 10.
class TimeStretcherPage final : public pages::PropertyPageBase {
 public:
  static HRESULT Create(REFIID riid, void** object);

 private:
  TimeStretcherPage();
  ~TimeStretcherPage() override { OnDisconnect(); }

  HRESULT OnConnect(IUnknown* object) override;
  void OnDisconnect() override;
  HRESULT OnActivate() override;
  HRESULT OnApplyChanges() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  IMediaObject* object_ = nullptr;  // held while connected
  SpeedParameterBlock block_;
  bool filling_ = false;
};

}  // namespace zmsp
