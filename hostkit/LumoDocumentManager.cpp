#include "LumoDocumentManager.h"

#include "LumoCoreDoc.h"
#include "LumoCoreView.h"
#include "MainFrame.h"
#include "MainFrameIds.h"

#include "platform/core/Module.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Document.h"
#include "platform/ui/WinApp.h"

CLumoDocumentManager::CLumoDocumentManager() {
    registerInternalDocument();
}

CLumoDocumentManager::~CLumoDocumentManager() = default;

bool CLumoDocumentManager::registerDocumentInformation(SDocumentTypeInformation* info) {
    if (!info || documentTypeMap.contains(info->typeName))
        return false;
    SDocumentTypeInformation& copy = documentTypeMap.emplace(info->typeName, *info).first->second;
    copy.docTemplate = new CSingleDocTemplate(copy.resourceId, copy.documentClass, copy.frameClass,
                                              copy.viewClass);
    if (CWinApp* app = AfxGetApp())
        app->AddDocTemplate(copy.docTemplate);
    return true;
}

bool CLumoDocumentManager::getDocumentTypeInformation(std::wstring typeName,
                                                      SDocumentTypeInformation& out) {
    auto found = documentTypeMap.find(typeName);
    if (found == documentTypeMap.end())
        return false;
    out = found->second;
    return true;
}

bool CLumoDocumentManager::getDocumentTypeInformation(CDocument* document,
                                                      SDocumentTypeInformation& out) {
    if (!document)
        return false;
    CDocTemplate* docTemplate = document->GetDocTemplate();
    for (const auto& [name, info] : documentTypeMap) {
        if (info.docTemplate == docTemplate) {
            out = info;
            return true;
        }
    }
    return false;
}

int CLumoDocumentManager::getRegisteredDocumentList(std::vector<std::wstring>& names) {
    names.clear();
    for (const auto& [name, info] : documentTypeMap)
        names.push_back(name);
    return static_cast<int>(names.size());
}

std::wstring CLumoDocumentManager::findTargetDocumentInformation(const wchar_t* fileName) {
    if (!fileName)
        return {};
    std::wstring_view name(fileName);
    std::wstring extension;
    for (size_t i = name.size(); i-- > 0;) {
        if (name[i] == PATH_SEPARATOR)
            break;
        if (name[i] == L'.') {
            extension = name.substr(i);
            break;
        }
    }
    if (extension.empty())
        return {};
    for (const auto& [typeName, info] : documentTypeMap)
        for (const auto& claimed : info.extensions)
            if (claimed == extension)
                return typeName;
    return {};
}

bool CLumoDocumentManager::switchDocumentView(std::wstring typeName, const wchar_t* path) {
    CWinApp* app = AfxGetApp();
    CWnd* mainWnd = app ? app->m_pMainWnd : nullptr;
    if (!mainWnd || !mainWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        return false;
    if (typeName.empty())
        typeName = findTargetDocumentInformation(path);
    auto found = documentTypeMap.find(typeName);
    if (typeName.empty() || found == documentTypeMap.end())
        return false;
    mainWnd->SendMessage(WM_SWITCH_DOCUMENT_VIEW, reinterpret_cast<WPARAM>(&found->second),
                         reinterpret_cast<LPARAM>(path));
    return true;
}

void CLumoDocumentManager::registerInternalDocument() {
    SDocumentTypeInformation info{};
    info.infoCode = 0;
    info.typeName = DEFAULT_DOCUMENT_TYPE;
    info.hModuleInstance = lumo::programModuleHandle();
    info.resourceId = 128;
    info.documentClass = RUNTIME_CLASS(CLumoCoreDoc);
    info.viewClass = RUNTIME_CLASS(CLumoCoreView);
    info.frameClass = RUNTIME_CLASS(CMainFrame);
    registerDocumentInformation(&info);
}
