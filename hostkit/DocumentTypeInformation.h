#pragma once

#include "platform/core/types.h"

#include <string>
#include <vector>

class CDocTemplate;
struct CRuntimeClass;

// A document type's registration record. It crosses module boundaries by
// pointer and by reference, so its layout is part of the plug-in interface.
struct SDocumentTypeInformation {
    DWORD infoCode;            // the registering module's own value, never interpreted
    std::wstring typeName;     // unique key, e.g. "DEFAULT"
    std::wstring displayName;  // shown to the user
    HINSTANCE hModuleInstance; // module whose menu resource `resourceId` is loaded
    CDocTemplate* docTemplate; // set by the registry; ignored on input
    DWORD resourceId;          // template title string and the type's menu, if any
    CRuntimeClass* documentClass;
    CRuntimeClass* viewClass;
    CRuntimeClass* frameClass;
    std::vector<std::wstring> extensions; // each with its leading dot, case-sensitive
    DWORD userValue1;
    DWORD userValue2;
    DWORD userValue3;
    bool userFlag1;
    bool userFlag2;
    bool userFlag3;
};
