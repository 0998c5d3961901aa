#pragma once

#include "HostkitExport.h"

#include "platform/ui/Document.h"

// The empty document of the built-in "DEFAULT" type, shown until a plug-in's
// document is opened.
class HOSTKIT_API CLumoCoreDoc : public CDocument {
    DECLARE_DYNCREATE(CLumoCoreDoc)
};
