#pragma once

#include "PagePainter.h"

namespace yomite {

struct RowFrame;

// Horizontal writing (横書き): display lines are rows from the top of the
// text area, ruby above its base, the link line under the row.
class HorizontalPainter : public PagePainter {
public:
    using PagePainter::PagePainter;

    LayoutMetrics layoutFor(const RECT& textRect) const override;
    int hitTestLink(POINT point) const override;

protected:
    RECT slot(int i) const override;
    RECT lineBand(const RECT& slot) const override;
    RECT mergeBand(int i) const override;
    RECT remainder(int rows) const override;
    POINT forwardShift() const override;
    void drawLine(CDC* dc, int displayLine, const RECT& band) const override;

private:
    // A row of the page as the full notation's painter takes it.
    RowFrame rowFrame(const RECT& row) const;
    void drawBasicLine(CDC* dc, int displayLine, RECT row) const;
};

} // namespace yomite
