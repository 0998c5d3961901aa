#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Where a picture a book refers to is found: beside the book on disk, or in
// the archive the book was read from.
namespace yomite {

struct PictureSource {
    // The picture file's path, or its entry name in the book's archive; the
    // extension picks the import plug-in either way.
    std::wstring name;
    // The picture file's bytes when it came from an archive.
    std::optional<std::string> bytes{};
};

// `reference` is the picture as the book writes it ("\" or "/" separators),
// relative to the book's folder; a reference with the published size suffix
// ("fig.png、横320×縦240") that names nothing is looked up without it. A book on disk gives the
// path (whether the file exists is the decoder's matter); a book from an archive
// (`archiveBookName` not empty) gives the entry's bytes, at most `limit`, or
// nullopt when the archive has no such picture or cannot hand it over.
std::optional<PictureSource> locatePicture(const std::wstring& bookPath,
                                           const std::wstring& archiveBookName,
                                           const std::wstring& reference, std::size_t limit);

} // namespace yomite
