#pragma once

#include <memory>

namespace PRT
{

class PatcherInterface;

// A patcher's ownership always ends through its destroy().
struct PatcherDestroyer
{
    void operator()(PatcherInterface* patcher) const;
};

using PatcherPtr = std::unique_ptr<PatcherInterface, PatcherDestroyer>;

} // namespace PRT
