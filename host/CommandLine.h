#pragma once

#include "platform/ui/WinApp.h"

#include <optional>
#include <string>

// The program's command line: an optional book, --help (-h), --version, and
// "--" before a book whose name begins with "-". Qt takes its own options
// (-platform, -style, -reverse, ...) out before the program reads the rest;
// any other option is refused. The book is taken by its full path.
class CLumoCoreCommandLineInfo : public CCommandLineInfo {
public:
    enum class Request { Run, Help, Version };

    void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override;

    Request m_request = Request::Run;
    // The first option the program does not know, as it was typed; empty when
    // there is none.
    CString m_unknownOption;

private:
    bool m_optionsEnded = false;
};

// Answers --help and --version on standard output before Qt starts, so they
// work without a display. The exit status, or nullopt when the program should
// start. `argv` is main's, Qt's options still in it; its first entry names the
// program in later messages.
std::optional<int> answerInformationRequest(int argc, char** argv);

// Says on standard error that `option` is unknown; the exit status for it.
int refuseUnknownOption(const CString& option);
