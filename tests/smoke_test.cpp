// The worked example of the whole program: minimise x1 + 2x2 subject to x1 + x2 = 2, x1 - x2 < 1.
#include <gtest/gtest.h>

#include "test_support.h"

TEST(Program, WorkedExampleReachesItsOptimum) {
    program_run run = run_with_keys("\n1 2\n1 1 = 2\n1 -1 < 1\nq\n\n\n\n\n\n");
    EXPECT_NE(run.screen.find("x2\t0\t1\t-1/2\t1/2\t\n\nx1\t1\t0\t1/2\t3/2\t\n\n"),
              std::string::npos);
    EXPECT_NE(run.screen.find("\t0\t0\t-1/2\t5/2\t\n"), std::string::npos);
    EXPECT_NE(run.screen.find("\nSoluzione Ottima!\nPremetere INVIO per terminare... "),
              std::string::npos);
    EXPECT_EQ(run.status, -1);
}
