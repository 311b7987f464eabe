#include "platform/HugePageHeap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

bool hugePagesOnRequest()
{
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string text;
    std::getline(setting, text);
    return text.find("[madvise]") != std::string::npos ||
           text.find("[always]") != std::string::npos;
}

// The VmFlags line of the mapping holding `address`, empty when none does.
std::string mappingFlags(const void* address)
{
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream maps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(maps, line);) {
        std::uintptr_t begin = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> begin >> dash >> end && dash == '-' && line.find(':') > 20)
            inside = begin <= at && at < end;
        else if (inside && line.rfind("VmFlags:", 0) == 0)
            return line;
    }
    return {};
}

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};

} // namespace

TEST(HugePageHeapTest, LargeBlocksComeFromTheHugePageRange)
{
    if (!hugePagesOnRequest())
        GTEST_SKIP() << "the system gives no huge pages on request";
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitiser's allocator keeps no growing heap";
#endif
    ASSERT_TRUE(HugePageHeap::reserve(std::size_t(64) << 20));
    // A decoded full-screen picture at twice the size (more than any block
    // freed before in this process): on its own it would get a mapping of its
    // own, faulted in page by page. Its last byte: the first may lie in the
    // heap's unaligned start.
    constexpr std::size_t size = 2560 * 2048 * 4;
    std::unique_ptr<char, FreeBlock> picture(static_cast<char*>(std::malloc(size)));
    ASSERT_NE(picture, nullptr);
    const std::string flags = mappingFlags(picture.get() + size - 1);
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}
