#pragma once

#include "HostkitExport.h"

#include "platform/ui/View.h"

// The view of the built-in "DEFAULT" type: it draws nothing, so the frame's
// background shows.
class HOSTKIT_API CLumoCoreView : public CView {
    DECLARE_DYNCREATE(CLumoCoreView)
protected:
    void OnDraw(CDC* pDC) override {}
};
