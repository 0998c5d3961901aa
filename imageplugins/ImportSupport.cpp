#include "ImportSupport.h"

#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLImage.h"
#include "picture/PLMemoryData.h"

#include "platform/core/Utf8.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

namespace lumo::imaging {

namespace {

// A block read from a short file is padded to the size asked for; the tests
// must only see the bytes the file really has.
std::uintmax_t fileLength(CPLFileData& file) {
    std::vector<wchar_t> path(CPLFileData::PATH_LENGTH);
    if (!file.get_name(path.data(), CPLFileData::PATH_LENGTH))
        return 0;
    std::error_code error;
    std::uintmax_t length = std::filesystem::file_size(lumo::toFsPath(path.data()), error);
    return error ? 0 : length;
}

} // namespace

bool readWholeFile(const wchar_t* path, CPLMemoryData* data) {
    if (!path || !data)
        return false;
    CPLFileData* file = CPLFileData::create(path);
    if (!file)
        return false;
    CPLMemoryData* contents = file->read_data();
    bool done = false;
    if (contents) {
        data->attach(contents->get_handle(), contents->get_type());
        contents->detach();
        CPLMemoryData::destroy(contents);
        done = true;
    }
    file->detach();
    CPLFileData::destroy(file);
    return done;
}

bool adoptMemoryImage(const BITMAPINFOHEADER* header, const void* bits, CPLImage* image) {
    if (!header || !bits || !image)
        return false;
    if (!image->RenewalImage(header->biWidth, header->biHeight))
        return false;
    int width = 0;
    int height = 0;
    // A size the kernel could not allocate leaves the image without pixels.
    if (!image->GetImageSize(width, height))
        return false;
    std::size_t bytes =
        static_cast<std::size_t>(image->GetLineSize()) * static_cast<std::size_t>(height);
    std::memcpy(image->GetBitmapBits(), bits, bytes);
    return true;
}

LeadingBytes::LeadingBytes(CPLData* data, int count) {
    if (!data)
        return;
    if (data->is_file()) {
        m_owned = data->get_file()->read_data(count);
        if (!m_owned)
            return;
        m_bytes = static_cast<const unsigned char*>(m_owned->get_ptr());
        m_size = std::min<std::size_t>(m_owned->get_size(), fileLength(*data->get_file()));
        return;
    }
    if (data->is_memory()) {
        m_bytes = static_cast<const unsigned char*>(data->get_memory()->get_ptr());
        m_size = m_bytes ? data->get_memory()->get_size() : 0;
    }
}

LeadingBytes::~LeadingBytes() {
    CPLMemoryData::destroy(m_owned);
}

bool isAcceptableDecodeSize(std::uint32_t width, std::uint32_t height) {
    constexpr std::uint32_t kMaxSide = 16384;
    constexpr std::uint64_t kMaxBytes = 512ull << 20;
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
        return false;
    return static_cast<std::uint64_t>(CPLImage::lineSizeFor(width)) * height <= kMaxBytes;
}

} // namespace lumo::imaging
