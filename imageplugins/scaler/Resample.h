#pragma once

// The three resampling methods of the resize filter. Each takes both sizes
// afresh from the images and fills the destination at the size it really has.
// They read and write pixel rows directly (the kernel's layout), with results
// identical to reading every pixel through the bounds-checked accessors:
// where such a read would fail, the previous successful read is repeated.

class CPLImage;

namespace lumo::imaging {

void resampleNearest(CPLImage& source, CPLImage& destination);
void resampleBoxAverage(CPLImage& source, CPLImage& destination);
void resampleBilinear(CPLImage& source, CPLImage& destination);

// Double to int truncating toward zero, saturating instead of overflowing.
int truncToInt(double value);

} // namespace lumo::imaging
