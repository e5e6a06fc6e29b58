#pragma once

namespace PRT
{

class PatcherInterface;
class PlatformInterface;

// Makes a new top-level patcher, owned by the caller.
using PatcherFactoryFunction = PatcherInterface* (*)();

// The seam between the runtime and the generated patch: the runtime declares these two functions and
// the patch library (patch/core) defines them, so that runtime/ never depends on the patch.
// createPatcher is called only by CoreObject's default constructor, which is defined inline: only a
// binary that default-constructs a core object (the plug-in) needs the patch library at link time.
// Tests and tools hand CoreObject a factory of their own.

// A new generated top-level patcher (null while the patch has none to offer).
PatcherInterface* createPatcher();
// Installs the host's platform object as the process-wide one and returns createPatcher.
PatcherFactoryFunction getPatcherFactory(PlatformInterface* platform);

} // namespace PRT
