#pragma once

#include <stdexcept>

namespace Quillmore::Host
{
// A request the host cannot carry out (missing file, unloadable plug-in, unknown parameter ...); the
// message is meant for the user.
class HostError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
} // namespace Quillmore::Host
