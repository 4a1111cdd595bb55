// The program's own start-up, ended after the window's first paint.
#include "Startup.h"

int main(int argc, char** argv)
{
    quarn::StartOptions options;
    options.quitAfterFirstPaint = true;
    return quarn::runQuarn(argc, argv, options);
}
