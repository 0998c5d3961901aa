#pragma once

#include "platform/ui/CmdTarget.h"

// The command target of the reader's tool: command 32775 (the menu item
// "青空文庫リーダ") runs the settings dialog and re-applies the settings to
// the reader view shown in the main frame, keeping the reading position.
class CDavaroDiroToolCommandHandler : public CCmdTarget {
    DECLARE_DYNCREATE(CDavaroDiroToolCommandHandler)
public:
    CDavaroDiroToolCommandHandler();
    ~CDavaroDiroToolCommandHandler() override;

    void onReaderSettings();

protected:
    DECLARE_MESSAGE_MAP()
};
