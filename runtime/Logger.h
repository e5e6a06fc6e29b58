#pragma once

#include <cstdint>

namespace PRT
{

enum LogLevel : int32_t
{
    LogInfo = 0,
    LogWarning = 1,
    LogError = 2
};

class LoggerInterface
{
public:
    virtual ~LoggerInterface() = default;
    virtual void log(int32_t level, const char* text) = 0;
};

// Formats "<level name>\t<text>\n" and prints it through the platform object (which adds its own
// line end).
void consoleOutput(int32_t level, const char* text);

class Logger : public LoggerInterface
{
public:
    using OutputCallback = void (*)(int32_t level, const char* text);

    constexpr explicit Logger(OutputCallback callback) : output(callback) {}

    void log(int32_t level, const char* text) override { output(level, text); }
    void setOutputCallback(OutputCallback callback) { output = callback; }

private:
    OutputCallback output;
};

// The process-wide console logger (constant-initialised, usable from static initialisers). Asking
// for it reinstalls the default console output.
Logger& consoleLogger();

// Address of the process-wide pointer to the console logger, the form in which it is published to
// external modules.
LoggerInterface** consoleLoggerSlot();

} // namespace PRT
