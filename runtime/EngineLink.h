#pragma once

namespace PRT
{

class EngineInterface;
class PatcherEventTarget;

// A patcher's way back to the engine, and to its parent patcher (null for a top-level patcher). The
// engine sets both when it installs a patcher; a parent sets them for the children it creates.
class EngineLink
{
public:
    virtual ~EngineLink() = default;

    virtual EngineInterface* getEngine() { return engine; }

    PatcherEventTarget* getParentLink() const { return parentLink; }
    void setEngineAndParent(EngineInterface* newEngine, PatcherEventTarget* newParentLink)
    {
        engine = newEngine;
        parentLink = newParentLink;
    }

private:
    EngineInterface* engine = nullptr;
    PatcherEventTarget* parentLink = nullptr;
};

} // namespace PRT
