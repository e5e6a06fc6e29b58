#include "runtime/EngineParameterInterface.h"

#include "runtime/Engine.h"

namespace PRT
{

template <typename EngineType>
ParameterIndex EngineParameterInterface<EngineType>::getNumParameters()
{
    return isActive() ? engine->getNumParameters() : 0;
}

template <typename EngineType>
const char* EngineParameterInterface<EngineType>::getParameterName(ParameterIndex index)
{
    return isActive() ? engine->getParameterName(index) : "";
}

template <typename EngineType>
const char* EngineParameterInterface<EngineType>::getParameterId(ParameterIndex index)
{
    return isActive() ? engine->getParameterId(index) : "";
}

template <typename EngineType>
void EngineParameterInterface<EngineType>::getParameterInfo(ParameterIndex index, ParameterInfo* info)
{
    if (isActive())
        engine->getParameterInfo(index, info);
}

template <typename EngineType>
ParameterValue EngineParameterInterface<EngineType>::convertToNormalizedParameterValue(ParameterIndex index,
                                                                                       ParameterValue value)
{
    return isActive() ? engine->convertToNormalizedParameterValue(index, value) : 0;
}

template <typename EngineType>
ParameterValue EngineParameterInterface<EngineType>::convertFromNormalizedParameterValue(ParameterIndex index,
                                                                                         ParameterValue normalizedValue)
{
    return isActive() ? engine->convertFromNormalizedParameterValue(index, normalizedValue) : 0;
}

template <typename EngineType>
ParameterValue EngineParameterInterface<EngineType>::constrainParameterValue(ParameterIndex index, ParameterValue value)
{
    return isActive() ? engine->constrainParameterValue(index, value) : value;
}

template class EngineParameterInterface<EngineCore>;
template class EngineParameterInterface<Engine>;

} // namespace PRT
