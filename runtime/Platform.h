#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace PRT
{

// Every allocation, byte copy and console print of the runtime and the patch goes through the one
// process-wide platform object, so that a host can route them elsewhere.
class PlatformInterface
{
public:
    constexpr PlatformInterface() = default;
    virtual ~PlatformInterface() = default;

    PlatformInterface(const PlatformInterface&) = delete;
    PlatformInterface& operator=(const PlatformInterface&) = delete;

    virtual void printMessage(const char* text) = 0;
    virtual void printErrorMessage(const char* text) = 0;

    virtual void* malloc(size_t bytes) = 0;
    virtual void* calloc(size_t count, size_t size) = 0;
    virtual void* realloc(void* pointer, size_t bytes) = 0;
    virtual void free(void* pointer) = 0;

    virtual void* memcpy(void* destination, const void* source, size_t bytes) = 0;
    virtual void* memmove(void* destination, const void* source, size_t bytes) = 0;
    virtual void* memset(void* destination, int value, size_t bytes) = 0;
    virtual size_t strlen(const char* text) = 0;
    virtual int strcmp(const char* a, const char* b) = 0;
    virtual char* strcpy(char* destination, const char* source) = 0;

    // One overload per C integer type, so that every integer argument finds an exact match whether
    // the 64-bit types are long or long long on this platform.
    virtual int toString(char* buffer, size_t size, const void* value) = 0;
    virtual int toString(char* buffer, size_t size, unsigned long long value) = 0;
    virtual int toString(char* buffer, size_t size, unsigned long value) = 0;
    virtual int toString(char* buffer, size_t size, long long value) = 0;
    virtual int toString(char* buffer, size_t size, long value) = 0;
    virtual int toString(char* buffer, size_t size, unsigned int value) = 0;
    virtual int toString(char* buffer, size_t size, int value) = 0;
    virtual int toString(char* buffer, size_t size, float value) = 0;

    [[noreturn]] virtual void abort() = 0;

    // Kind 0 throws std::out_of_range, any other kind std::runtime_error.
    [[noreturn]] virtual void error(int kind, const char* text) = 0;
    virtual void assertTrue(bool condition, const char* text) = 0;

    // True for exactly one caller per platform object: the first one to report a list error.
    bool claimErrorReport() { return !errorReported.exchange(true, std::memory_order_relaxed); }
    bool hasReportedError() const { return errorReported.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> errorReported{false};
};

// Forwards to the C run-time library and standard output.
class PlatformInterfaceStdLib : public PlatformInterface
{
public:
    constexpr PlatformInterfaceStdLib() = default;

    void printMessage(const char* text) override;
    void printErrorMessage(const char* text) override;

    void* malloc(size_t bytes) override;
    void* calloc(size_t count, size_t size) override;
    void* realloc(void* pointer, size_t bytes) override;
    void free(void* pointer) override;

    void* memcpy(void* destination, const void* source, size_t bytes) override;
    void* memmove(void* destination, const void* source, size_t bytes) override;
    void* memset(void* destination, int value, size_t bytes) override;
    size_t strlen(const char* text) override;
    int strcmp(const char* a, const char* b) override;
    char* strcpy(char* destination, const char* source) override;

    int toString(char* buffer, size_t size, const void* value) override;
    int toString(char* buffer, size_t size, unsigned long long value) override;
    int toString(char* buffer, size_t size, unsigned long value) override;
    int toString(char* buffer, size_t size, long long value) override;
    int toString(char* buffer, size_t size, long value) override;
    int toString(char* buffer, size_t size, unsigned int value) override;
    int toString(char* buffer, size_t size, int value) override;
    int toString(char* buffer, size_t size, float value) override;

    [[noreturn]] void abort() override;
    [[noreturn]] void error(int kind, const char* text) override;
    void assertTrue(bool condition, const char* text) override;
};

// The process-wide platform object. Installed during static initialisation (constant-initialised, so
// usable from any other static initialiser); replaced only before any engine runs.
PlatformInterface* getPlatform();
void setPlatform(PlatformInterface* platform);

} // namespace PRT
