// The packet queues between the demux worker and the output pins: one FIFO
// per stream, each bounded by a packet count and a byte size.
//
// The worker (one producer) blocks in Push while the stream's queue is full,
// so nothing grows while a pin is blocked downstream. One exception keeps a
// badly interleaved file from locking the graph: while another active queue
// is empty (its pin starves, and the renderer that holds the full queue's
// pin may wait for it), the full queue may grow up to the hard limits.
// Each pin's thread pops from its own queue.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

#include "codecs/common/MediaPacket.h"

namespace orves::codecs {

struct QueueLimits {
  std::size_t packets;
  std::size_t bytes;
  std::size_t hardPackets;
  std::size_t hardBytes;
};

// About ten seconds of a 25 fps stream, and enough bytes for that at high
// bit rates; four times as much while another pin starves.
inline constexpr QueueLimits kDefaultQueueLimits{256, 32u << 20, 1024, 128u << 20};

enum class PopResult { Packet, EndOfStream, Interrupted };

class StreamQueues {
 public:
  StreamQueues(std::size_t streamCount, QueueLimits limits = kDefaultQueueLimits);
  StreamQueues(const StreamQueues&) = delete;
  StreamQueues& operator=(const StreamQueues&) = delete;

  // Queues `packet` on its stream, waiting while the queue is full. A packet
  // of an inactive or unknown stream is dropped at once. False (and the
  // packet dropped) when the queues are interrupted.
  bool Push(MediaPacket&& packet);

  // Takes the next packet of `stream`, waiting while its queue is empty.
  PopResult Pop(std::size_t stream, MediaPacket& packet);

  // No packet follows the queued ones: pops drain the queues, then return
  // EndOfStream.
  void EndOfStream();

  // Empties every queue and wakes every waiter: pushes and pops return at
  // once (Interrupted) until Resume. Used for seeking and stopping.
  void Interrupt();
  void Resume();

  // An inactive stream's pin is not connected or its track is not selected:
  // its packets are dropped and its empty queue never counts as starving.
  void SetActive(std::size_t stream, bool active);
  bool IsActive(std::size_t stream) const;

  std::size_t Packets(std::size_t stream) const;
  std::size_t Bytes(std::size_t stream) const;

 private:
  struct Queue {
    std::deque<MediaPacket> packets;
    std::size_t bytes = 0;
    bool active = true;
  };

  bool HasRoom(const Queue& queue) const;
  bool AnotherStarves(const Queue& full) const;

  const QueueLimits limits_;
  mutable std::mutex mutex_;
  std::condition_variable pushed_;
  std::condition_variable popped_;
  std::vector<Queue> queues_;
  bool ended_ = false;
  bool interrupted_ = false;
};

}  // namespace orves::codecs
