#include "codecs/common/StreamQueues.h"

#include <utility>

namespace orves::codecs {

StreamQueues::StreamQueues(std::size_t streamCount, QueueLimits limits)
    : limits_(limits), queues_(streamCount) {}

bool StreamQueues::HasRoom(const Queue& queue) const {
  // An empty queue takes any packet, even one larger than the byte limit.
  if (queue.packets.empty()) return true;
  if (queue.packets.size() < limits_.packets && queue.bytes < limits_.bytes) return true;
  return queue.packets.size() < limits_.hardPackets && queue.bytes < limits_.hardBytes &&
         AnotherStarves(queue);
}

bool StreamQueues::AnotherStarves(const Queue& full) const {
  for (const Queue& queue : queues_) {
    if (&queue != &full && queue.active && queue.packets.empty()) return true;
  }
  return false;
}

bool StreamQueues::Push(MediaPacket&& packet) {
  std::unique_lock lock(mutex_);
  if (packet.stream < 0 || static_cast<std::size_t>(packet.stream) >= queues_.size()) return !interrupted_;
  Queue& queue = queues_[static_cast<std::size_t>(packet.stream)];
  popped_.wait(lock, [&] { return interrupted_ || !queue.active || HasRoom(queue); });
  if (interrupted_) return false;
  if (!queue.active) return true;
  queue.bytes += packet.data.size();
  queue.packets.push_back(std::move(packet));
  pushed_.notify_all();
  return true;
}

PopResult StreamQueues::Pop(std::size_t stream, MediaPacket& packet) {
  std::unique_lock lock(mutex_);
  if (stream >= queues_.size()) return PopResult::EndOfStream;
  Queue& queue = queues_[stream];
  pushed_.wait(lock, [&] { return interrupted_ || ended_ || !queue.packets.empty(); });
  if (interrupted_) return PopResult::Interrupted;
  if (queue.packets.empty()) return PopResult::EndOfStream;
  packet = std::move(queue.packets.front());
  queue.packets.pop_front();
  queue.bytes -= packet.data.size();
  // The worker waits for room in this queue, or for this queue to starve
  // while another is full: both may have changed.
  popped_.notify_all();
  return PopResult::Packet;
}

void StreamQueues::EndOfStream() {
  std::lock_guard lock(mutex_);
  // A worker that read the end while a seek interrupted it must not end the
  // stream that follows the seek.
  if (interrupted_) return;
  ended_ = true;
  pushed_.notify_all();
}

void StreamQueues::Interrupt() {
  std::lock_guard lock(mutex_);
  interrupted_ = true;
  ended_ = false;
  for (Queue& queue : queues_) {
    queue.packets.clear();
    queue.bytes = 0;
  }
  pushed_.notify_all();
  popped_.notify_all();
}

void StreamQueues::Resume() {
  std::lock_guard lock(mutex_);
  interrupted_ = false;
}

void StreamQueues::SetActive(std::size_t stream, bool active) {
  std::lock_guard lock(mutex_);
  if (stream >= queues_.size()) return;
  Queue& queue = queues_[stream];
  queue.active = active;
  if (!active) {
    queue.packets.clear();
    queue.bytes = 0;
  }
  popped_.notify_all();
}

bool StreamQueues::IsActive(std::size_t stream) const {
  std::lock_guard lock(mutex_);
  return stream < queues_.size() && queues_[stream].active;
}

std::size_t StreamQueues::Packets(std::size_t stream) const {
  std::lock_guard lock(mutex_);
  return stream < queues_.size() ? queues_[stream].packets.size() : 0;
}

std::size_t StreamQueues::Bytes(std::size_t stream) const {
  std::lock_guard lock(mutex_);
  return stream < queues_.size() ? queues_[stream].bytes : 0;
}

}  // namespace orves::codecs
