#include "setup/module1.h"

namespace ct {

Module1 &module1()
{
    static Module1 state;
    return state;
}

} // namespace ct
