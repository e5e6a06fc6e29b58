#pragma once

#include "runtime/ParameterEventInterfaceImpl.h"

namespace PRT
{

class Engine;
class EngineCore;

// The engine side of a parameter interface bound to one engine. While active it describes the
// parameters of the engine's patcher; once deactivated (its engine destroyed) it never touches the
// engine again and describes an empty patcher.
template <typename EngineType>
class EngineParameterInterface : public ParameterEventInterfaceImpl
{
public:
    ParameterIndex getNumParameters() override;
    const char* getParameterName(ParameterIndex index) override;
    const char* getParameterId(ParameterIndex index) override;
    void getParameterInfo(ParameterIndex index, ParameterInfo* info) override;
    ParameterValue convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value) override;
    ParameterValue convertFromNormalizedParameterValue(ParameterIndex index, ParameterValue normalizedValue) override;
    ParameterValue constrainParameterValue(ParameterIndex index, ParameterValue value) override;

protected:
    explicit EngineParameterInterface(EngineType& owner) : engine(&owner) {}

    EngineType* engine;
};

extern template class EngineParameterInterface<EngineCore>;
extern template class EngineParameterInterface<Engine>;

} // namespace PRT
