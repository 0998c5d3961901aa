#pragma once

#include "DocumentTypeInformation.h"
#include "HostkitExport.h"

#include <map>
#include <string>
#include <vector>

class CDocument;

// The name of the built-in type: the host's empty document and view.
inline constexpr wchar_t DEFAULT_DOCUMENT_TYPE[] = L"DEFAULT";

// The document types the host knows: the built-in "DEFAULT" type and every
// type a plug-in registers. A type ties a unique name to file extensions and
// to its document, view and frame classes; the registry picks the type that
// opens a file and asks the main frame to switch to a new document and view.
class HOSTKIT_API CLumoDocumentManager {
public:
    CLumoDocumentManager();
    // The templates stay with the application.
    virtual ~CLumoDocumentManager();
    CLumoDocumentManager(const CLumoDocumentManager&) = delete;
    CLumoDocumentManager& operator=(const CLumoDocumentManager&) = delete;

    // Stores a copy of the record and creates its single-document template,
    // which the application owns from then on. False for a duplicate name.
    bool registerDocumentInformation(SDocumentTypeInformation* info);
    // Copies the stored record (with its template); false, `out` untouched,
    // for an unknown name.
    bool getDocumentTypeInformation(std::wstring typeName, SDocumentTypeInformation& out);
    // The type whose template created `document`; false for none.
    bool getDocumentTypeInformation(CDocument* document, SDocumentTypeInformation& out);
    // All type names in key order; returns their count.
    int getRegisteredDocumentList(std::vector<std::wstring>& names);
    // The type claiming the file's extension (case-sensitive, dot included;
    // the first matching type in name order), or an empty string.
    std::wstring findTargetDocumentInformation(const wchar_t* fileName);
    // Sends WM_USER+1 to the main frame so that it shows `path` with a new
    // document and view of the type (found by extension when the name is
    // empty). False when there is no main frame or no such type; the result
    // does not say whether the document could read the file.
    bool switchDocumentView(std::wstring typeName, const wchar_t* path);

protected:
    void registerInternalDocument();

private:
    // The records stay put once stored: the main frame is handed their address.
    std::map<std::wstring, SDocumentTypeInformation> documentTypeMap;
};
