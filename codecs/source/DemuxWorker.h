// Reads a demuxer on a thread of its own and fills the per-stream queues the
// output pins deliver from. The worker blocks while a queue is full (see
// StreamQueues) and ends the queues at the end of the file.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "codecs/common/StreamQueues.h"
#include "codecs/source/Demuxer.h"

namespace orves::codecs {

class DemuxWorker {
 public:
  DemuxWorker(Demuxer& demuxer, StreamQueues& queues);
  ~DemuxWorker();
  DemuxWorker(const DemuxWorker&) = delete;
  DemuxWorker& operator=(const DemuxWorker&) = delete;

  // Starts reading on the worker thread from the current position. The first
  // packet of each stream after opening or a seek carries the discontinuity
  // flag.
  void Start();
  // Interrupts the queues (their packets are dropped) and ends the thread;
  // a later Start reads on from where reading stopped.
  void Stop();
  bool Running() const;

  // Moves reading to the key frame at or before `time`. When it returns, the
  // queues hold nothing from before the seek and the worker reads from the
  // new position; pins blocked in Pop return Interrupted meanwhile.
  void Seek(std::int64_t time);

  // The end of the file has been read (and the queues ended).
  bool ReachedEnd() const;

 private:
  void Run();
  void ApplySeek();  // with mutex_ held

  Demuxer& demuxer_;
  StreamQueues& queues_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable seekDone_;
  bool quit_ = false;
  bool ended_ = false;
  bool seekPending_ = false;
  std::int64_t seekTarget_ = 0;
  std::vector<bool> discontinuity_;
};

}  // namespace orves::codecs
