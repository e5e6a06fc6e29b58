#include "tools/host/HostEnvironment.h"

#include <gtest/gtest.h>

// The tests run on the message thread of a host environment, as plug-ins must be driven from it.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    Quillmore::Host::HostEnvironment environment;
    return RUN_ALL_TESTS();
}
