// Finding LZX matches in one reset interval: hash chains over the bytes
// seen so far, the three repeated offsets, and lazy evaluation (a match is
// put off by one byte when the next position has a better one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace orvex {

// A literal (length 1, value the byte) or a match (length 2 to 257, value
// the formatted offset: 0 to 2 repeat the last three offsets, anything
// else is the distance plus 2).
struct LzxItem {
  uint32_t length;
  uint32_t value;
};

// The last three match distances, as the decoder keeps them: a match with
// a new distance pushes it in front, a repeat moves its distance to front.
struct LzxRepeatedOffsets {
  size_t distance[3] = {1, 1, 1};

  void Use(uint32_t formattedOffset) {
    if (formattedOffset == 1) {
      std::swap(distance[0], distance[1]);
    } else if (formattedOffset == 2) {
      std::swap(distance[0], distance[2]);
    } else if (formattedOffset >= 3) {
      distance[2] = distance[1];
      distance[1] = distance[0];
      distance[0] = formattedOffset - 2;
    }
  }
};

constexpr int kLzxMinMatch = 2;
constexpr int kLzxMaxMatch = 257;

// The items that rebuild data[0, size); none crosses a 32 KB frame and no
// distance exceeds the window less 3.
std::vector<LzxItem> FindLzxMatches(const uint8_t* data, size_t size, int windowBits);

}  // namespace orvex
