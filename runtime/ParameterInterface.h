#pragma once

#include "runtime/ParameterInfo.h"
#include "runtime/Types.h"

namespace PRT
{

// Parameter access by index: what patchers, the engine's parameter view, parameter interfaces and
// the core object all offer.
class ParameterInterface
{
public:
    virtual ~ParameterInterface() = default;

    virtual ParameterIndex getNumParameters() = 0;
    virtual const char* getParameterName(ParameterIndex index) = 0;
    virtual const char* getParameterId(ParameterIndex index) = 0;
    // Fills info for a known index; leaves it untouched for any other.
    virtual void getParameterInfo(ParameterIndex index, ParameterInfo* info) = 0;
    virtual ParameterValue getParameterValue(ParameterIndex index) = 0;
    virtual void setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time) = 0;

    virtual ParameterValue getParameterNormalized(ParameterIndex index)
    {
        return convertToNormalizedParameterValue(index, getParameterValue(index));
    }

    virtual void setParameterValueNormalized(ParameterIndex index, ParameterValue normalizedValue,
                                             MillisecondTime time)
    {
        setParameterValue(index, convertFromNormalizedParameterValue(index, normalizedValue), time);
    }

    virtual ParameterValue convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value) = 0;
    virtual ParameterValue convertFromNormalizedParameterValue(ParameterIndex index,
                                                               ParameterValue normalizedValue) = 0;

    virtual ParameterValue constrainParameterValue(ParameterIndex, ParameterValue value) { return value; }
};

} // namespace PRT
