#include "PictureLocation.h"

#include "BookArchive.h"

#include "platform/core/types.h"

#include <algorithm>
#include <memory>

namespace yomite {

std::optional<PictureSource> locatePicture(const std::wstring& bookPath,
                                           const std::wstring& archiveBookName,
                                           const std::wstring& reference, std::size_t limit) {
    if (archiveBookName.empty()) {
        const size_t separator = bookPath.rfind(PATH_SEPARATOR);
        std::wstring path =
            separator == std::wstring::npos ? std::wstring() : bookPath.substr(0, separator + 1);
        std::wstring source = reference;
        std::replace(source.begin(), source.end(), L'\\', PATH_SEPARATOR);
        return PictureSource{path + source, std::nullopt};
    }
    std::unique_ptr<BookArchive> archive = BookArchive::openFile(bookPath);
    if (!archive)
        return std::nullopt;
    PictureSource picture;
    picture.bytes = archive->readPicture(archiveBookName, reference, limit, picture.name);
    if (!picture.bytes)
        return std::nullopt;
    return picture;
}

} // namespace yomite
