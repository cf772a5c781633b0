#include "codecs/source/DemuxWorker.h"

#include <utility>

namespace orves::codecs {

DemuxWorker::DemuxWorker(Demuxer& demuxer, StreamQueues& queues)
    : demuxer_(demuxer), queues_(queues), discontinuity_(demuxer.Streams().size(), true) {}

DemuxWorker::~DemuxWorker() { Stop(); }

void DemuxWorker::Start() {
  std::lock_guard lock(mutex_);
  if (thread_.joinable()) return;
  quit_ = false;
  // Stop dropped the queued packets, and an end read while stopping never
  // reached the queues: read on (to the end again, if need be).
  ended_ = false;
  discontinuity_.assign(discontinuity_.size(), true);
  queues_.Resume();
  thread_ = std::thread([this] { Run(); });
}

void DemuxWorker::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) return;
    quit_ = true;
    queues_.Interrupt();
    wake_.notify_all();
  }
  thread_.join();
  // A seek that arrived while stopping is done now, by the next Start.
  seekDone_.notify_all();
}

bool DemuxWorker::Running() const {
  std::lock_guard lock(mutex_);
  return thread_.joinable() && !quit_;
}

bool DemuxWorker::ReachedEnd() const {
  std::lock_guard lock(mutex_);
  return ended_;
}

void DemuxWorker::Seek(std::int64_t time) {
  std::unique_lock lock(mutex_);
  seekTarget_ = time;
  seekPending_ = true;
  // Wakes a worker blocked in Push and keeps it from queueing what it reads
  // before the seek.
  queues_.Interrupt();
  if (!thread_.joinable() || quit_) {
    ApplySeek();
    return;
  }
  wake_.notify_all();
  seekDone_.wait(lock, [&] { return !seekPending_ || quit_; });
}

void DemuxWorker::ApplySeek() {
  demuxer_.Seek(seekTarget_);
  seekPending_ = false;
  ended_ = false;
  discontinuity_.assign(discontinuity_.size(), true);
  queues_.Resume();
  seekDone_.notify_all();
}

void DemuxWorker::Run() {
  MediaPacket packet;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return quit_ || seekPending_ || !ended_; });
      if (quit_) return;
      if (seekPending_) ApplySeek();
    }
    if (demuxer_.Read(packet) == ReadStatus::End) {
      std::lock_guard lock(mutex_);
      // The end read before a pending seek belongs to the old position.
      if (!seekPending_) {
        queues_.EndOfStream();
        ended_ = true;
      }
      continue;
    }
    const auto stream = static_cast<std::size_t>(packet.stream);
    if (stream < discontinuity_.size() && discontinuity_[stream] && queues_.IsActive(stream)) {
      packet.discontinuity = true;
      discontinuity_[stream] = false;
    }
    // False when a seek or a stop interrupted the queues: the packet belongs
    // to the old position and is dropped.
    queues_.Push(std::move(packet));
  }
}

}  // namespace orves::codecs
