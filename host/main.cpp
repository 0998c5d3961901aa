#include "LumoCoreApp.h"

// The one application object.
CLumoCoreApp theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
