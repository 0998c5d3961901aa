#include "PictureLocation.h"

#include "BookArchive.h"
#include "NotationVocabulary.h"

#include "platform/core/Utf8.h"
#include "platform/core/types.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace yomite {
namespace {

bool isFile(const std::wstring& path) {
    struct stat info {};
    return ::stat(lumo::toUtf8(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Published books name a picture with its size, "fig.png、横320×縦240"; the
// file itself is named without it.
std::wstring withoutSize(const std::wstring& reference) {
    return reference.substr(0, reference.size() - sizeSuffixLength(reference));
}

} // namespace

std::optional<PictureSource> locatePicture(const std::wstring& bookPath,
                                           const std::wstring& archiveBookName,
                                           const std::wstring& reference, std::size_t limit) {
    if (archiveBookName.empty()) {
        const size_t separator = bookPath.rfind(PATH_SEPARATOR);
        std::wstring path =
            separator == std::wstring::npos ? std::wstring() : bookPath.substr(0, separator + 1);
        std::wstring source = reference;
        std::replace(source.begin(), source.end(), L'\\', PATH_SEPARATOR);
        if (sizeSuffixLength(source) && !isFile(path + source))
            source = withoutSize(source);
        return PictureSource{path + source, std::nullopt};
    }
    std::unique_ptr<BookArchive> archive = BookArchive::openFile(bookPath);
    if (!archive)
        return std::nullopt;
    PictureSource picture;
    picture.bytes = archive->readPicture(archiveBookName, reference, limit, picture.name);
    if (!picture.bytes && sizeSuffixLength(reference))
        picture.bytes =
            archive->readPicture(archiveBookName, withoutSize(reference), limit, picture.name);
    if (!picture.bytes)
        return std::nullopt;
    return picture;
}

} // namespace yomite
