// Our own DMOs as any DMO host sees them: the interfaces and pages they
// serve, their persisted parameter blocks, type negotiation and the output
// loop with the incomplete flag.
#include <gtest/gtest.h>

#include <vector>

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/dmo/DmoGuids.h"
#include "soundproc/dmo/OwnDmos.h"
#include "soundproc/stages/PersistedBlock.h"
#include "tests/unit/soundproc_dmo/DmoTestDoubles.h"

namespace zmsp::test {
namespace {

ComPtr<IMediaObject> Upmixer() {
  ComPtr<IMediaObject> dmo;
  EXPECT_EQ(dmo::CreateUpmixerDmo(IID_IMediaObject, dmo.PutVoid()), S_OK);
  return dmo;
}

ComPtr<IMediaObject> Stretcher() {
  ComPtr<IMediaObject> dmo;
  EXPECT_EQ(dmo::CreateTimeStretcherDmo(IID_IMediaObject, dmo.PutVoid()), S_OK);
  return dmo;
}

const DMO_MEDIA_TYPE* Dmo(const MediaType& type) {
  return reinterpret_cast<const DMO_MEDIA_TYPE*>(&type.Get());
}

// Feeds `samples` (when any) and drains the output in pieces of at most `room`
// bytes; returns the bytes out and counts the pieces that said "incomplete".
std::size_t FeedAndDrain(IMediaObject* dmo, std::vector<std::int16_t> samples, DWORD room,
                         int* incompletePieces = nullptr) {
  ComPtr<IMediaBuffer> in;
  if (!samples.empty()) {
    const auto bytes = static_cast<DWORD>(samples.size() * 2);
    SampleMediaBuffer::CreateView(reinterpret_cast<BYTE*>(samples.data()), bytes, bytes, in.Put());
    EXPECT_EQ(dmo->ProcessInput(0, in.Get(), 0, 0, 0), S_OK);
  }
  std::size_t total = 0;
  for (int guard = 0; guard < 10000; ++guard) {
    std::vector<BYTE> block(room);
    ComPtr<IMediaBuffer> out;
    SampleMediaBuffer::CreateView(block.data(), 0, room, out.Put());
    DMO_OUTPUT_DATA_BUFFER piece{out.Get(), 0, 0, 0};
    DWORD status = 0;
    EXPECT_TRUE(SUCCEEDED(dmo->ProcessOutput(0, 1, &piece, &status)));
    DWORD length = 0;
    out->GetBufferAndLength(nullptr, &length);
    total += length;
    if ((piece.dwStatus & DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE) == 0) break;
    if (incompletePieces != nullptr) ++*incompletePieces;
  }
  return total;
}

TEST(OwnDmos, ServeTheirInterfacesClassIdsAndPages) {
  const std::pair<ComPtr<IMediaObject>, std::pair<CLSID, CLSID>> dmos[] = {
      {Upmixer(), {dmo::kUpmixerDmo, dmo::kUpmixerPage}},
      {Stretcher(), {dmo::kTimeStretcherDmo, dmo::kTimeStretcherPage}},
  };
  for (const auto& [object, ids] : dmos) {
    ComPtr<IPersistStream> persist;
    ComPtr<ISpecifyPropertyPages> pages;
    ASSERT_EQ(object->QueryInterface(IID_IPersistStream, persist.PutVoid()), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_ISpecifyPropertyPages, pages.PutVoid()), S_OK);
    CLSID id{};
    persist->GetClassID(&id);
    EXPECT_TRUE(guids::Same(id, ids.first));
    CAUUID list{};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    ASSERT_EQ(list.cElems, 1u);
    EXPECT_TRUE(guids::Same(list.pElems[0], ids.second));
    CoTaskMemFree(list.pElems);
  }
}

TEST(OwnDmos, ParameterBlocksRoundTripByteForByteAndOutOfRangeIsRefused) {
  auto upmixer = Upmixer();
  std::vector<BYTE> block(68);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<BYTE>(i * 7);
  const std::pair<std::size_t, std::uint32_t> words[] = {{3, 1}, {11, 1}, {13, 6}, {14, 5}, {16, 7}};
  for (const auto& [word, value] : words) std::memcpy(block.data() + word * 4, &value, 4);
  ASSERT_EQ(WritePersistedBlock(upmixer.Get(), block.data(), block.size()), S_OK);
  std::vector<BYTE> saved(68);
  ASSERT_EQ(ReadPersistedBlock(upmixer.Get(), saved.data(), saved.size()), S_OK);
  EXPECT_EQ(saved, block);
  std::vector<BYTE> bad = block;
  bad[14 * 4] = 6;  // no seventh mode
  EXPECT_EQ(WritePersistedBlock(upmixer.Get(), bad.data(), bad.size()), E_INVALIDARG);
  ASSERT_EQ(ReadPersistedBlock(upmixer.Get(), saved.data(), saved.size()), S_OK);
  EXPECT_EQ(saved, block);

  auto stretcher = Stretcher();
  const BYTE fast[4] = {0x10, 0x27, 0, 0};  // 10000
  const BYTE tooFast[4] = {0x11, 0x27, 0, 0};
  BYTE speed[4] = {};
  ASSERT_EQ(WritePersistedBlock(stretcher.Get(), fast, 4), S_OK);
  EXPECT_EQ(WritePersistedBlock(stretcher.Get(), tooFast, 4), E_INVALIDARG);
  ASSERT_EQ(ReadPersistedBlock(stretcher.Get(), speed, 4), S_OK);
  EXPECT_EQ(std::memcmp(speed, fast, 4), 0);
}

TEST(OwnDmos, UpmixerOffersItsOutputLayoutsOnceTheInputIsSet) {
  auto dmo = Upmixer();
  const MediaType six = Wave(6, 48000, 16, true, 0x3F);
  EXPECT_EQ(dmo->SetOutputType(0, Dmo(six), 0), DMO_E_TYPE_NOT_SET);
  EXPECT_EQ(dmo->SetInputType(0, Dmo(Wave(3)), 0), DMO_E_TYPE_NOT_ACCEPTED);
  EXPECT_EQ(dmo->SetInputType(0, Dmo(Wave(2, 48000, 32)), 0), DMO_E_TYPE_NOT_ACCEPTED);
  ASSERT_EQ(dmo->SetInputType(0, Dmo(Wave(2)), 0), S_OK);
  const DWORD masks[] = {0x33, 0x3F, 0x13F, 0xFF};
  for (DWORD i = 0; i < 4; ++i) {
    DMO_MEDIA_TYPE offered{};
    ASSERT_EQ(dmo->GetOutputType(0, i, &offered), S_OK);
    WAVEFORMATEXTENSIBLE wave;
    std::memcpy(&wave, offered.pbFormat, sizeof(wave));
    EXPECT_EQ(wave.dwChannelMask, masks[i]);
    EXPECT_EQ(dmo->SetOutputType(0, &offered, DMO_SET_TYPEF_TEST_ONLY), S_OK);
    FreeMediaType(reinterpret_cast<AM_MEDIA_TYPE&>(offered));
  }
  DMO_MEDIA_TYPE none{};
  EXPECT_EQ(dmo->GetOutputType(0, 4, &none), DMO_E_NO_MORE_ITEMS);
  EXPECT_EQ(dmo->SetOutputType(0, Dmo(Wave(6, 44100, 16, true, 0x3F)), 0), DMO_E_TYPE_NOT_ACCEPTED);
}

TEST(OwnDmos, OutputComesInPiecesWhileMoreIsPendingAndInputWaitsForIt) {
  auto dmo = Upmixer();
  ASSERT_EQ(dmo->SetInputType(0, Dmo(Wave(2)), 0), S_OK);
  ASSERT_EQ(dmo->SetOutputType(0, Dmo(Wave(6, 48000, 16, true, 0x3F)), 0), S_OK);
  std::vector<std::int16_t> samples(2 * 1000, 100);
  ComPtr<IMediaBuffer> held;
  SampleMediaBuffer::CreateView(reinterpret_cast<BYTE*>(samples.data()), 4000, 4000, held.Put());
  ASSERT_EQ(dmo->ProcessInput(0, held.Get(), 0, 0, 0), S_OK);
  DWORD status = 0;
  ASSERT_EQ(dmo->GetInputStatus(0, &status), S_OK);
  EXPECT_EQ(status & DMO_INPUT_STATUSF_ACCEPT_DATA, 0u);
  EXPECT_EQ(dmo->ProcessInput(0, held.Get(), 0, 0, 0), DMO_E_NOTACCEPTING);
  dmo->Flush();

  int incomplete = 0;
  // 1000 frames of 12 bytes into pieces of 250 frames (plus a partial frame of room).
  EXPECT_EQ(FeedAndDrain(dmo.Get(), samples, 250 * 12 + 5, &incomplete), 1000u * 12);
  EXPECT_EQ(incomplete, 3);
  ASSERT_EQ(dmo->GetInputStatus(0, &status), S_OK);
  EXPECT_EQ(status, static_cast<DWORD>(DMO_INPUT_STATUSF_ACCEPT_DATA));
}

TEST(OwnDmos, StretcherOutputLengthFollowsTheSpeedAndADiscontinuityEndsTheStream) {
  auto dmo = Stretcher();
  const BYTE speed[4] = {0xDC, 0x05, 0, 0};  // 1500
  ASSERT_EQ(WritePersistedBlock(dmo.Get(), speed, 4), S_OK);
  const MediaType stereo = Wave(2, 44100);
  ASSERT_EQ(dmo->SetInputType(0, Dmo(stereo), 0), S_OK);
  ASSERT_EQ(dmo->SetOutputType(0, Dmo(stereo), 0), S_OK);
  // Two seconds in buffers of a fifth of a second; the held-back end comes
  // out after the discontinuity.
  std::size_t out = 0;
  for (int i = 0; i < 10; ++i) out += FeedAndDrain(dmo.Get(), std::vector<std::int16_t>(2 * 8820, 500), 8192);
  ASSERT_EQ(dmo->Discontinuity(0), S_OK);
  out += FeedAndDrain(dmo.Get(), {}, 8192);
  EXPECT_NEAR(static_cast<double>(out / 4), 88200 / 1.5, 88200 / 1.5 * 0.01);
}

}  // namespace
}  // namespace zmsp::test
