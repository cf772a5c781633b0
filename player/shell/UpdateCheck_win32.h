#pragma once
// TCheckNewVersion: the update check's worker. It fetches the version page
// on a thread of its own (one HTTP GET with a time limit) and hands the reply
// to the GUI thread by posting a message to the window; the window then takes
// the reply. The worker never waits for the window: once the check object is
// gone (the window closing), a reply that arrives later is dropped, and
// neither closing nor the end of the process waits for the request.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace orves {

// Posted to the window when the reply has arrived.
inline constexpr UINT kUpdateReplyMessage = WM_APP + 0x50;

// The body of a GET of `url`, whatever the status; empty after any error
// (refused, timed out, not HTTP). At most `timeoutMs` for each step of the
// request and for the whole body.
std::string HttpGetBody(const std::wstring& url, DWORD timeoutMs);

class TCheckNewVersion {
 public:
  TCheckNewVersion(HWND window, std::wstring url, DWORD timeoutMs);
  ~TCheckNewVersion();
  TCheckNewVersion(const TCheckNewVersion&) = delete;
  TCheckNewVersion& operator=(const TCheckNewVersion&) = delete;

  // The reply, once, after kUpdateReplyMessage has come.
  std::optional<std::string> TakeReply();

 private:
  struct Mailbox;
  std::shared_ptr<Mailbox> mailbox_;
};

}  // namespace orves
