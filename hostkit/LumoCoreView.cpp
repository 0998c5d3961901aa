#include "LumoCoreView.h"

IMPLEMENT_DYNCREATE(CLumoCoreView, CView)
