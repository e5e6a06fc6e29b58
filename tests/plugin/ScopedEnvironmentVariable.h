#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets or unsets an environment variable for the life of the object.
class ScopedEnvironmentVariable
{
public:
    ScopedEnvironmentVariable(const char* nameToSet, std::optional<std::string> value) : name(nameToSet)
    {
        if (const char* old = std::getenv(name))
            previous = old;
        apply(value);
    }
    ~ScopedEnvironmentVariable() { apply(previous); }

    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    void apply(const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }

    const char* name;
    std::optional<std::string> previous;
};
