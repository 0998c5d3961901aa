#include "LumoPluginManager.h"

#include "ExtendToolManager.h"
#include "LumoDocumentManager.h"

#include "platform/core/FileSearch.h"
#include "platform/core/Log.h"
#include "platform/core/Module.h"

CLumoPluginManager* CLumoPluginManager::instance = nullptr;
std::vector<HMODULE> CLumoPluginManager::hPluginInstance;
const std::wstring CLumoPluginManager::CONFIG_FILE_NAME = L"lumoconf.ini";
const std::wstring CLumoPluginManager::DIR_PLUGIN_MODULE =
    std::wstring(L"plugins") + PATH_SEPARATOR;
const std::wstring CLumoPluginManager::FMASK_PLUGIN_MODULE = L"*.lumo";

namespace {
using PluginEntryPoint = void (*)();

// Set by destroy(): the program is ending, and getInstance() must not bring
// the manager (and every plug-in) back for a message that arrives late.
bool g_destroyed = false;
} // namespace

CLumoPluginManager::CLumoPluginManager() {
    loadOption();
}

CLumoPluginManager::~CLumoPluginManager() {
    // The registries go first (the tool registry deletes the tools' command
    // targets), then the options are saved.
    documentManager.reset();
    extendToolManager.reset();
    saveOption();
}

CLumoDocumentManager* CLumoPluginManager::getDocumentManager() {
    if (!documentManager)
        documentManager = std::make_unique<CLumoDocumentManager>();
    return documentManager.get();
}

CExtendToolManager* CLumoPluginManager::getExtendToolManager() {
    if (!extendToolManager)
        extendToolManager = std::make_unique<CExtendToolManager>();
    return extendToolManager.get();
}

bool CLumoPluginManager::create() {
    if (instance)
        return false;
    g_destroyed = false;
    instance = new CLumoPluginManager();
    // Set before loading, so that a module's load entry point finds the
    // manager under construction instead of creating a second one.
    instance->loadPluginObject();
    return true;
}

void CLumoPluginManager::destroy() {
    if (!instance)
        return;
    instance->unloadPluginObject();
    delete instance;
    instance = nullptr;
    g_destroyed = true;
}

CLumoPluginManager* CLumoPluginManager::getInstance() {
    if (!instance && !g_destroyed)
        create();
    return instance;
}

void CLumoPluginManager::resetForTesting() {
    hPluginInstance.clear();
    g_destroyed = false;
}

std::wstring CLumoPluginManager::GetToolMoudleName() {
    wchar_t buffer[MAX_PATH];
    GetModuleFileName(nullptr, buffer, MAX_PATH);
    return buffer;
}

std::wstring CLumoPluginManager::GetToolModuleDirectory() {
    std::wstring name = GetToolMoudleName();
    size_t separator = name.rfind(PATH_SEPARATOR);
    return separator == std::wstring::npos ? name : name.substr(0, separator + 1);
}

int CLumoPluginManager::loadPluginObject() {
    const std::wstring directory = GetToolModuleDirectory() + DIR_PLUGIN_MODULE;
    lumo::FileSearch search(directory + FMASK_PLUGIN_MODULE);
    int count = 0;
    while (auto found = search.next()) {
        if (found->isDirectory())
            continue;
        const std::wstring path = directory + found->name;
        HMODULE module = LoadLibrary(path.c_str());
        if (!module) {
            lumo::log::warning("plug-in not loaded: " + lumo::moduleLoadError());
            continue;
        }
        auto load =
            reinterpret_cast<PluginEntryPoint>(GetProcAddress(module, "LUMO_LoadPluginModule"));
        if (!load) {
            lumo::log::warning(L"plug-in " + path + L" skipped: it has no LUMO_LoadPluginModule");
            continue;
        }
        load();
        hPluginInstance.push_back(module);
        ++count;
    }
    return count;
}

void CLumoPluginManager::unloadPluginObject() {
    // Modules stay loaded: objects their code created are destroyed later.
    for (HMODULE module : hPluginInstance) {
        auto unload =
            reinterpret_cast<PluginEntryPoint>(GetProcAddress(module, "LUMO_UnloadPluginModule"));
        if (unload)
            unload();
    }
}
