// Packing member data with the static-Huffman LZ methods (-lh5- with 13 dictionary bits;
// 15 and 16 give -lh6- and -lh7-).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

std::vector<uint8_t> EncodeLh(const uint8_t* data, size_t size, int dict_bits);
