// Length-limited canonical Huffman codes as LZX stores them.

#include "chm/huffman.h"

#include <gtest/gtest.h>

using namespace orvex;

namespace {

// The Kraft sum of the lengths in units of 2^-maxLength: complete codes
// sum to exactly 1 << maxLength.
uint64_t KraftSum(const std::vector<uint8_t>& lengths, int maxLength) {
  uint64_t sum = 0;
  for (uint8_t length : lengths)
    if (length) sum += uint64_t(1) << (maxLength - length);
  return sum;
}

}  // namespace

TEST(Huffman, SkewedFrequenciesStayWithinTheLimitAndComplete) {
  // Fibonacci frequencies make the deepest possible tree: 30 symbols would
  // need codes of 29 bits without the limit.
  std::vector<uint32_t> frequencies(40, 0);
  uint32_t a = 1, b = 1;
  for (int i = 0; i < 30; ++i) {
    frequencies[size_t(i) + 5] = a;
    const uint32_t next = a + b;
    a = b;
    b = next;
  }
  for (int limit : {16, 15, 7}) {
    SCOPED_TRACE(limit);
    std::vector<uint32_t> limited = frequencies;
    if (limit == 7) limited.resize(8);  // the aligned-offset tree's size
    const std::vector<uint8_t> lengths = HuffmanLengths(limited, limit);
    for (size_t i = 0; i < limited.size(); ++i) {
      EXPECT_LE(lengths[i], limit);
      EXPECT_EQ(lengths[i] == 0, limited[i] == 0) << i;
    }
    EXPECT_EQ(KraftSum(lengths, limit), uint64_t(1) << limit);
  }
}

TEST(Huffman, OneUsedSymbolStillMakesACompleteCodeAndCodesArePrefixFree) {
  std::vector<uint32_t> one(10, 0);
  one[0] = 5;
  EXPECT_EQ(KraftSum(HuffmanLengths(one, 16), 16), 1u << 16);
  one[0] = 0;
  one[7] = 3;
  const std::vector<uint8_t> lengths = HuffmanLengths(one, 16);
  EXPECT_EQ(lengths[7], 1);
  EXPECT_EQ(KraftSum(lengths, 16), 1u << 16);
  EXPECT_EQ(KraftSum(HuffmanLengths(std::vector<uint32_t>(5, 0), 16), 16), 0u);

  // Canonical: shorter codes first, then by symbol; no code a prefix of another.
  const std::vector<uint8_t> mixed = {3, 3, 2, 0, 2, 3, 3};
  const std::vector<uint32_t> codes = HuffmanCodes(mixed);
  EXPECT_EQ(codes[2], 0b00u);
  EXPECT_EQ(codes[4], 0b01u);
  EXPECT_EQ(codes[0], 0b100u);
  EXPECT_EQ(codes[6], 0b111u);
  for (size_t i = 0; i < mixed.size(); ++i) {
    for (size_t j = 0; j < mixed.size(); ++j) {
      if (i != j && mixed[i] && mixed[j] && mixed[i] <= mixed[j]) {
        EXPECT_NE(codes[j] >> (mixed[j] - mixed[i]), codes[i]) << i << " " << j;
      }
    }
  }
}
