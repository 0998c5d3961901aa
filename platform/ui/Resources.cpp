#include "platform/ui/Resources.h"

#include "platform/core/Module.h"

#include <algorithm>

namespace lumo {
namespace {

struct ResourceStore {
    std::vector<std::pair<HINSTANCE, ResourceSet>> modules; // registration order

    ResourceSet* find(HINSTANCE module) {
        for (auto& [handle, set] : modules)
            if (handle == module)
                return &set;
        return nullptr;
    }
};

ResourceStore& store() {
    static ResourceStore s;
    return s;
}

HINSTANCE normalised(HINSTANCE module) {
    return module ? module : programModuleHandle();
}

// Looks in one module, or along the chain when module is null.
template <typename Map>
const typename Map::mapped_type* lookup(HINSTANCE module, UINT id, Map ResourceSet::*member) {
    auto& s = store();
    auto inModule = [&](HINSTANCE handle) -> const typename Map::mapped_type* {
        ResourceSet* set = s.find(handle);
        if (!set)
            return nullptr;
        auto found = (set->*member).find(id);
        return found == (set->*member).end() ? nullptr : &found->second;
    };
    if (module)
        return inModule(module);
    if (auto* first = inModule(programModuleHandle()))
        return first;
    for (auto& entry : s.modules)
        if (auto* found = inModule(entry.first))
            return found;
    return nullptr;
}

} // namespace

void registerResources(HINSTANCE module, ResourceSet resources) {
    module = normalised(module);
    auto& s = store();
    ResourceSet* existing = s.find(module);
    if (!existing) {
        s.modules.emplace_back(module, std::move(resources));
        return;
    }
    for (auto& [id, v] : resources.menus)
        existing->menus[id] = std::move(v);
    for (auto& [id, v] : resources.dialogs)
        existing->dialogs[id] = std::move(v);
    for (auto& [id, v] : resources.strings)
        existing->strings[id] = std::move(v);
    for (auto& [id, v] : resources.accelerators)
        existing->accelerators[id] = std::move(v);
    for (auto& [id, v] : resources.icons)
        existing->icons[id] = std::move(v);
}

void unregisterResources(HINSTANCE module) {
    module = normalised(module);
    auto& modules = store().modules;
    modules.erase(std::remove_if(modules.begin(), modules.end(),
                                 [&](const auto& entry) { return entry.first == module; }),
                  modules.end());
}

ResourceRegistration::ResourceRegistration(HINSTANCE module, ResourceSet resources) {
    registerResources(module, std::move(resources));
}

const std::vector<MenuTemplateItem>* findMenuResource(HINSTANCE module, UINT id) {
    return lookup(module, id, &ResourceSet::menus);
}
const DialogTemplate* findDialogResource(HINSTANCE module, UINT id) {
    return lookup(module, id, &ResourceSet::dialogs);
}
const std::wstring* findStringResource(HINSTANCE module, UINT id) {
    return lookup(module, id, &ResourceSet::strings);
}
const std::vector<AcceleratorEntry>* findAcceleratorResource(HINSTANCE module, UINT id) {
    return lookup(module, id, &ResourceSet::accelerators);
}
const IconImage* findIconResource(HINSTANCE module, UINT id) {
    return lookup(module, id, &ResourceSet::icons);
}

std::wstring loadString(UINT id, HINSTANCE module) {
    const std::wstring* text = findStringResource(module, id);
    return text ? *text : std::wstring();
}

} // namespace lumo

HINSTANCE AfxGetInstanceHandle() {
    return lumo::programModuleHandle();
}

HACCEL LoadAccelerators(HINSTANCE hInstance, LPCWSTR lpTableName) {
    if (!IS_INTRESOURCE(lpTableName))
        return nullptr;
    const auto id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpTableName));
    return reinterpret_cast<HACCEL>(const_cast<std::vector<lumo::AcceleratorEntry>*>(
        lumo::findAcceleratorResource(hInstance, id)));
}

HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName) {
    if (!IS_INTRESOURCE(lpIconName))
        return nullptr;
    const auto id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpIconName));
    return reinterpret_cast<HICON>(
        const_cast<lumo::IconImage*>(lumo::findIconResource(hInstance, id)));
}
