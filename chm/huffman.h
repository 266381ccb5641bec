// Canonical Huffman codes with a limit on the code length, as LZX stores
// them: lengths only, codes assigned in order of length, then of symbol.
#pragma once

#include <cstdint>
#include <vector>

namespace orvex {

// Code lengths for the symbol frequencies, none longer than maxLength.
// Unused symbols get 0. The code is always complete: with one used symbol,
// a second symbol gets a code too (decoders reject incomplete codes).
std::vector<uint8_t> HuffmanLengths(const std::vector<uint32_t>& frequencies, int maxLength);

// The canonical code of each symbol (its low `length` bits, most significant
// bit first).
std::vector<uint32_t> HuffmanCodes(const std::vector<uint8_t>& lengths);

}  // namespace orvex
