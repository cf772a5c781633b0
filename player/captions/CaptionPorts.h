#pragma once
// The caption view's two services of the platform: the caption panel it
// draws into and the message box it informs through. The Windows layer
// implements them; tests use fakes.
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

// An information box owned by the main window; texts are UTF-8.
class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  virtual void ShowInformation(const std::string& title, const std::string& text) = 0;
};

}  // namespace orves
