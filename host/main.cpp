#include "CommandLine.h"
#include "LumoCoreApp.h"

// The one application object.
CLumoCoreApp theApp;

int main(int argc, char** argv) {
    if (const auto status = answerInformationRequest(argc, argv))
        return *status;
    return AfxWinMain(argc, argv);
}
