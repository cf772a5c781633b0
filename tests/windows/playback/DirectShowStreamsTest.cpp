// Stream selection through IAMStreamSelect, with a test filter in a graph:
// Wine's own splitter offers no stream selector.
#include <gtest/gtest.h>

#include "player/playback/ComPtr_win32.h"
#include "player/playback/DirectShowStreams_win32.h"
#include "tests/windows/playback/PlaybackHost.h"
#include "tests/windows/playback/StreamSelectFilter.h"

namespace orves {
namespace {

using testing::ComApartment;
using testing::StreamSelectFilter;

class DirectShowStreamsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(com_.Result()));
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterGraph,
                               graph_.PutVoid()),
              S_OK);
  }

  ComApartment com_;
  StreamSelectFilter filter_{{L"Korean", L"English", L"해설"}};
  ComPtr<IFilterGraph> graph_;
};

TEST_F(DirectShowStreamsTest, ListsNamesAndSelectsThroughTheGraphsSelector) {
  ASSERT_EQ(graph_->AddFilter(&filter_, L"selector"), S_OK);
  DirectShowStreams streams(graph_.Get());
  ASSERT_TRUE(streams.Available());
  EXPECT_EQ(streams.Count(), 3);
  EXPECT_EQ(streams.Name(0), "Korean");
  EXPECT_EQ(streams.Name(2), "해설");
  EXPECT_TRUE(streams.Selected(0));
  EXPECT_FALSE(streams.Selected(1));
  EXPECT_EQ(streams.Select(2), S_OK);
  EXPECT_EQ(filter_.Enabled(), 2);
  EXPECT_FALSE(streams.Selected(0));
  EXPECT_TRUE(streams.Selected(2));
}

TEST_F(DirectShowStreamsTest, OutOfRangeNumbersSelectNothing) {
  ASSERT_EQ(graph_->AddFilter(&filter_, L"selector"), S_OK);
  DirectShowStreams streams(graph_.Get());
  for (int stream : {-1, 3, 1000}) {
    EXPECT_EQ(streams.Select(stream), E_INVALIDARG);
    EXPECT_EQ(streams.Name(stream), "");
    EXPECT_FALSE(streams.Selected(stream));
  }
  EXPECT_EQ(filter_.Enabled(), 0);
}

TEST_F(DirectShowStreamsTest, GraphWithoutSelectorHasNoStreams) {
  DirectShowStreams streams(graph_.Get());
  EXPECT_FALSE(streams.Available());
  EXPECT_EQ(streams.Count(), 0);
  EXPECT_EQ(streams.Select(0), E_INVALIDARG);
  EXPECT_EQ(streams.Name(0), "");
  DirectShowStreams none(nullptr);
  EXPECT_EQ(none.Count(), 0);
}

TEST_F(DirectShowStreamsTest, ReleasesEveryReferenceItTakes) {
  const LONG before = filter_.References();
  { DirectShowStreams streams(graph_.Get()); }
  ASSERT_EQ(graph_->AddFilter(&filter_, L"selector"), S_OK);
  const LONG inGraph = filter_.References();
  {
    DirectShowStreams streams(graph_.Get());
    for (int i = 0; i < 3; ++i) {
      streams.Name(i);
      streams.Selected(i);
    }
    EXPECT_GT(filter_.References(), inGraph);  // it holds the selector
  }
  EXPECT_EQ(filter_.References(), inGraph);
  graph_.Reset();
  EXPECT_EQ(filter_.References(), before);
}

}  // namespace
}  // namespace orves
