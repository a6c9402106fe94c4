// The loaders' fuzz property as a fixed-seed loop, for builds without libFuzzer.

#include <gtest/gtest.h>

#include <random>

#include "../../fuzz/loader_roundtrip.h"

namespace quill::fuzz {
namespace {

TEST(LoaderRoundTrip, FixedSeedRandomInputs) {
  RoundTripContext context;
  std::mt19937 rng(20261205);
  const char alphabet[] = {'\r', '\n', '\0', 'a', ' ', '\t', '\xff'};
  for (int round = 0; round < 400; ++round) {
    std::vector<std::uint8_t> data(rng() % (round % 50 == 0 ? 70000 : 300));
    for (auto& byte : data)
      byte = rng() % 3 == 0 ? static_cast<std::uint8_t>(rng()) : static_cast<std::uint8_t>(alphabet[rng() % 7]);
    const std::string error = CheckRoundTrip(context, data.data(), data.size());
    ASSERT_EQ(error, "") << "round " << round;
  }
}

}  // namespace
}  // namespace quill::fuzz
