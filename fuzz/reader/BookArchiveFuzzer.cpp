// Any bytes as an Aozora Bunko archive: opened in memory, its book read and
// decoded, and a few pictures looked up. Nothing may crash, hang or read past
// what an entry holds, and no refusal may hand back more than its limit.
#include "reader/document/BookArchive.h"
#include "reader/document/SourceText.h"

#include "platform/core/Log.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        lumo::log::setSink([](lumo::log::Level, std::string_view) {});
        return true;
    }();
    (void)quiet;
    auto archive = yomite::BookArchive::openMemory(
        std::string(reinterpret_cast<const char*>(data), size), L"fuzz.zip");
    if (!archive)
        return 0;
    if (auto book = archive->readBook()) {
        if (book->size() > yomite::MAX_ARCHIVE_BOOK_BYTES)
            std::abort();
        std::vector<std::wstring> lines;
        yomite::appendSourceLines(*book, lines);
    }
    constexpr size_t PICTURE_LIMIT = 1 << 20;
    for (const wchar_t* reference : {L"fig01.png", L"../x.bmp", L"img\\A.JPG", L"a/./b/../c.png"}) {
        std::wstring name;
        if (auto picture =
                archive->readPicture(archive->bookName(), reference, PICTURE_LIMIT, name))
            if (picture->size() > PICTURE_LIMIT || name.empty())
                std::abort();
    }
    return 0;
}
