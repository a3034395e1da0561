#include <gtest/gtest.h>

#include <cstring>

#include "holder_process.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], quillo::platform::test::kHoldArgument) == 0) {
        return quillo::platform::test::holdNamedObject(argv[2]);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
