#include "PluginTestFixture.h"

#include "platform/core/Log.h"

#include <dirent.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

using Manager = CLumoPluginManager;

// The plug-in names in the order the file system lists the plug-in folder.
std::vector<std::string> directoryOrder(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d))
        if (std::string n = e->d_name; n.ends_with(".lumo"))
            names.push_back(n.substr(0, n.size() - 5));
    closedir(d);
    return names;
}

using PluginManager = PluginTestFixture;

TEST_F(PluginManager, PathsComeFromTheProgramNotTheLibrary) {
    EXPECT_EQ(Manager::GetToolMoudleName(), (m_dir / "LumoCore").wstring());
    EXPECT_EQ(Manager::GetToolModuleDirectory(), m_dir.path().wstring() + L"/");
    lumo::setProgramPathForTesting(L"LumoCore");
    EXPECT_EQ(Manager::GetToolModuleDirectory(), L"LumoCore") << "no separator: the whole name";
    EXPECT_EQ(Manager::DIR_PLUGIN_MODULE, L"plugins/");
    EXPECT_EQ(Manager::FMASK_PLUGIN_MODULE, L"*.lumo");
    EXPECT_EQ(Manager::CONFIG_FILE_NAME, L"lumoconf.ini");
}

TEST_F(PluginManager, LoadsInDirectoryOrderAndUnloadsInTheSameOrder) {
    installPlugin("alpha.lumo");
    installPlugin("beta.lumo");
    writeConfig("[alpha]\ngreeting=hello\n");
    ASSERT_TRUE(Manager::create());
    EXPECT_EQ(Manager::hPluginInstance.size(), 2u);

    std::vector<std::string> expected;
    for (const auto& name : directoryOrder(m_dir / "plugins"))
        expected.push_back(name == "alpha" ? "load alpha hello" : "load beta same-instance");
    for (const auto& name : directoryOrder(m_dir / "plugins"))
        expected.push_back("unload " + name);
    Manager::destroy();
    EXPECT_EQ(probeEvents(), expected);
    EXPECT_EQ(Manager::instance, nullptr);
}

TEST_F(PluginManager, SkipsDirectoriesNonLibrariesAndLibrariesWithoutLoadEntry) {
    installPlugin("alpha.lumo");
    installPlugin("noentry.lumo");
    std::filesystem::create_directory(m_dir / "plugins" / "x.lumo");
    m_dir.write("plugins/text.lumo", "this is not a library");
    m_dir.write("plugins/empty.lumo", "");
    installPlugin("beta.lumo", "beta.lumo.disabled");

    std::vector<std::string> warnings;
    lumo::log::setSink([&](lumo::log::Level level, std::string_view text) {
        if (level == lumo::log::Level::Warning)
            warnings.emplace_back(text);
    });
    ASSERT_TRUE(Manager::create());
    lumo::log::setSink({});
    ASSERT_EQ(Manager::hPluginInstance.size(), 1u);
    EXPECT_NE(GetProcAddress(Manager::hPluginInstance[0], "LUMO_LoadPluginModule"), nullptr);
    Manager::destroy();
    EXPECT_EQ(probeEvents(), (std::vector<std::string>{"load alpha (none)", "unload alpha"}))
        << "the module without a load entry point is never called";

    // Each file skipped is named, with the loader's own reason.
    ASSERT_EQ(warnings.size(), 3u);
    const std::string plugins = (m_dir / "plugins").string();
    for (const std::string& expected :
         {"plug-in not loaded: " + plugins + "/empty.lumo: file too short",
          "plug-in not loaded: " + plugins + "/text.lumo: ",
          "plug-in " + plugins + "/noentry.lumo skipped: it has no LUMO_LoadPluginModule"})
        EXPECT_EQ(std::count_if(warnings.begin(), warnings.end(),
                                [&](const std::string& w) { return w.starts_with(expected); }),
                  1)
            << expected;
}

TEST_F(PluginManager, MissingPluginDirectoryLoadsNothing) {
    std::filesystem::remove(m_dir / "plugins");
    ASSERT_TRUE(Manager::create());
    EXPECT_TRUE(Manager::hPluginInstance.empty());
}

TEST_F(PluginManager, SecondCreateReturnsFalseAndChangesNothing) {
    installPlugin("alpha.lumo");
    ASSERT_TRUE(Manager::create());
    Manager* first = Manager::instance;
    EXPECT_FALSE(Manager::create());
    EXPECT_EQ(Manager::instance, first);
    EXPECT_EQ(Manager::hPluginInstance.size(), 1u);
}

TEST_F(PluginManager, GetInstanceBeforeCreateCreatesTheManager) {
    installPlugin("beta.lumo");
    writeConfig("[s]\nk=v\n");
    Manager* manager = Manager::getInstance();
    ASSERT_NE(manager, nullptr);
    std::wstring value;
    EXPECT_TRUE(manager->getOption(L"s", L"k", L"", value)) << "options were read";
    EXPECT_EQ(probeEvents(), std::vector<std::string>{"load beta same-instance"})
        << "modules were loaded";
    EXPECT_FALSE(Manager::create());
    EXPECT_EQ(Manager::getInstance(), manager);
}

TEST_F(PluginManager, AfterDestroyNothingBringsTheManagerBack) {
    installPlugin("alpha.lumo");
    ASSERT_TRUE(Manager::create());
    Manager::destroy();
    EXPECT_EQ(Manager::getInstance(), nullptr) << "a late caller finds no manager";
    EXPECT_EQ(Manager::getInstance(), nullptr);
    EXPECT_EQ(probeEvents(), (std::vector<std::string>{"load alpha (none)", "unload alpha"}))
        << "no plug-in is loaded again";
    ASSERT_TRUE(Manager::create()) << "only an explicit create starts a new one";
    EXPECT_NE(Manager::getInstance(), nullptr);
}

TEST_F(PluginManager, OptionWrittenByAnUnloadEntryPointReachesTheFile) {
    installPlugin("beta.lumo");
    writeConfig("[old.plugin]\nkept=1\n");
    ASSERT_TRUE(Manager::create());
    Manager::destroy();
    EXPECT_EQ(config(), "[beta]\nunloaded=yes\n[old.plugin]\nkept=1\n");
}

TEST_F(PluginManager, DestroyWithoutInstanceDoesNothing) {
    Manager::destroy();
    EXPECT_EQ(config(), "") << "nothing written";
}

} // namespace
