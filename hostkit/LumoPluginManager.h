#pragma once

#include "HostkitExport.h"
#include "platform/core/types.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CExtendToolManager;
class CLumoDocumentManager;
class CString;

// The single object through which the host program and every plug-in module
// reach the framework. It owns the option store (read from "lumoconf.ini"
// beside the program when it is created, written back when it is destroyed)
// and loads the "*.lumo" modules of the plug-in directory.
//
// Plug-in contract: a module exports LUMO_LoadPluginModule (called once right
// after loading; getInstance() then returns the manager being created) and
// optionally LUMO_UnloadPluginModule (called at shutdown in load order, before
// the option store is written). Modules are never released.
class HOSTKIT_API CLumoPluginManager {
public:
    using OptionSection = std::map<std::wstring, std::wstring>;
    using OptionMap = std::map<std::wstring, OptionSection>;

    virtual ~CLumoPluginManager();
    CLumoPluginManager(const CLumoPluginManager&) = delete;
    CLumoPluginManager& operator=(const CLumoPluginManager&) = delete;

    // Creates the singleton, reads the options and loads the plug-ins. False,
    // doing nothing, when the instance already exists.
    static bool create();
    // Unload entry points, then the registries are deleted, the configuration
    // file is written and the instance cleared. Nothing happens without an instance.
    static void destroy();
    // The instance; created on first use. Null once destroy() has run (the
    // program is ending): a late caller must cope rather than load every
    // plug-in again. Only an explicit create() makes a new manager then.
    static CLumoPluginManager* getInstance();
    // Tests that start the program again in one process: forgets the loaded
    // modules and the last destroy(), as a new process would.
    static void resetForTesting();

    // Full path of the running program (not of this library).
    static std::wstring GetToolMoudleName();
    // The program's directory with its trailing separator; a name without a
    // separator is returned whole.
    static std::wstring GetToolModuleDirectory();

    // The document-type registry, created on first request with the built-in
    // "DEFAULT" type; the same object afterwards.
    CLumoDocumentManager* getDocumentManager();
    // The tool registry, created on first request.
    CExtendToolManager* getExtendToolManager();

    // Option store. The string forms set `value` to the default first and
    // return true only when section and key exist.
    bool getOption(const std::wstring& section, const std::wstring& key,
                   const std::wstring& defaultValue, std::wstring& value);
    // Decimal text (leading spaces and a sign accepted, stops at the first
    // non-digit, no digits give 0); the default when the key is missing.
    bool getOption(const std::wstring& section, const std::wstring& key, int defaultValue,
                   int& value);
    bool getOption(const std::wstring& section, const std::wstring& key,
                   const std::wstring& defaultValue, CString& value);
    // Creates the section when missing; always true.
    bool writeOption(const std::wstring& section, const std::wstring& key,
                     const std::wstring& value);
    bool writeOption(const std::wstring& section, const std::wstring& key, int value);

    // Writing between start and exit. The file is always written at exit;
    // besides, the main frame writes it a few seconds after the options last
    // changed, so an end that skips the exit path (a killed process, a lost
    // display) loses at most those seconds.
    //
    // Called whenever a write changes the store (a new section or key, or
    // another value); an empty function stops the calls.
    void setOptionsChangedHandler(std::function<void()> handler);
    // Writes the configuration file when the store changed since it was read
    // or last written; nothing otherwise. False (and logged) when the file
    // could not be written; the changes then stay pending.
    bool saveChangedOptions();

    static CLumoPluginManager* instance;
    // Modules whose load entry point was called, in loading order.
    static std::vector<HMODULE> hPluginInstance;
    static const std::wstring CONFIG_FILE_NAME;
    static const std::wstring DIR_PLUGIN_MODULE;
    static const std::wstring FMASK_PLUGIN_MODULE;

protected:
    int loadPluginObject();
    void unloadPluginObject();
    void loadOption();
    void saveOption();

private:
    CLumoPluginManager();

    OptionMap optionMap;
    bool optionsChanged = false;
    std::function<void()> optionsChangedHandler;
    std::unique_ptr<CLumoDocumentManager> documentManager;
    std::unique_ptr<CExtendToolManager> extendToolManager;
};
