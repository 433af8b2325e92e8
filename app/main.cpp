#include "app/run.h"

int main(int argc, char *argv[])
{
    return ct::run(argc, argv);
}
