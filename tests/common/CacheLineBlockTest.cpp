// Blocks for file bytes start on a cache line, whatever the allocator gives.
#include "CacheLineBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace zav {
namespace {

TEST(CacheLineBlock, StartsOnALineAndHoldsItsSize) {
  std::vector<CacheLineBlock> blocks;
  for (const std::size_t size : {0, 1, 15, 16, 128, 4096, 16384, 1 << 20}) {
    CacheLineBlock block(size);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.data()) % CacheLineBlock::kAlignment, 0u) << size;
    std::memset(block.data(), 0xA5, size);  // the sanitizers see any byte beyond the allocation
    blocks.push_back(std::move(block));
  }
  EXPECT_EQ(CacheLineBlock().data(), nullptr);
}

}  // namespace
}  // namespace zav
