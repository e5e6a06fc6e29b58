#pragma once

#include "runtime/Types.h"

#include <sstream>
#include <string>
#include <vector>

namespace PRT::test
{

// One recorded call as text: "<operation> <arguments>", the arguments separated by spaces.
template <typename... Arguments>
std::string callLine(const char* operation, const Arguments&... arguments)
{
    std::ostringstream line;
    line << operation;
    ((line << ' ' << arguments), ...);
    return line.str();
}

// Several values as one argument, "a,b,c" (bytes as numbers).
template <typename Value, typename Count>
std::string commaJoined(const Value* values, Count count)
{
    std::ostringstream text;
    for (Count i = 0; i < count; ++i)
        text << (i > 0 ? "," : "") << +values[i];
    return text.str();
}

// Writes every call it receives as one line, "<operation> <arguments> @<time>".
class CallLog
{
public:
    template <typename... Arguments>
    void record(const char* operation, MillisecondTime time, const Arguments&... arguments)
    {
        std::ostringstream stamp;
        stamp << '@' << time;
        lines.push_back(callLine(operation, arguments..., stamp.str()));
    }

    std::vector<std::string> lines;
};

} // namespace PRT::test
