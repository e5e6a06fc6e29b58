#pragma once

namespace PRT
{

// One query for debugging probes; every patcher answers null, the engine and core object pass it on.
class ProbingInterface
{
public:
    virtual ~ProbingInterface() = default;
    virtual void* getProbe() = 0;
};

} // namespace PRT
