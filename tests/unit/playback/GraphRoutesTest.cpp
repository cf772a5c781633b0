// Which graph-building routes the movie control tries, when it keeps a graph
// of our own filters, and the picture size the layout gets from the picture
// aspect ratio.
#include <gtest/gtest.h>

#include "player/playback/GraphRoutes.h"

namespace orves {
namespace {

TEST(GraphRoutesTest, OwnFiltersComeFirstOnlyWhenWantedAndLoaded) {
  using R = GraphRoute;
  struct Case {
    bool ownDecoders, loaded;
    std::vector<R> routes;
  };
  const Case cases[] = {{true, true, {R::OwnFilters, R::RenderFile}},
                        {false, true, {R::RenderFile}},
                        {true, false, {R::RenderFile}},
                        {false, false, {R::RenderFile}}};
  for (const Case& c : cases) {
    EXPECT_EQ(GraphRoutesFor(c.ownDecoders, c.loaded), c.routes) << c.ownDecoders << c.loaded;
  }
  EXPECT_FALSE(KeepOwnGraph(0));
  EXPECT_TRUE(KeepOwnGraph(1));
}

TEST(GraphRoutesTest, ShownPictureSizeFollowsThePictureAspect) {
  struct Case {
    int width, height, x, y;
    PictureSize shown;
  };
  const Case cases[] = {
      {720, 576, 16, 9, {1024, 576}},                                        // anamorphic wide PAL
      {720, 576, 4, 3, {768, 576}},          {720, 480, 16, 9, {853, 480}},  // rounded to the nearest pixel
      {640, 480, 4, 3, {640, 480}},                                          // square pixels stay exactly
      {1920, 1080, 16, 9, {1920, 1080}},     {1440, 1080, 16, 9, {1920, 1080}},
      {720, 576, 0, 9, {720, 576}},                                  // unknown ratio: stored size
      {720, 576, 16, -9, {720, 576}},        {0, 0, 16, 9, {0, 0}},  // no picture
      {720, 576, 2000000000, 1, {720, 576}},                         // absurd ratio: stored size
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShownPictureSize(c.width, c.height, c.x, c.y), c.shown)
        << c.width << "x" << c.height << " " << c.x << ":" << c.y;
  }
}

}  // namespace
}  // namespace orves
