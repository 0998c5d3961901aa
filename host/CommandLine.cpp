#include "CommandLine.h"

#include "platform/core/Utf8.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int EXIT_USAGE = 2;

// The name the program was started as, for messages ("lumocore", "LumoCore").
std::string g_programName = "lumocore";

std::string helpText() {
    const std::string& name = g_programName;
    return "Usage: " + name +
           " [OPTION]... [BOOK]\n"
           "Reads Japanese e-books in the Aozora Bunko text format; opens BOOK when given.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "      --         take what follows as the book, even if it begins with '-'\n"
           "\n"
           "Qt's own options (-platform NAME, -style NAME, -reverse, ...) are taken too.\n"
           "\n"
           "Settings and reading positions are kept in lumoconf.ini: beside the program\n"
           "when its folder is writable and already holds that file (a portable copy),\n"
           "else in $XDG_CONFIG_HOME/lumocore/ (~/.config/lumocore/).\n";
}

} // namespace

void CLumoCoreCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) {
    if (!pszParam)
        return;
    if (bFlag && !m_optionsEnded) {
        // The framework hands options over without their first '-'.
        const std::wstring option(pszParam);
        if (option == L"-")
            m_optionsEnded = true;
        else if (option == L"h" || option == L"-help")
            m_request = Request::Help;
        else if (option == L"-version")
            m_request = Request::Version;
        else if (m_unknownOption.IsEmpty())
            m_unknownOption = (L"-" + option).c_str();
        return;
    }
    const std::wstring name = bFlag ? L"-" + std::wstring(pszParam) : std::wstring(pszParam);
    // The book's path names its reading position: a name relative to the
    // current folder would not find it again from another one.
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(lumo::toFsPath(name), error);
    const std::wstring book = error ? name : lumo::fromFsPath(full.lexically_normal());
    CCommandLineInfo::ParseParam(book.c_str(), FALSE, bLast);
}

std::optional<int> answerInformationRequest(int argc, char** argv) {
    if (argc > 0 && argv[0]) {
        const std::string invoked(argv[0]);
        g_programName = invoked.substr(invoked.rfind('/') + 1);
    }
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc && argv[i]; ++i)
        arguments.push_back(lumo::fromUtf8(argv[i]));
    CWinApp::SetCommandLineArguments(std::move(arguments));
    CLumoCoreCommandLineInfo commandLine;
    AfxGetApp()->ParseCommandLine(commandLine);
    switch (commandLine.m_request) {
    case CLumoCoreCommandLineInfo::Request::Help:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case CLumoCoreCommandLineInfo::Request::Version:
        std::printf("LumoCore %s\n", LUMO_VERSION);
        return 0;
    case CLumoCoreCommandLineInfo::Request::Run:
        break;
    }
    return std::nullopt;
}

int refuseUnknownOption(const CString& option) {
    std::fprintf(stderr, "%s: unknown option '%s'\nTry '%s --help' for more information.\n",
                 g_programName.c_str(), lumo::toUtf8(option.str()).c_str(), g_programName.c_str());
    return EXIT_USAGE;
}
