#pragma once
// The options dialog's maintenance buttons, carried out by the shell: the
// dialog asks the user and shows the outcome, the shell does the work on the
// system.
namespace orves {

class IConfigMaintenance {
 public:
  virtual ~IConfigMaintenance() = default;
  // Deletes the resume positions' file.
  virtual void ClearBookmarks() = 0;
  // Deletes the system's list of recently opened files.
  virtual void ClearRecentDocuments() = 0;
  // Registers (on) or unregisters the shell's media preview.
  virtual void SetShellPreview(bool on) = 0;
  // Unregisters the two subtitle filters of the caption codec check.
  virtual void RemoveCaptionCodecs() = 0;
};

}  // namespace orves
