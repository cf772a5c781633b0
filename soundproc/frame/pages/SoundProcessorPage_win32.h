// The sound processor's status page: the stream's formats, each stage's
// state, the output meter and the buttons that open the upmixer's and the
// time stretcher's own pages. It asks the filter for a status snapshot
// (ISoundProcessorStatus) on a timer of its own window, never from the
// streaming thread: a streaming thread that touched the page's windows would
// wait for this thread, which may itself be waiting for streaming to stop.
#pragma once

#include <array>
#include <map>
#include <string>

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/frame/ISoundProcessorStatus.h"
#include "soundproc/frame/pages/PageForms.h"
#include "soundproc/frame/pages/PropertyPageBase_win32.h"
#include "soundproc/frame/pages/StatusPanel.h"

namespace zmsp {

class SoundProcessorPage final : public pages::PropertyPageBase {
 public:
  // The class factory's creation, in the form the settings choose.
  static HRESULT Create(REFIID riid, void** object);

  static constexpr UINT kRefreshMilliseconds = 100;

  // One refresh of the controls from the filter's snapshot; E_UNEXPECTED when no filter
  // is attached. Does nothing while "Stop update" is checked.
  HRESULT Refresh();

 private:
  explicit SoundProcessorPage(pages::PageLanguage language);
  ~SoundProcessorPage() override;

  HRESULT OnConnect(IUnknown* object) override;
  void OnDisconnect() override;
  HRESULT OnActivate() override;
  void OnDeactivate() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  void StopShowing();
  void Apply(const pages::StatusView& view);
  void ApplyRow(int row, const pages::MeterRowView& view);
  void SetText(int id, const std::string& text);
  void OpenObjectPage(bool expansion);

  ComPtr<ISoundProcessorStatus> filter_;  // while attached
  bool frozen_ = false;
  int rowsShown_ = pages::kMeterRows;
  std::map<int, std::string> shownTexts_;  // what each control shows, to skip unchanged texts
  std::array<int, pages::kMeterRows> shownBars_{};
};

// The about page: a static text in the chosen language.
class SoundProcessorAboutPage final : public pages::PropertyPageBase {
 public:
  static HRESULT Create(REFIID riid, void** object);

 private:
  explicit SoundProcessorAboutPage(pages::PageLanguage language);
  HRESULT OnConnect(IUnknown*) override { return S_OK; }
  void OnDisconnect() override {}
};

}  // namespace zmsp
