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

// A request the host refuses for what the user gave it (a text a parameter does not take, a damaged
// input file): the user's to mend, like a malformed command line, and so reported with the same exit
// status.
class InputError : public HostError
{
public:
    using HostError::HostError;
};
} // namespace Quillmore::Host
