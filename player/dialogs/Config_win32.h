#pragma once
// TfrmConfig ("환경 설정"): the modal options dialog. A tab control with one
// child page per tab; every control is described by one row of a table
// (page, kind, name, caption, place), and the bound ones carry the name of
// the setting binding in ConfigModel, so moving values between the controls
// and ConfigValues is one loop. The dialog only edits ConfigValues: the main
// window fills them before and applies them after (ConfigModel).
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "player/dialogs/ConfigControls_win32.h"
#include "player/dialogs/ConfigMaintenance.h"
#include "player/dialogs/ConfigModel.h"
#include "player/dialogs/Form_win32.h"

namespace orves {

class ConfigPage;

// The one-line input box the preset buttons ask with: title, prompt; the
// text on OK.
using ConfigPrompt = std::function<std::optional<std::wstring>(const std::wstring&, const std::wstring&)>;

class TfrmConfig final : public Form {
 public:
  // `settings`: the settings the dialog shows, which outlive it.
  explicit TfrmConfig(std::span<const DialogSetting> settings);
  ~TfrmConfig() override;

  void SetPrompt(ConfigPrompt prompt) { prompt_ = std::move(prompt); }

  // Shows `values` in the controls, runs the dialog on its first tab and,
  // when it is closed with OK, takes the controls back into `values`.
  // `webHost` is the host of the maker's page link ("" shows no page);
  // `maintenance` carries out the maintenance buttons while it is shown.
  ModalResult Edit(ConfigValues& values, const std::string& webHost, IConfigMaintenance& maintenance);

  // Called by the pages for their controls' notifications and drawing.
  bool OnControl(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  void CreateControls() override;
  bool OnCommand(WORD id) override;

 private:
  void CreatePages();
  HWND CreateControl(size_t index);
  void ShowValues(const ConfigValues& values);
  void CollectValues(ConfigValues& values) const;
  void FillFontList();
  void SelectFontFace(const std::wstring& face);
  void ShowResolutions(HWND list, int width) const;
  void FitCaption(HWND control, const ConfigControlSpec& s) const;
  void UpdateControls();
  void ShowDetailTabs(bool show);
  void SelectPage(int page);
  bool RunAction(size_t index);
  void ApplyPresetAndClose(ConfigPreset preset);
  void AskNumber(size_t index);
  void ChooseFontColour();
  void BrowseCaptionFolder();
  void DrawPreview(const DRAWITEMSTRUCT& item) const;
  void DrawSwatch(const DRAWITEMSTRUCT& item) const;

  HWND Control(const char* name, int item = -1) const;
  bool Checked(const char* name, int item = -1) const;
  void SetChecked(HWND control, bool on) const;
  int Scaled(int pixels) const;
  RECT ScaledRect(int left, int top, int width, int height) const;

  std::span<const DialogSetting> settings_;
  std::vector<ConfigControlSpec> specs_;  // every control, in the order made
  ConfigPrompt prompt_;
  std::string webHost_;
  IConfigMaintenance* maintenance_ = nullptr;  // while shown
  std::unique_ptr<ConfigPage> body_;
  HWND tabs_ = nullptr;
  HFONT font_ = nullptr;  // shared by every control
  int dpi_ = 96;
  std::vector<std::unique_ptr<ConfigPage>> pages_;
  std::vector<HWND> controls_;  // one per table row
  std::vector<HWND> upDowns_;   // beside the spin rows, else null
  bool detailTabsShown_ = true;
  COLORREF fontColour_ = 0;
  bool updating_ = false;
};

// The caption preview: the sample text "가나AB" over the sample picture with
// the given face, bold, colour, glyph width, outline and shadow rates and
// smoothing, as the caption overlay draws it at a line height of 50 pixels.
struct CaptionPreviewStyle {
  std::wstring face;
  bool bold = false;
  COLORREF colour = 0;
  int fontWidthRate = 90;
  int outLineRate = 4;
  int shadowRate = 2;
  bool antiAliase = true;
};
inline constexpr int kPreviewWidth = 200;
inline constexpr int kPreviewHeight = 100;
// Draws the preview into a new 200 x 100 bitmap compatible with `dc`; the
// caller deletes it. Null when GDI refuses.
HBITMAP RenderCaptionPreview(HDC dc, const CaptionPreviewStyle& style);

}  // namespace orves
