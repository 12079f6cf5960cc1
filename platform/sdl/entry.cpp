// The program's entry point on Linux, where the command line is UTF-8 already.
#include "platform/platform.h"

int main(int argc, char** argv) {
    return AfxProgramMain(argc, argv);
}
