#include "PLMemory.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
constexpr std::size_t kSizeWord = sizeof(std::uint32_t);
}

void* PL_Malloc(int size, bool zero) {
    if (size < 0 || size > INT_MAX - static_cast<int>(kSizeWord))
        return nullptr;
    std::size_t total = static_cast<std::size_t>(size) + kSizeWord;
    // calloc leaves large fresh blocks untouched, so a huge black image costs
    // no memory until its rows are written.
    auto* raw = static_cast<unsigned char*>(zero ? std::calloc(1, total) : std::malloc(total));
    if (!raw)
        return nullptr;
    std::uint32_t word = static_cast<std::uint32_t>(size);
    std::memcpy(raw, &word, kSizeWord);
    return raw + kSizeWord;
}

void PL_Free(void* block) {
    if (!block)
        return;
    std::free(static_cast<unsigned char*>(block) - kSizeWord);
}

unsigned PL_BlockSize(const void* block) {
    if (!block)
        return 0;
    std::uint32_t word;
    std::memcpy(&word, static_cast<const unsigned char*>(block) - kSizeWord, kSizeWord);
    return word;
}
