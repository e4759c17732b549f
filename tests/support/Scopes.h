#pragma once
// Process-wide settings changed for the length of a test's scope and put back
// as they were.

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "strings/LocalizedStrings.h"

namespace TestSupport {

class LanguageScope {
public:
    explicit LanguageScope(int language) : saved(LocalizedStrings::currentLanguage)
    {
        LocalizedStrings::currentLanguage = language;
    }
    ~LanguageScope() { LocalizedStrings::currentLanguage = saved; }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    int saved;
};

#ifndef _WIN32
// Environment variables of this process (POSIX).
class EnvironmentScope {
public:
    EnvironmentScope() = default;
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

    void Set(const char* name, const std::string& value)
    {
        Save(name);
        setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name)
    {
        Save(name);
        unsetenv(name);
    }
    ~EnvironmentScope()
    {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->second)
                setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                unsetenv(it->first.c_str());
        }
    }

private:
    void Save(const char* name)
    {
        const char* old = std::getenv(name);
        saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};
#endif

}  // namespace TestSupport
