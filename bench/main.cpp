#include "bench/benchmain.h"

int main(int argc, char *argv[])
{
    return tb::benchMain(argc, argv);
}
