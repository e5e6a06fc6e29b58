#include "runtime/ParameterInterfaceAsync.h"

#include "runtime/ParameterEventInterfaceImpl.h"

#include <utility>

namespace PRT
{

ParameterInterfaceAsync::ParameterInterfaceAsync(std::shared_ptr<ParameterEventInterfaceImpl> impl)
    : implementation(std::move(impl))
{
}

ParameterInterfaceAsync::~ParameterInterfaceAsync()
{
    // An inactive implementation has no engine to ask any more.
    implementation->requestRemoval();
}

ParameterIndex ParameterInterfaceAsync::getNumParameters()
{
    return implementation->getNumParameters();
}

const char* ParameterInterfaceAsync::getParameterName(ParameterIndex index)
{
    return implementation->getParameterName(index);
}

const char* ParameterInterfaceAsync::getParameterId(ParameterIndex index)
{
    return implementation->getParameterId(index);
}

void ParameterInterfaceAsync::getParameterInfo(ParameterIndex index, ParameterInfo* info)
{
    implementation->getParameterInfo(index, info);
}

ParameterValue ParameterInterfaceAsync::getParameterValue(ParameterIndex index)
{
    return implementation->getParameterValue(index);
}

void ParameterInterfaceAsync::setParameterValue(ParameterIndex index, ParameterValue value, MillisecondTime time)
{
    implementation->setParameterValue(index, value, time);
}

ParameterValue ParameterInterfaceAsync::getParameterNormalized(ParameterIndex index)
{
    return implementation->getParameterNormalized(index);
}

void ParameterInterfaceAsync::setParameterValueNormalized(ParameterIndex index, ParameterValue normalizedValue,
                                                          MillisecondTime time)
{
    implementation->setParameterValueNormalized(index, normalizedValue, time);
}

ParameterValue ParameterInterfaceAsync::convertToNormalizedParameterValue(ParameterIndex index, ParameterValue value)
{
    return implementation->convertToNormalizedParameterValue(index, value);
}

ParameterValue ParameterInterfaceAsync::convertFromNormalizedParameterValue(ParameterIndex index,
                                                                            ParameterValue normalizedValue)
{
    return implementation->convertFromNormalizedParameterValue(index, normalizedValue);
}

ParameterValue ParameterInterfaceAsync::constrainParameterValue(ParameterIndex index, ParameterValue value)
{
    return implementation->constrainParameterValue(index, value);
}

void ParameterInterfaceAsync::scheduleEvent(EventVariant event)
{
    implementation->scheduleEvent(std::move(event));
}

void ParameterInterfaceAsync::drainEvents()
{
    implementation->drainEvents();
}

} // namespace PRT
