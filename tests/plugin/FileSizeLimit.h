#pragma once

#include <csignal>
#include <sys/resource.h>

// Lets this process write files no larger than a given number of bytes, as a nearly full disk does: a
// write that crosses the limit stores only what fits and reports the shorter count. Writes beyond it
// fail (the signal that would end the process for it is ignored meanwhile).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }

    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous {};
    void (*previousHandler)(int) = nullptr;
};
