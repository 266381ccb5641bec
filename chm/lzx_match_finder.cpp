#include "chm/lzx_match_finder.h"

#include "chm/lzx_encoder.h"

#include <algorithm>
#include <cstring>

namespace orvex {

namespace {

constexpr int kHashBits = 15;
constexpr int kMaxChain = 48;    // candidates tried per position
constexpr int kNiceLength = 96;  // a match this long ends the search
constexpr int kLazyLength = 48;  // a match this long is taken at once
constexpr int kGoodLength = 24;  // past a match this long, only a few more candidates
constexpr int kGoodChain = 8;

struct Candidate {
  uint32_t length = 0;
  uint32_t value = 0;
  int score = 0;
};

// Rough bits a match saves over literals: lengths of text literals cost
// about 8 bits, a match symbol about 8 plus its footer bits.
int Score(uint32_t length, uint32_t formattedOffset) {
  int footer = 0;
  if (formattedOffset >= 4) {
    int bit = 31 - __builtin_clz(formattedOffset);
    footer = std::min(bit - 1, 17);
  }
  const int cost = formattedOffset < 3 ? 6 : 9 + footer;
  return int(length) * 8 - cost;
}

class Finder {
 public:
  Finder(const uint8_t* input, size_t inputSize, int windowBits)
      : data(input),
        size(inputSize),
        maxDistance((size_t(1) << windowBits) - 3),
        head(size_t(1) << kHashBits, -1),
        previous(inputSize, -1) {}

  std::vector<LzxItem> Run() {
    std::vector<LzxItem> items;
    items.reserve(size / 4);
    size_t pos = 0;
    Candidate current = Best(pos);
    while (pos < size) {
      if (current.length < kLzxMinMatch) {
        items.push_back({1, data[pos]});
        current = Best(++pos);
        continue;
      }
      if (current.length < kLazyLength && pos + 1 < size && (pos + 1) % kLzxFrameSize != 0) {
        const Candidate next = Best(pos + 1);
        if (next.score > current.score + 8) {
          items.push_back({1, data[pos]});
          ++pos;
          current = next;
          continue;
        }
      }
      items.push_back({current.length, current.value});
      repeated.Use(current.value);
      pos += current.length;
      current = Best(pos);
    }
    return items;
  }

 private:
  uint32_t Hash(size_t pos) const {
    const uint32_t bytes = uint32_t(data[pos]) << 16 | uint32_t(data[pos + 1]) << 8 | data[pos + 2];
    return (bytes * 2654435761u) >> (32 - kHashBits);
  }

  void InsertUpTo(size_t end) {
    end = std::min(end, size >= 2 ? size - 2 : 0);
    for (; inserted < end; ++inserted) {
      const uint32_t hash = Hash(inserted);
      previous[inserted] = head[hash];
      head[hash] = int32_t(inserted);
    }
  }

  uint32_t MatchLength(size_t pos, size_t from, uint32_t limit) const {
    uint32_t length = 0;
    while (length + 8 <= limit) {
      uint64_t a, b;
      std::memcpy(&a, data + pos + length, 8);
      std::memcpy(&b, data + from + length, 8);
      if (a != b) return length + uint32_t(__builtin_ctzll(a ^ b) / 8);
      length += 8;
    }
    while (length < limit && data[pos + length] == data[from + length]) ++length;
    return length;
  }

  // The best match at pos under the present repeated offsets.
  Candidate Best(size_t pos) {
    Candidate best;
    if (pos >= size) return best;
    const size_t frameEnd = (pos / kLzxFrameSize + 1) * kLzxFrameSize;
    const uint32_t limit = uint32_t(std::min<size_t>({kLzxMaxMatch, frameEnd - pos, size - pos}));
    if (limit < kLzxMinMatch) return best;
    auto consider = [&](uint32_t length, uint32_t value) {
      if (length < kLzxMinMatch) return;
      const int score = Score(length, value);
      if (score > best.score) best = {length, value, score};
    };
    for (uint32_t slot = 0; slot < 3; ++slot) {
      const size_t distance = repeated.distance[slot];
      if (distance <= pos) consider(MatchLength(pos, pos - distance, limit), slot);
    }
    InsertUpTo(pos);
    if (best.length < limit && limit >= 3 && pos + 2 < size) {
      int chain = kMaxChain;
      for (int32_t from = head[Hash(pos)]; from >= 0 && chain-- > 0; from = previous[size_t(from)]) {
        const size_t distance = pos - size_t(from);
        if (distance > maxDistance) break;
        if (data[size_t(from) + best.length] != data[pos + best.length] && best.length < limit) continue;
        const uint32_t length = MatchLength(pos, size_t(from), limit);
        if (length >= 3) consider(length, uint32_t(distance) + 2);
        if (best.length >= uint32_t(kGoodLength)) chain = std::min(chain, kGoodChain);
        if (length >= uint32_t(kNiceLength) || length == limit) break;
      }
    }
    InsertUpTo(pos + 1);
    return best;
  }

  const uint8_t* data;
  size_t size;
  size_t maxDistance;
  std::vector<int32_t> head;
  std::vector<int32_t> previous;
  size_t inserted = 0;
  LzxRepeatedOffsets repeated;
};

}  // namespace

std::vector<LzxItem> FindLzxMatches(const uint8_t* data, size_t size, int windowBits) {
  return Finder(data, size, windowBits).Run();
}

}  // namespace orvex
