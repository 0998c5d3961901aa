#include "LumoCoreDoc.h"

IMPLEMENT_DYNCREATE(CLumoCoreDoc, CDocument)
