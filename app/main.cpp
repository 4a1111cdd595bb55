#include "Startup.h"

int main(int argc, char** argv)
{
    return quarn::runQuarn(argc, argv);
}
