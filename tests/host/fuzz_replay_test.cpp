// Replays every input of the fuzz regression corpus and the seeds through the fuzz target
// bodies, here under the host sanitizers (the fuzz preset does the same with libFuzzer).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzTargets.h"

namespace fs = std::filesystem;

TEST(FuzzReplay, EveryRegressionAndSeedInputRunsCleanly) {
  struct {
    const char* name;
    int (*run)(const std::uint8_t*, std::size_t);
  } targets[] = {{"lzh", fuzz::Lzh},    {"package", fuzz::Package},         {"ini", fuzz::Ini},
                 {"bmp", fuzz::Bmp},    {"description", fuzz::Description}, {"load", fuzz::Load},
                 {"paint", fuzz::Paint}};
  int inputs = 0;
  for (auto& t : targets)
    for (const char* kind : {"regressions", "corpus"}) {
      fs::path dir = fs::path(DASKEL_SOURCE_DIR) / "tests/fuzz" / kind / t.name;
      ASSERT_TRUE(fs::is_directory(dir)) << dir;
      for (const auto& entry : fs::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(t.run(data.data(), data.size()), 0);
        ++inputs;
      }
    }
  EXPECT_GT(inputs, 20);
}
