#pragma once

#include <cstdint>

namespace PRT
{

class ParameterEventInterfaceImpl;

// A parameter interface's registration or removal, posted to the processing thread.
struct ServiceNotification
{
    enum Kind : int32_t
    {
        AddInterface = 1,
        RemoveInterface = 2
    };

    int32_t kind = AddInterface;
    ParameterEventInterfaceImpl* interface = nullptr; // not owned
};

} // namespace PRT
