#include "player/playback/DirectShowPlayer_win32.h"

#include <windowsx.h>
#include <dshow.h>
// after dshow.h, which it needs
#include <dvdmedia.h>

#include <algorithm>
#include <cmath>

#include "player/playback/ComPtr_win32.h"
#include "player/playback/DirectShowStreams_win32.h"
#include "player/playback/MovieTextTracks_win32.h"
#include "player/playback/GraphRoutes.h"
#include "player/playback/OwnCodecs_win32.h"
#include "player/playback/PausedFrame_win32.h"
#include "player/core/TextConvert_win32.h"
#include "player/core/Window_win32.h"

namespace orves {

namespace {
constexpr UINT kGraphEventMessage = WM_APP + 0x40;
constexpr UINT kPlayStateMessage = WM_APP + 0x41;
constexpr wchar_t kWindowClass[] = L"OrvesMoviePlayer";
constexpr double kUnitsPerSecond = 10000000.0;  // REFERENCE_TIME is 100 ns
constexpr long kSilentVolume = -10000;
// How long a pause may take to bring its frame to the renderer.
constexpr DWORD kPauseSettleMs = 2000;

// The graph of one open file and the interfaces the control uses of it.
struct OpenGraph {
  ComPtr<IGraphBuilder> builder;
  ComPtr<IMediaControl> control;
  ComPtr<IMediaSeeking> seeking;
  ComPtr<IMediaEventEx> events;
  ComPtr<IBasicAudio> audio;
  ComPtr<IBasicVideo> video;
  ComPtr<IVideoWindow> window;
  ComPtr<IBaseFilter> renderer;  // ours, when the picture goes to it
  DirectShowStreams streams;
  MovieTextTracks textTracks;
};

bool PinConnected(IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Put())) || !pins) return false;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    ComPtr<IPin> peer;
    if (SUCCEEDED(pin->ConnectedTo(peer.Put())) && peer) return true;
  }
  return false;
}

// The GDI video renderer, added before RenderFile so graph building uses it:
// it draws into our window even where a Direct3D renderer would draw
// off screen. It is taken out again when the file has no picture.
ComPtr<IBaseFilter> AddVideoRenderer(IGraphBuilder* builder) {
  ComPtr<IBaseFilter> renderer;
  if (FAILED(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                              renderer.PutVoid()))) {
    return {};
  }
  if (FAILED(builder->AddFilter(renderer.Get(), L"Video Renderer"))) return {};
  return renderer;
}
// The picture aspect ratio the renderer's connection carries in a
// VIDEOINFOHEADER2 (a decoder puts the stream's there); 0:0 when it has none.
void ConnectedPictureAspect(IBaseFilter* renderer, long& x, long& y) {
  x = y = 0;
  ComPtr<IEnumPins> pins;
  if (!renderer || FAILED(renderer->EnumPins(pins.Put())) || !pins) return;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    AM_MEDIA_TYPE type{};
    if (FAILED(pin->ConnectionMediaType(&type))) continue;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2) && type.cbFormat >= sizeof(VIDEOINFOHEADER2) &&
        type.pbFormat) {
      const auto* info = reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat);
      x = static_cast<long>(info->dwPictAspectRatioX);
      y = static_cast<long>(info->dwPictAspectRatioY);
    }
    if (type.cbFormat != 0) CoTaskMemFree(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
    return;
  }
}
}  // namespace

class DirectShowPlayer::Impl final : public TWindow {
 public:
  // The graph goes first; the window follows in TWindow's destructor.
  ~Impl() override { Close(); }

  bool Create(HWND parent);
  HWND Window() const { return Handle(); }
  void FitToParent();
  void Repaint();

  void Open(const std::string& name);
  void Close();
  void Play();
  void Pause();
  double Position() const;
  void Seek(double seconds);
  void SetVolume(int volume);
  void SetMute(bool mute);
  void SetRate(double rate);
  bool IsOpen() const { return graph_ != nullptr; }
  IGraphBuilder* Builder() const { return graph_ ? graph_->builder.Get() : nullptr; }
  DirectShowStreams* Streams() { return graph_ ? &graph_->streams : nullptr; }
  const DirectShowStreams* Streams() const { return graph_ ? &graph_->streams : nullptr; }
  const MovieTextTracks* TextTracks() const { return graph_ ? &graph_->textTracks : nullptr; }

  std::string fileName;
  double duration = 0;
  int width = 0;
  int height = 0;
  int volume = 0;
  bool mute = false;
  double rate = 1.0;
  int state = kPlayStateStopped;
  HRESULT lastOpenResult = S_OK;
  bool ownDecoders = true;
  IMediaPlayerEvents* events = nullptr;
  IMovieWindowEvents* windowEvents = nullptr;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  HRESULT BuildGraph(const std::wstring& name);
  HRESULT BuildGraphBy(GraphRoute route, const std::wstring& name);
  void ReadPictureSize(long storedWidth, long storedHeight);
  void AttachVideoWindow();
  void PlaceVideoWindow();
  void ApplyVolume();
  void HandleGraphEvents();
  void ForwardMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void Report(int newState);
  void SetGraphPosition(double seconds);
  void HoldPausedFrame(bool seekWhenMissing);
  void ReleasePausedFrame();
  void Paint();

  std::unique_ptr<OpenGraph> graph_;
  PausedFrame pausedFrame_;
  // At the end of the movie the position reads as the duration exactly, which
  // is how the main timer recognises the end.
  bool atEnd_ = false;
};

bool DirectShowPlayer::Impl::Create(HWND parent) {
  if (!parent) return false;
  RECT rc{};
  GetClientRect(parent, &rc);
  return CreateWindowOf(WindowClassSpec{kWindowClass, CS_DBLCLKS, BlackBrush()}, 0,
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, L"", rc, parent);
}

void DirectShowPlayer::Impl::FitToParent() {
  if (!Handle()) return;
  RECT rc{};
  GetClientRect(GetParent(Handle()), &rc);
  MoveWindow(Handle(), 0, 0, rc.right, rc.bottom, TRUE);
}

void DirectShowPlayer::Impl::Repaint() {
  if (HWND window = Handle()) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

HRESULT DirectShowPlayer::Impl::BuildGraph(const std::wstring& name) {
  HRESULT hr = E_FAIL;
  // The module is loaded only when it is wanted.
  for (GraphRoute route : GraphRoutesFor(ownDecoders, ownDecoders && OwnCodecs::Instance().Loaded())) {
    // Every route starts from an empty graph: what a failed route left in it
    // is released with it.
    hr = BuildGraphBy(route, name);
    if (SUCCEEDED(hr)) break;
  }
  return hr;
}

HRESULT DirectShowPlayer::Impl::BuildGraphBy(GraphRoute route, const std::wstring& name) {
  auto graph = std::make_unique<OpenGraph>();
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                graph->builder.PutVoid());
  if (FAILED(hr)) return hr;
  ComPtr<IBaseFilter> renderer = AddVideoRenderer(graph->builder.Get());
  hr = route == GraphRoute::OwnFilters ? OwnCodecs::Instance().BuildGraph(graph->builder.Get(), name)
                                       : graph->builder->RenderFile(name.c_str(), nullptr);
  if (FAILED(hr)) return hr;  // the graph is released on return
  if (renderer && !PinConnected(renderer.Get())) {
    graph->builder->RemoveFilter(renderer.Get());
    renderer.Reset();
  }

  graph->control = graph->builder.As<IMediaControl>(IID_IMediaControl);
  graph->seeking = graph->builder.As<IMediaSeeking>(IID_IMediaSeeking);
  graph->events = graph->builder.As<IMediaEventEx>(IID_IMediaEventEx);
  graph->audio = graph->builder.As<IBasicAudio>(IID_IBasicAudio);
  graph->video = graph->builder.As<IBasicVideo>(IID_IBasicVideo);
  graph->window = graph->builder.As<IVideoWindow>(IID_IVideoWindow);
  if (!graph->control || !graph->seeking) return E_NOINTERFACE;
  graph->streams = DirectShowStreams(graph->builder.Get());
  graph->textTracks = MovieTextTracks(graph->builder.Get());
  graph->renderer = renderer;
  graph_ = std::move(graph);
  return hr;
}

void DirectShowPlayer::Impl::Open(const std::string& name) {
  Close();
  fileName = name;
  lastOpenResult = S_OK;
  if (name.empty()) return;
  lastOpenResult = BuildGraph(Utf8ToWide(name));
  if (FAILED(lastOpenResult)) {
    graph_.reset();
    return;
  }
  if (Handle() && graph_->events) {
    graph_->events->SetNotifyWindow(reinterpret_cast<OAHWND>(Handle()), kGraphEventMessage, 0);
  }
  LONGLONG length = 0;
  if (SUCCEEDED(graph_->seeking->GetDuration(&length)) && length > 0) duration = length / kUnitsPerSecond;
  long w = 0, h = 0;
  if (graph_->video && SUCCEEDED(graph_->video->GetVideoSize(&w, &h))) ReadPictureSize(w, h);
  AttachVideoWindow();
  ApplyVolume();
  if (rate != 1.0) graph_->seeking->SetRate(rate);
}

// The size the layout works with: the stored picture stretched to its
// aspect ratio, as the renderer's preferred ratio or its connection says.
void DirectShowPlayer::Impl::ReadPictureSize(long storedWidth, long storedHeight) {
  if (!graph_ || storedWidth <= 0 || storedHeight <= 0) return;
  long x = 0, y = 0;
  auto video2 = graph_->builder.As<IBasicVideo2>(IID_IBasicVideo2);
  if (!video2 || FAILED(video2->GetPreferredAspectRatio(&x, &y)) || x <= 0 || y <= 0) {
    ConnectedPictureAspect(graph_->renderer.Get(), x, y);
  }
  const PictureSize shown =
      ShownPictureSize(static_cast<int>(storedWidth), static_cast<int>(storedHeight), x, y);
  width = shown.width;
  height = shown.height;
}

void DirectShowPlayer::Impl::AttachVideoWindow() {
  if (!graph_->window) return;
  if (width == 0 || !Handle()) {
    // No picture, or nowhere to show it: never let the renderer open a
    // window of its own.
    graph_->window->put_AutoShow(OAFALSE);
    return;
  }
  graph_->window->put_Owner(reinterpret_cast<OAHWND>(Handle()));
  graph_->window->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  graph_->window->put_MessageDrain(reinterpret_cast<OAHWND>(Handle()));
  PlaceVideoWindow();
  graph_->window->put_Visible(OATRUE);
}

void DirectShowPlayer::Impl::PlaceVideoWindow() {
  if (!graph_ || !graph_->window || width == 0 || !Handle()) return;
  RECT rc{};
  GetClientRect(Handle(), &rc);
  graph_->window->SetWindowPosition(0, 0, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1));
}

void DirectShowPlayer::Impl::Close() {
  pausedFrame_.Drop();
  if (graph_) {
    graph_->control->Stop();
    if (graph_->window && width != 0 && Handle()) {
      graph_->window->put_Visible(OAFALSE);
      graph_->window->put_MessageDrain(0);
      graph_->window->put_Owner(0);
    }
    if (graph_->events) graph_->events->SetNotifyWindow(0, 0, 0);
    graph_.reset();  // the last release may take a while: the graph shuts down
  }
  fileName.clear();
  duration = 0;
  width = height = 0;
  atEnd_ = false;
  Report(kPlayStateStopped);
}

void DirectShowPlayer::Impl::Play() {
  if (!graph_) return;
  if (atEnd_) SetGraphPosition(0);  // playing again from the end starts over
  ReleasePausedFrame();
  if (SUCCEEDED(graph_->control->Run())) Report(kPlayStatePlaying);
}

void DirectShowPlayer::Impl::Pause() {
  if (!graph_) return;
  if (SUCCEEDED(graph_->control->Pause())) {
    Report(kPlayStatePaused);
    HoldPausedFrame(/*seekWhenMissing=*/true);
  }
}

// Once the paused graph has its frame at the renderer, the frame is kept and
// painted here while the renderer's window is hidden. A renderer that has
// already drawn the frame it was paused on may no longer hold it; seeking the
// same place brings it back, paused.
void DirectShowPlayer::Impl::HoldPausedFrame(bool seekWhenMissing) {
  if (!graph_->video || !graph_->window || width == 0 || !Handle()) return;
  OAFilterState settled = State_Stopped;
  graph_->control->GetState(kPauseSettleMs, &settled);
  if (settled != State_Paused) return;
  if (!pausedFrame_.Take(graph_->video.Get(), width, height)) {
    if (seekWhenMissing) SetGraphPosition(Position());
    return;
  }
  graph_->window->put_Visible(OAFALSE);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void DirectShowPlayer::Impl::ReleasePausedFrame() {
  if (!pausedFrame_.Held()) return;
  pausedFrame_.Drop();
  if (graph_ && graph_->window) graph_->window->put_Visible(OATRUE);
}

void DirectShowPlayer::Impl::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  if (pausedFrame_.Held()) {
    pausedFrame_.Paint(dc, client);
  } else {
    FillRect(dc, &ps.rcPaint, BlackBrush());
  }
  EndPaint(Handle(), &ps);
}

double DirectShowPlayer::Impl::Position() const {
  if (!graph_) return 0;
  if (atEnd_) return duration;
  LONGLONG now = 0;
  if (FAILED(graph_->seeking->GetCurrentPosition(&now))) return 0;
  const double seconds = now / kUnitsPerSecond;
  if (seconds < 0) return 0;
  return duration > 0 ? std::min(seconds, duration) : seconds;
}

void DirectShowPlayer::Impl::Seek(double seconds) {
  if (!graph_ || !std::isfinite(seconds)) return;
  seconds = std::max(0.0, seconds);
  if (duration > 0) seconds = std::min(seconds, duration);
  SetGraphPosition(seconds);
}

// Some splitters hang at the next Stop when a running or paused graph is
// seeked, so the graph is stopped first and put back in its state afterwards.
// The play state reported to the player does not change.
void DirectShowPlayer::Impl::SetGraphPosition(double seconds) {
  atEnd_ = false;
  ReleasePausedFrame();
  if (state != kPlayStateStopped) graph_->control->Stop();
  LONGLONG target = static_cast<LONGLONG>(seconds * kUnitsPerSecond);
  graph_->seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
  if (state == kPlayStatePlaying) {
    graph_->control->Run();
  } else if (state == kPlayStatePaused) {
    graph_->control->Pause();
    HoldPausedFrame(/*seekWhenMissing=*/false);
  }
}

void DirectShowPlayer::Impl::SetVolume(int value) {
  volume = std::clamp(value, static_cast<int>(kSilentVolume), 0);
  ApplyVolume();
}

void DirectShowPlayer::Impl::SetMute(bool on) {
  mute = on;
  ApplyVolume();
}

void DirectShowPlayer::Impl::ApplyVolume() {
  if (graph_ && graph_->audio) graph_->audio->put_Volume(mute ? kSilentVolume : volume);
}

void DirectShowPlayer::Impl::SetRate(double value) {
  if (!std::isfinite(value) || value <= 0) return;
  rate = value;
  if (graph_) graph_->seeking->SetRate(rate);
}

void DirectShowPlayer::Impl::HandleGraphEvents() {
  if (!graph_ || !graph_->events) return;
  long code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  // Handling an event may close the graph (a handler opening another file).
  while (graph_ && graph_->events && graph_->events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
    graph_->events->FreeEventParams(code, param1, param2);
    switch (code) {
      case EC_COMPLETE:
        graph_->control->Stop();
        atEnd_ = true;
        Report(kPlayStateStopped);
        break;
      case EC_ERRORABORT:
      case EC_USERABORT:
        graph_->control->Stop();
        Report(kPlayStateStopped);
        break;
      case EC_BUFFERING_DATA:
        if (events) events->OnBuffering(param1 != 0);
        break;
      case EC_VIDEO_SIZE_CHANGED:
        ReadPictureSize(LOWORD(param1), HIWORD(param1));
        break;
      default:
        break;
    }
  }
}

// Play-state changes are posted, so the player's handler runs from the message
// loop and may call back into the control.
void DirectShowPlayer::Impl::Report(int newState) {
  if (newState == state) return;
  const int oldState = state;
  state = newState;
  if (HWND window = Handle()) {
    PostMessageW(window, kPlayStateMessage, static_cast<WPARAM>(oldState), static_cast<LPARAM>(newState));
  }
}

void DirectShowPlayer::Impl::ForwardMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!windowEvents) return;
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  // The wheel comes in screen coordinates already.
  if (message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL) ClientToScreen(Handle(), &pt);
  windowEvents->OnMovieMouse(message, wParam, pt);
}

LRESULT DirectShowPlayer::Impl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    ForwardMouse(message, wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_SIZE:
      PlaceVideoWindow();
      if (pausedFrame_.Held()) InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETFOCUS:
      if (windowEvents) windowEvents->OnMovieFocus();
      return 0;
    case kGraphEventMessage:
      HandleGraphEvents();
      return 0;
    case kPlayStateMessage:
      if (events) events->OnPlayStateChange(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case WM_DESTROY:
      // Destroyed with its parent: let go of the graph while the video
      // window, a child of ours, still exists.
      Close();
      break;
    default:
      break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

DirectShowPlayer::DirectShowPlayer() : impl_(std::make_unique<Impl>()) {}
DirectShowPlayer::~DirectShowPlayer() = default;

bool DirectShowPlayer::Create(HWND parent) { return impl_->Create(parent); }
HWND DirectShowPlayer::Window() const { return impl_->Window(); }
void DirectShowPlayer::FitToParent() { impl_->FitToParent(); }
void DirectShowPlayer::Repaint() { impl_->Repaint(); }
void DirectShowPlayer::SetWindowEvents(IMovieWindowEvents* events) { impl_->windowEvents = events; }
void DirectShowPlayer::SetOwnDecoders(bool on) { impl_->ownDecoders = on; }
HRESULT DirectShowPlayer::LastOpenResult() const { return impl_->lastOpenResult; }
IGraphBuilder* DirectShowPlayer::Graph() const { return impl_->Builder(); }

void DirectShowPlayer::SetFileName(const std::string& name) { impl_->Open(name); }
std::string DirectShowPlayer::FileName() const { return impl_->fileName; }
bool DirectShowPlayer::IsOpen() const { return impl_->IsOpen(); }
void DirectShowPlayer::Play() { impl_->Play(); }
void DirectShowPlayer::Pause() { impl_->Pause(); }
double DirectShowPlayer::CurrentPosition() const { return impl_->Position(); }
void DirectShowPlayer::SetCurrentPosition(double seconds) { impl_->Seek(seconds); }
double DirectShowPlayer::Duration() const { return impl_->duration; }
int DirectShowPlayer::ImageSourceWidth() const { return impl_->width; }
int DirectShowPlayer::ImageSourceHeight() const { return impl_->height; }
void DirectShowPlayer::SetVolume(int volume) { impl_->SetVolume(volume); }
int DirectShowPlayer::Volume() const { return impl_->volume; }
void DirectShowPlayer::SetMute(bool mute) { impl_->SetMute(mute); }
bool DirectShowPlayer::Mute() const { return impl_->mute; }
void DirectShowPlayer::SetRate(double rate) { impl_->SetRate(rate); }
double DirectShowPlayer::Rate() const { return impl_->rate; }
int DirectShowPlayer::PlayState() const { return impl_->state; }
void DirectShowPlayer::SetEvents(IMediaPlayerEvents* events) { impl_->events = events; }

int DirectShowPlayer::StreamCount() const {
  const DirectShowStreams* streams = impl_->Streams();
  return streams ? streams->Count() : 0;
}

void DirectShowPlayer::StreamSelect(int stream) {
  if (DirectShowStreams* streams = impl_->Streams()) streams->Select(stream);
}

std::string DirectShowPlayer::GetStreamName(int stream) const {
  const DirectShowStreams* streams = impl_->Streams();
  return streams ? streams->Name(stream) : std::string();
}

bool DirectShowPlayer::GetStreamSelected(int stream) const {
  const DirectShowStreams* streams = impl_->Streams();
  return streams && streams->Selected(stream);
}

int DirectShowPlayer::TextTrackCount() const {
  const MovieTextTracks* tracks = impl_->TextTracks();
  return tracks ? tracks->Count() : 0;
}

TMovieTextTrack DirectShowPlayer::TextTrack(int track) const {
  const MovieTextTracks* tracks = impl_->TextTracks();
  return tracks ? tracks->Track(track) : TMovieTextTrack{};
}

std::optional<std::vector<TMovieTextCue>> DirectShowPlayer::TextTrackCues(int track) {
  const MovieTextTracks* tracks = impl_->TextTracks();
  return tracks ? tracks->Cues(track) : std::vector<TMovieTextCue>{};
}

}  // namespace orves
