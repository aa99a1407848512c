// The user's folders come from absolute names only: a relative variable or
// home would put files wherever the program was started.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <pwd.h>
#include <unistd.h>

#include "platform/user_folders.h"

namespace {

// Sets or unsets a variable for the test's length.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(UserFolders, OnlyAbsoluteNamesCount)
{
    const std::string passwordHome = ::getpwuid(::getuid())->pw_dir;
    struct Case {
        std::optional<std::string> variable, home;
        std::string folder;
    };
    const Case cases[] = {
        {"/x/cache", "/h", "/x/cache"},
        {"cache", "/h", "/h/.cache"},
        {"", "/h", "/h/.cache"},
        {std::nullopt, std::nullopt, passwordHome + "/.cache"},
        {"relative", "also/relative", passwordHome + "/.cache"},
        {std::nullopt, "", passwordHome + "/.cache"},
    };
    for (const Case& c : cases) {
        ScopedVariable variable("XDG_CACHE_HOME", c.variable), home("HOME", c.home);
        EXPECT_EQ(platform::UserFolder("XDG_CACHE_HOME", ".cache"), c.folder)
            << c.variable.value_or("(unset)") << " " << c.home.value_or("(unset)");
    }
}

}  // namespace
