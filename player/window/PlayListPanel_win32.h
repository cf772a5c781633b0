#pragma once
// PlayListPanel: the rounded panel `pnlPlayList` inside the media panel, with
// the report-style list view `lstPlayList` (one column, no header, several
// rows selectable, read-only) and the labels `lblPlayListSave` ("<"),
// `lblPlayListAdd` ("╋"), `lblPlayListDelete` ("━") and `lblPlayListClose`
// ("X"). TPlayList decides what it shows and where (IPlayListPanel); the
// main window hears of its clicks and keys through PlayListPanelEvents.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "player/core/Window_win32.h"
#include "player/window/PlayListPanel.h"

namespace orves {

struct PlayListPanelEvents {
  // A key pressed in the list view; true when it ran a command (the list
  // view then leaves it alone).
  std::function<bool(UINT message, WPARAM key, LPARAM flags)> key;
  // A double click on the list: the first selected row, -1 when none.
  std::function<void(int row)> doubleClick;
  // A right click on the list, at the cursor's screen position.
  std::function<void(POINT screen)> rightClick;
  // A label was clicked: the action it runs.
  std::function<void(const char* action)> label;
};

class PlayListPanel final : public TWindow, public IPlayListPanel {
 public:
  PlayListPanel() = default;
  ~PlayListPanel() override;

  // A hidden child of the media panel `media`; `stateText` is the state-text
  // panel the playlist panel sits below.
  bool Create(HWND media, int id, HWND stateText);
  void SetEvents(PlayListPanelEvents events) { events_ = std::move(events); }
  // The panel's background and its text colour (0x00BBGGRR); black and white
  // unless a skin says otherwise.
  void SetColors(COLORREF background, COLORREF font);

  HWND ListView() const { return list_; }
  bool ListHasFocus() const;
  bool IsShown() const;
  std::vector<int> SelectedRows() const;

  // IPlayListPanel
  int SetRows(const std::vector<std::string>& captions) override;
  PlayListFrame Frame() const override;
  void Place(const PlayListPlace& place) override;
  void SetVisible(bool visible) override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  void CreateChildren();
  void PlaceLabels(int width);
  void ShapeToSize(int width, int height);
  LRESULT OnNotify(const NMHDR& header);
  int FirstSelectedRow() const;

  HWND media_ = nullptr;
  HWND stateText_ = nullptr;
  HWND list_ = nullptr;
  HWND labels_[4] = {};
  HFONT font_ = nullptr;
  HBRUSH background_ = nullptr;
  COLORREF backgroundColour_ = RGB(0, 0, 0);
  COLORREF fontColour_ = RGB(255, 255, 255);
  SIZE size_{-1, -1};
  PlayListPanelEvents events_;
};

}  // namespace orves
