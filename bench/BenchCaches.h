// What the benchmarks share: a step that starts with the machine's caches holding nothing of it.
#pragma once

#include <cstddef>
#include <vector>

namespace vorlect::bench {

// Writes and reads a buffer larger than the machine's caches, so that every step starts with its
// table in memory only, at both sizes alike.
inline void EvictCaches() {
  static std::vector<unsigned char> buffer(std::size_t{128} << 20);
  static volatile unsigned sink = 0;
  unsigned sum = 0;
  for (std::size_t i = 0; i < buffer.size(); i += 64) {
    buffer[i] = static_cast<unsigned char>(buffer[i] + 1);
    sum += buffer[i];
  }
  sink = sink + sum;
}

}  // namespace vorlect::bench
