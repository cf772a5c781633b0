#include "player/shell/UpdateCheck_win32.h"

#include <winhttp.h>

#include <algorithm>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace orves {

namespace {

// A version page is a few lines; anything longer is cut here.
constexpr size_t kMaxBody = 64 * 1024;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_ != nullptr) {
      WinHttpCloseHandle(handle_);
    }
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

struct UrlParts {
  std::wstring host;
  std::wstring path;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
};

std::optional<UrlParts> CrackUrl(const std::wstring& url) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) ||
      parts.nScheme != INTERNET_SCHEME_HTTP) {
    return std::nullopt;
  }
  UrlParts result;
  result.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  result.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo != nullptr) {
    result.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  }
  result.port = parts.nPort;
  return result;
}

std::string ReadBody(HINTERNET request, ULONGLONG deadline) {
  std::string body;
  std::vector<char> chunk(8192);
  while (body.size() < kMaxBody && GetTickCount64() < deadline) {
    DWORD read = 0;
    if (!WinHttpReadData(request, chunk.data(), static_cast<DWORD>(chunk.size()), &read) || read == 0) {
      break;
    }
    body.append(chunk.data(), std::min<size_t>(read, kMaxBody - body.size()));
  }
  return body;
}

}  // namespace

std::string HttpGetBody(const std::wstring& url, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  const std::optional<UrlParts> parts = CrackUrl(url);
  if (!parts) {
    return {};
  }
  const InternetHandle session(WinHttpOpen(L"OrvesMP", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                           WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) {
    return {};
  }
  const int limit = static_cast<int>(timeoutMs);
  WinHttpSetTimeouts(session.Get(), limit, limit, limit, limit);
  const InternetHandle connection(WinHttpConnect(session.Get(), parts->host.c_str(), parts->port, 0));
  if (!connection) {
    return {};
  }
  const InternetHandle request(WinHttpOpenRequest(connection.Get(), L"GET", parts->path.c_str(), nullptr,
                                                  WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                  WINHTTP_FLAG_REFRESH));
  if (!request ||
      !WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                          0) ||
      !WinHttpReceiveResponse(request.Get(), nullptr)) {
    return {};
  }
  return ReadBody(request.Get(), deadline);
}

// What the worker and the window share: the window to tell (none once the
// check object is gone) and the reply.
struct TCheckNewVersion::Mailbox {
  std::mutex lock;
  HWND window = nullptr;
  std::optional<std::string> reply;
};

TCheckNewVersion::TCheckNewVersion(HWND window, std::wstring url, DWORD timeoutMs)
    : mailbox_(std::make_shared<Mailbox>()) {
  mailbox_->window = window;
  try {
    std::thread([mailbox = mailbox_, url = std::move(url), timeoutMs] {
      std::string body = HttpGetBody(url, timeoutMs);
      const std::lock_guard<std::mutex> hold(mailbox->lock);
      if (mailbox->window != nullptr) {
        mailbox->reply = std::move(body);
        PostMessageW(mailbox->window, kUpdateReplyMessage, 0, 0);
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the check is skipped, as after any other failure.
  }
}

TCheckNewVersion::~TCheckNewVersion() {
  const std::lock_guard<std::mutex> hold(mailbox_->lock);
  mailbox_->window = nullptr;
}

std::optional<std::string> TCheckNewVersion::TakeReply() {
  const std::lock_guard<std::mutex> hold(mailbox_->lock);
  std::optional<std::string> reply = std::move(mailbox_->reply);
  mailbox_->reply.reset();
  return reply;
}

}  // namespace orves
