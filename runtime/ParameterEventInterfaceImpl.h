#pragma once

#include "runtime/EventList.h"
#include "runtime/EventVariant.h"
#include "runtime/ParameterEventInterface.h"

namespace PRT
{

// The side of a parameter interface that the engine drives, at fixed points of every block.
class ParameterEventInterfaceImpl : public ParameterEventInterface
{
public:
    // Re-reads the parameter count and values after a patcher was installed.
    virtual void refreshParameterValues() = 0;
    // A value the patcher reported; kept per parameter (merged) until the next flush.
    virtual void notifyParameterValueChanged(const ParameterEvent& cause, ParameterIndex index,
                                             ParameterValue value) = 0;
    // Moves the events queued for the engine into its time-ordered list, none earlier than now.
    virtual void pullEvents(EventList& events, MillisecondTime now) = 0;
    virtual void flushParameterNotifications(MillisecondTime now) = 0;
    virtual void queueHandlerEvent(EventVariant&& event) = 0;
    // Whether message events of this tag reach anyone through this interface (see
    // EventHandler::takesMessage); those that do not are never queued for it.
    virtual bool takesMessage(MessageTag) { return true; }
    // Lets the handler know that events were queued for it.
    virtual void notifyHandler() = 0;
    virtual bool isActive() = 0;
    // Returns whether the interface was active.
    virtual bool deactivate() = 0;
    virtual void requestRemoval() = 0;
};

} // namespace PRT
