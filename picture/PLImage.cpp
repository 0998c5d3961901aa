#include "PLImage.h"

#include "PLMemory.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <new>

namespace {

constexpr int kNameLength = 260;

// Stride * height as a kernel block size; -1 when it does not fit one.
int pixelBlockSize(int width, int height) {
    std::int64_t stride = CPLImage::lineSizeFor(width);
    if (stride > INT_MAX)
        return -1;
    std::int64_t bytes = stride * height;
    return bytes > INT_MAX - 4 ? -1 : static_cast<int>(bytes);
}

} // namespace

CPLImage::CPLImage() {
    init();
}

CPLImage::CPLImage(const CPLImage& other) {
    init();
    copyFrom(other);
}

CPLImage& CPLImage::operator=(const CPLImage& other) {
    if (this != &other) {
        DestroyImage();
        copyFrom(other);
    }
    return *this;
}

void CPLImage::copyFrom(const CPLImage& other) {
    std::wmemcpy(m_name, other.m_name, kNameLength);
    if (!other.m_pixels)
        return;
    int size = pixelBlockSize(other.m_header.biWidth, other.m_header.biHeight);
    m_pixels = static_cast<BMP_BGR*>(PL_Malloc(size, false));
    if (!m_pixels)
        return;
    m_header = other.m_header;
    std::memcpy(m_pixels, other.m_pixels, static_cast<std::size_t>(size));
}

CPLImage::~CPLImage() {
    DestroyImage();
}

void CPLImage::init() {
    std::wmemset(m_name, 0, kNameLength);
    std::memset(&m_header, 0, sizeof m_header);
    m_pixels = nullptr;
}

CPLImage* CPLImage::Create() {
    return new (std::nothrow) CPLImage();
}

void CPLImage::Destroy(CPLImage* image) {
    delete image;
}

bool CPLImage::CreateImage(const wchar_t* name) {
    if (!name || m_pixels)
        return false;
    init();
    std::wcsncpy(m_name, name, kNameLength - 1);
    m_name[kNameLength - 1] = 0;
    return true;
}

bool CPLImage::CreateImage(const wchar_t* name, int width, int height) {
    if (!name || m_pixels || width < 1 || height < 1)
        return false;
    CreateImage(name);
    int size = pixelBlockSize(width, height);
    // An impossible size behaves like exhausted memory: named, no pixels.
    m_pixels = static_cast<BMP_BGR*>(PL_Malloc(size, true));
    if (!m_pixels)
        return true;
    m_header.biSize = sizeof(BITMAPINFOHEADER);
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biPlanes = 1;
    m_header.biBitCount = 24;
    m_header.biCompression = BI_RGB;
    return true;
}

bool CPLImage::RenewalImage(int width, int height) {
    if (m_name[0] == 0 || width < 1 || height < 1)
        return false;
    wchar_t saved[kNameLength];
    std::wmemcpy(saved, m_name, kNameLength);
    DestroyImage();
    return CreateImage(saved, width, height);
}

CPLImage* CPLImage::Clone(const wchar_t* name) {
    if (!m_pixels || !name)
        return nullptr;
    CPLImage* copy = Create();
    if (!copy)
        return nullptr;
    copy->CreateImage(m_name, m_header.biWidth, m_header.biHeight);
    if (!copy->m_pixels) {
        Destroy(copy);
        return nullptr;
    }
    std::memcpy(copy->m_pixels, m_pixels,
                static_cast<std::size_t>(pixelBlockSize(m_header.biWidth, m_header.biHeight)));
    return copy;
}

bool CPLImage::HasObject() {
    return m_pixels != nullptr;
}

void CPLImage::DestroyImage() {
    PL_Free(m_pixels);
    init();
}

bool CPLImage::Copy(CPLImage& destination) {
    int width = 0;
    int height = 0;
    GetImageSize(width, height);
    destination.RenewalImage(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BMP_BGR pixel;
            GetImagePixel(x, y, pixel);
            destination.SetImagePixel(x, y, pixel);
        }
    }
    return true;
}

bool CPLImage::GetObjectName(wchar_t* buffer, int count) {
    if (!buffer || count < 0)
        return false;
    std::wcsncpy(buffer, m_name, static_cast<std::size_t>(count));
    return true;
}

bool CPLImage::GetImageSize(int& width, int& height) {
    if (!m_pixels) {
        width = 0;
        height = 0;
        return false;
    }
    width = m_header.biWidth;
    height = m_header.biHeight;
    return true;
}

bool CPLImage::GetImagePixel(int x, int y, BMP_BGR& pixel) {
    if (!m_pixels || x < 0 || y < 0 || x >= m_header.biWidth || y >= m_header.biHeight)
        return false;
    pixel = GetLinePtr(static_cast<unsigned>(y))[x];
    return true;
}

bool CPLImage::SetImagePixel(int x, int y, BMP_BGR pixel) {
    if (!m_pixels || x < 0 || y < 0 || x >= m_header.biWidth || y >= m_header.biHeight)
        return false;
    GetLinePtr(static_cast<unsigned>(y))[x] = pixel;
    return true;
}

bool CPLImage::GetImageLine(int y, BMP_BGR** line) {
    if (!m_pixels || !line || y < 0 || y >= m_header.biHeight)
        return false;
    std::size_t bytes = 3 * static_cast<std::size_t>(m_header.biWidth);
    if (!*line) {
        *line = static_cast<BMP_BGR*>(PL_Malloc(static_cast<int>(bytes), false));
        if (!*line)
            return false;
    }
    std::memcpy(*line, GetLinePtr(static_cast<unsigned>(y)), bytes);
    return true;
}

bool CPLImage::SetImageLine(int y, BMP_BGR* line) {
    if (!m_pixels || !line || y < 0 || y >= m_header.biHeight)
        return false;
    std::memcpy(GetLinePtr(static_cast<unsigned>(y)), line,
                3 * static_cast<std::size_t>(m_header.biWidth));
    return true;
}

bool CPLImage::GetBlock(int x, int y, int width, int height, CPLImage* destination) {
    if (!destination || destination == this || !m_pixels)
        return false;
    if (x < 0 || y < 0 || width <= 0 || height <= 0)
        return false;
    if (std::int64_t{x} + width > m_header.biWidth || std::int64_t{y} + height > m_header.biHeight)
        return false;
    if (!destination->RenewalImage(width, height))
        return false;
    for (int i = 0; i < height; ++i) {
        BMP_BGR* line = nullptr;
        if (!GetImageLine(y + i, &line))
            return false;
        destination->SetImageLine(i, line + x);
        PL_Free(line);
    }
    return true;
}

void CPLImage::EachPixel(BMP_BGR (*function)(BMP_BGR pixel, int x, int y)) {
    if (!m_pixels || !function)
        return;
    for (int y = 0; y < m_header.biHeight; ++y) {
        BMP_BGR* row = GetLinePtr(static_cast<unsigned>(y));
        for (int x = 0; x < m_header.biWidth; ++x)
            row[x] = function(row[x], x, y);
    }
}
