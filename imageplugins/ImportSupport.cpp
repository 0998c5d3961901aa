#include "ImportSupport.h"

#include "imageplugins/ImagePlugin.h"

#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLImage.h"
#include "picture/PLMemoryData.h"

#include "platform/core/Utf8.h"

#include <algorithm>
#include <cstdio>
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
    if (width == 0 || height == 0 || width > MAX_PICTURE_SIDE || height > MAX_PICTURE_SIDE)
        return false;
    return static_cast<std::uint64_t>(CPLImage::lineSizeFor(width)) * height <=
           MAX_PICTURE_PIXEL_BYTES;
}

int decodePictureFile(const wchar_t* path, CPLImage* image, StreamDecoder decode) {
    if (!path || !path[0])
        return 0;
    std::FILE* file = std::fopen(lumo::toFsPath(path).c_str(), "rb");
    if (!file)
        return 0;
    if (image)
        decode(file, image);
    std::fclose(file);
    return 1;
}

int decodePictureMemory(CPLMemoryData* data, CPLImage* image, StreamDecoder decode) {
    if (!data || !data->get_ptr() || data->get_size() == 0)
        return 0;
    // The decoders read C streams; the block is read in place, never copied.
    std::FILE* stream = fmemopen(data->get_ptr(), data->get_size(), "r");
    if (!stream)
        return 0;
    if (image)
        decode(stream, image);
    std::fclose(stream);
    return 1;
}

} // namespace lumo::imaging
