#include "rules/experiment.h"

namespace ct {

std::string dataFileNameFor(std::int16_t id)
{
    return std::to_string(id) + ".csv";
}

Module1 &module1()
{
    static Module1 state;
    return state;
}

} // namespace ct
