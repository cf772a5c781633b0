// The pins' queues: bounded by packets and bytes while a pin is blocked,
// with the starving-pin allowance, interruption and the end of the stream.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "codecs/common/StreamQueues.h"

namespace orves::codecs {
namespace {

using namespace std::chrono_literals;

constexpr QueueLimits kLimits{4, 1000, 8, 4000};

MediaPacket Packet(int stream, std::size_t bytes) {
  MediaPacket packet;
  packet.stream = stream;
  packet.data.assign(bytes, 0);
  return packet;
}

// Pushes on a thread; the future is ready once the push returned.
std::future<bool> PushAsync(StreamQueues& queues, MediaPacket packet) {
  return std::async(std::launch::async,
                    [&queues, p = std::move(packet)]() mutable { return queues.Push(std::move(p)); });
}

bool Blocked(std::future<bool>& push) { return push.wait_for(100ms) == std::future_status::timeout; }

TEST(StreamQueuesTest, FullByCountOrBytesBlocksUntilAPop) {
  struct Case {
    std::size_t bytes;
    std::size_t fits;
  };
  // Four small packets fill the count; two of 600 bytes pass the byte limit.
  for (const Case c : {Case{10, 4}, Case{600, 2}}) {
    StreamQueues queues(2, kLimits);
    queues.SetActive(1, false);  // a lone stream: no other pin can starve
    for (std::size_t i = 0; i < c.fits; ++i) ASSERT_TRUE(queues.Push(Packet(0, c.bytes)));
    auto push = PushAsync(queues, Packet(0, c.bytes));
    EXPECT_TRUE(Blocked(push));
    EXPECT_EQ(queues.Packets(0), c.fits);
    MediaPacket out;
    EXPECT_EQ(queues.Pop(0, out), PopResult::Packet);
    EXPECT_TRUE(push.get());
    EXPECT_EQ(queues.Packets(0), c.fits);
  }
}

TEST(StreamQueuesTest, APacketLargerThanTheLimitStillPasses) {
  StreamQueues queues(1, kLimits);
  EXPECT_TRUE(queues.Push(Packet(0, 5000)));
  EXPECT_EQ(queues.Bytes(0), 5000u);
}

TEST(StreamQueuesTest, AStarvingPinLetsAFullQueueGrowToTheHardLimitOnly) {
  StreamQueues queues(2, kLimits);
  // Stream 1 is active and empty: stream 0 grows past its soft limit...
  for (std::size_t i = 0; i < kLimits.hardPackets; ++i) ASSERT_TRUE(queues.Push(Packet(0, 10)));
  // ...but never past the hard one.
  auto push = PushAsync(queues, Packet(0, 10));
  EXPECT_TRUE(Blocked(push));
  EXPECT_EQ(queues.Packets(0), kLimits.hardPackets);
  queues.Interrupt();
  EXPECT_FALSE(push.get());
}

TEST(StreamQueuesTest, BlockedUntilTheStarvingPinIsFed) {
  StreamQueues queues(2, kLimits);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(queues.Push(Packet(0, 10)));
  ASSERT_TRUE(queues.Push(Packet(1, 10)));  // stream 1 no longer starves
  auto push = PushAsync(queues, Packet(0, 10));
  EXPECT_TRUE(Blocked(push));
  MediaPacket out;
  ASSERT_EQ(queues.Pop(1, out), PopResult::Packet);  // starves again
  EXPECT_TRUE(push.get());
}

TEST(StreamQueuesTest, InterruptWakesEveryoneAndEmptiesTheQueues) {
  StreamQueues queues(2, kLimits);
  auto pop = std::async(std::launch::async, [&] {
    MediaPacket out;
    return queues.Pop(1, out);
  });
  ASSERT_TRUE(queues.Push(Packet(0, 10)));
  EXPECT_EQ(pop.wait_for(100ms), std::future_status::timeout);
  queues.Interrupt();
  EXPECT_EQ(pop.get(), PopResult::Interrupted);
  EXPECT_EQ(queues.Packets(0), 0u);
  EXPECT_FALSE(queues.Push(Packet(0, 10)));  // until Resume
  queues.EndOfStream();                      // an end read before the seek is ignored
  queues.Resume();
  ASSERT_TRUE(queues.Push(Packet(0, 10)));
  MediaPacket out;
  EXPECT_EQ(queues.Pop(0, out), PopResult::Packet);
}

TEST(StreamQueuesTest, EndOfStreamDrainsFirstAndInactiveStreamsDrop) {
  StreamQueues queues(2, kLimits);
  ASSERT_TRUE(queues.Push(Packet(0, 10)));
  queues.SetActive(1, false);
  ASSERT_TRUE(queues.Push(Packet(1, 10)));
  EXPECT_EQ(queues.Packets(1), 0u);
  queues.EndOfStream();
  MediaPacket out;
  EXPECT_EQ(queues.Pop(0, out), PopResult::Packet);
  EXPECT_EQ(queues.Pop(0, out), PopResult::EndOfStream);
  EXPECT_EQ(queues.Pop(1, out), PopResult::EndOfStream);
}

}  // namespace
}  // namespace orves::codecs
