#pragma once

#include "patch/core/HashedText.h"

// The message kinds of the generated patch's interface objects.
namespace PRT::tags
{

inline constexpr HashedText setup{"setup"};             // sent: a number box or monitor announces itself
inline constexpr HashedText valin{"valin"};             // received: new value of a number box, toggle or slider
inline constexpr HashedText valout{"valout"};           // sent: the value it now holds
inline constexpr HashedText format{"format"};           // received: display format of a number box
inline constexpr HashedText listin{"listin"};           // received: message box content, or a request to output it
inline constexpr HashedText listout{"listout"};         // sent: a message box's new content
inline constexpr HashedText monitor{"monitor"};         // sent: values a signal monitor or scope reports
inline constexpr HashedText assign{"assign"};           // sent: a monitor value set from inside the patch
inline constexpr HashedText mode{"mode"};               // received: signal monitor output mode
inline constexpr HashedText sig{"sig"};                 // received: the value a signal monitor ramps to
inline constexpr HashedText startupbang{"startupbang"}; // received: fire a load-time object now
inline constexpr HashedText bangin{"bangin"};           // received: press a button
inline constexpr HashedText bangout{"bangout"};         // sent: a button was pressed
inline constexpr HashedText echoSpec{"EchoSpec"};       // sent: the top level's one message port

} // namespace PRT::tags
