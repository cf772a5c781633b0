#pragma once
// What the caption view needs from the rest of the player, as small
// interfaces, so that the view runs (and is tested) without a window. The
// Windows layer implements them over the caption panel, the layout, the
// media player control and the message box.
#include <string>

namespace orves {

struct TCaptionEntry;

// Draws entries into the caption panel.
class ICaptionRenderer {
 public:
  virtual ~ICaptionRenderer() = default;
  virtual void RenderCaption(const TCaptionEntry& entry) = 0;  // an empty text hides
  virtual void HideCaption() = 0;
  // Forgets the panel width of the last drawing, so the next RenderCaption
  // draws even an unchanged text (settings that change the look).
  virtual void ForgetLastWidth() = 0;
};

// The window layout around the movie and the caption panel.
class ICaptionLayout {
 public:
  virtual ~ICaptionLayout() = default;
  virtual bool CaptionPanelVisible() const = 0;
  virtual void HideMovieForResize() = 0;
  virtual void ResizeKeepingAspect() = 0;    // with the current window size
  virtual void ShowMovieAfterResize() = 0;   // relayouts and runs UpdateCaption
};

// The movie being played.
class ICaptionMedia {
 public:
  virtual ~ICaptionMedia() = default;
  virtual int SourceWidth() const = 0;   // effective width; 0 while no video is open
  virtual int SourceHeight() const = 0;
  virtual double CurrentPosition() const = 0;  // seconds
  virtual bool CaptionEnabled() const = 0;     // the Media setting CaptionEnabled
};

// An information box owned by the main window; texts are UTF-8.
class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  virtual void ShowInformation(const std::string& title, const std::string& text) = 0;
};

}  // namespace orves
