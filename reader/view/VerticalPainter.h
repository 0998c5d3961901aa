#pragma once

#include "PagePainter.h"

namespace yomite {

struct ColumnFrame;
struct DisplayLineNotation;

// Vertical writing (縦書き): display lines are columns read top to bottom,
// the first at the right of the text area, ruby to the right of its base,
// the link line at the column's left. The layout is the horizontal one: a
// column holds as many layout columns as the text area is tall.
class VerticalPainter : public PagePainter {
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
    ColumnFrame columnFrame(const RECT& band) const;
    // Display line `n` in either notation.
    DisplayLineNotation lineAt(int n) const;
};

} // namespace yomite
