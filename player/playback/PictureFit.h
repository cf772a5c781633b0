#pragma once
// The picture layout inside the media panel `pnlMedia`: where `pnlMovie`
// (the picture, cropped width by source height), `pnlCaption` (the caption
// block around the picture's lower edge) and `pnlStateText` go. Integer
// arithmetic with truncating division, in the order the layout has always
// used, so the window sizes come out to the pixel.

namespace orves {

struct PanelBounds {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const PanelBounds&) const = default;
};

struct PictureFitInput {
  int mediaWidth = 0, mediaHeight = 0;  // pnlMedia's client size
  int margin = 3;                       // kept free around the picture in a window
  bool fullScreen = false;
  bool hasPicture = false;
  int displayWidth = 1;   // cropped source width
  int displayHeight = 1;  // source height plus the caption band when shown
  int sourceHeight = 1;
  int captionRise = 0;  // caption block above / below the picture's lower edge
  int captionBand = 0;
  int stateTextTop = 0;  // the skin's full-screen bar when it covers the picture
};

struct PictureFit {
  PanelBounds movie;
  PanelBounds caption;
  PanelBounds stateText;
};

inline constexpr int kStateTextPanelHeight = 20;

PictureFit FitPictureBounds(const PictureFitInput& in);

}  // namespace orves
