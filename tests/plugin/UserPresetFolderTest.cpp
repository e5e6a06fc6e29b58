#include "plugin/UserPresetFolder.h"
#include "tests/plugin/ScopedEnvironmentVariable.h"
#include "tests/plugin/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

TEST(UserPresetFolder, FollowsXdgConfigHomeElseDotConfigInHome)
{
    TemporaryFolder home;
    TemporaryFolder config;
    const auto homeConfig = home.path().getChildFile(".config");
    const auto configPath = config.path().getFullPathName().toStdString();

    const struct
    {
        std::optional<std::string> xdgConfigHome;
        juce::File expectedBase;
    } cases[] = {
        { configPath, config.path() },
        { std::nullopt, homeConfig },
        { std::string(), homeConfig },
        { std::string("relative/config"), homeConfig },
    };

    const ScopedEnvironmentVariable homeVariable("HOME", home.path().getFullPathName().toStdString());
    for (const auto& c : cases)
    {
        const ScopedEnvironmentVariable xdg("XDG_CONFIG_HOME", c.xdgConfigHome);
        EXPECT_EQ(Quillmore::getUserPresetFolder(),
                  c.expectedBase.getChildFile("ZarnPeloq").getChildFile("Quillmore").getChildFile("User Presets"))
            << c.xdgConfigHome.value_or("(unset)");
    }
    EXPECT_FALSE(homeConfig.exists()) << "asking for the folder must not create it";
}
