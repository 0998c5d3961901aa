#pragma once

// The program the reader view benchmarks run in-process, offscreen, with the
// reader registered as the loader would and the benchmark book open.

#include "reader/view/DavaroDiroView.h"

#include "host/LumoCoreApp.h"
#include "hostkit/MainFrame.h"
#include "reader/document/DavaroDiroDocument.h"

#include <filesystem>

struct BenchProgram {
    std::filesystem::path dir;
    std::filesystem::path book;
    CLumoCoreApp app;
    CMainFrame* frame = nullptr;

    CDavaroDiroView* view() const { return dynamic_cast<CDavaroDiroView*>(frame->GetActiveView()); }
    CDavaroDiroDocument* document() const { return view()->GetDocument(); }
};

// The running program; valid while the benchmarks run.
BenchProgram& benchProgram();
