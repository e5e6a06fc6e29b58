#pragma once

namespace PRT
{

// The common base of objects that present an external module to the runtime.
class ExternalBase
{
public:
    virtual ~ExternalBase() = default;
};

} // namespace PRT
