#include "chm/huffman.h"

#include <algorithm>
#include <numeric>

namespace orvex {

namespace {

// Huffman code lengths of the used symbols (frequencies > 0, at least two).
std::vector<uint8_t> TreeDepths(const std::vector<uint32_t>& frequencies, const std::vector<int>& used) {
  // Leaves sorted by frequency; merged nodes come out of a second queue in
  // increasing weight, so the two smallest are always at the queue fronts.
  std::vector<int> leaves = used;
  std::stable_sort(leaves.begin(), leaves.end(),
                   [&](int a, int b) { return frequencies[size_t(a)] < frequencies[size_t(b)]; });
  const size_t leafCount = leaves.size();
  std::vector<uint64_t> weight(2 * leafCount);
  std::vector<size_t> parent(2 * leafCount, 0);
  for (size_t i = 0; i < leafCount; ++i) weight[i] = frequencies[size_t(leaves[i])];
  size_t nextLeaf = 0, nextNode = leafCount, nodeCount = leafCount;
  auto takeSmallest = [&] {
    if (nextLeaf < leafCount && (nextNode >= nodeCount || weight[nextLeaf] <= weight[nextNode]))
      return nextLeaf++;
    return nextNode++;
  };
  while (nodeCount < 2 * leafCount - 1) {
    const size_t a = takeSmallest();
    const size_t b = takeSmallest();
    weight[nodeCount] = weight[a] + weight[b];
    parent[a] = parent[b] = nodeCount++;
  }
  std::vector<uint8_t> depth(2 * leafCount, 0);
  for (size_t node = nodeCount - 1; node-- > 0;) depth[node] = uint8_t(depth[parent[node]] + 1);
  std::vector<uint8_t> lengths(frequencies.size(), 0);
  for (size_t i = 0; i < leafCount; ++i) lengths[size_t(leaves[i])] = depth[i];
  return lengths;
}

}  // namespace

std::vector<uint8_t> HuffmanLengths(const std::vector<uint32_t>& frequencies, int maxLength) {
  std::vector<int> used;
  for (size_t i = 0; i < frequencies.size(); ++i)
    if (frequencies[i] > 0) used.push_back(int(i));
  std::vector<uint8_t> lengths(frequencies.size(), 0);
  if (used.empty()) return lengths;
  if (used.size() == 1) {
    lengths[size_t(used[0])] = 1;
    lengths[used[0] == 0 ? 1 : 0] = 1;
    return lengths;
  }
  // Too deep: flatten the frequencies and build again.
  std::vector<uint32_t> scaled = frequencies;
  for (;;) {
    lengths = TreeDepths(scaled, used);
    if (*std::max_element(lengths.begin(), lengths.end()) <= maxLength) return lengths;
    for (int symbol : used) scaled[size_t(symbol)] = (scaled[size_t(symbol)] >> 1) | 1;
  }
}

std::vector<uint32_t> HuffmanCodes(const std::vector<uint8_t>& lengths) {
  int longest = 0;
  for (uint8_t length : lengths) longest = std::max(longest, int(length));
  std::vector<uint32_t> countOfLength(size_t(longest) + 1, 0);
  for (uint8_t length : lengths)
    if (length) ++countOfLength[length];
  std::vector<uint32_t> nextCode(size_t(longest) + 1, 0);
  uint32_t code = 0;
  for (int length = 1; length <= longest; ++length) {
    code = (code + countOfLength[size_t(length) - 1]) << 1;
    nextCode[size_t(length)] = code;
  }
  std::vector<uint32_t> codes(lengths.size(), 0);
  for (size_t symbol = 0; symbol < lengths.size(); ++symbol)
    if (lengths[symbol]) codes[symbol] = nextCode[lengths[symbol]]++;
  return codes;
}

}  // namespace orvex
