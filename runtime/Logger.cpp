#include "runtime/Logger.h"

#include "runtime/Platform.h"
#include "runtime/String.h"

namespace PRT
{
namespace
{
Logger consoleLoggerInstance{&consoleOutput};
LoggerInterface* consoleLoggerPointer = &consoleLoggerInstance;

const char* levelName(int32_t level)
{
    static const char* const names[] = {"[INFO]", "[WARNING]", "[ERROR]"};
    if (level < LogInfo || level > LogError)
        return "[UNKNOWN]";
    return names[level];
}
} // namespace

void consoleOutput(int32_t level, const char* text)
{
    String line;
    line.append(levelName(level));
    line.append("\t");
    line.append(text);
    line.append("\n");
    getPlatform()->printMessage(line.c_str());
}

Logger& consoleLogger()
{
    consoleLoggerInstance.setOutputCallback(&consoleOutput);
    return consoleLoggerInstance;
}

LoggerInterface** consoleLoggerSlot()
{
    return &consoleLoggerPointer;
}

} // namespace PRT
