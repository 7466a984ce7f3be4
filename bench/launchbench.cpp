// The program's own start-up, ending as soon as the bars are painted: timed
// from outside, it measures launch to " Paint operation complete.". Prints the
// process's peak resident memory.

#include "appinfo.h"
#include "eventboundary.h"
#include "frmmain.h"
#include "modmain.h"

#include <QApplication>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    app::installIdentity();
    forms::eventboundary::enter(modMain::Main);
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::printf("peak resident memory:%s\n", line.substr(6).c_str());
        }
    }
    releaseFrmMain();
    return 0;
}
