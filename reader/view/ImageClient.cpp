#include "ImageClient.h"

#include "hostkit/LumoPluginManager.h"
#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"
#include "platform/core/FileSearch.h"
#include "platform/core/Log.h"
#include "platform/core/Module.h"
#include "platform/core/Utf8.h"
#include "platform/ui/DC.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>

namespace yomite {

std::wstring importPluginName(const std::wstring& path) {
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos)
        return {};
    std::wstring name = CLumoPluginManager::GetToolModuleDirectory() + path.substr(dot + 1) +
                        L"_import" + L"_wince" + L".iplg";
    if (name.size() >= MAX_PATH)
        return {};
    return name;
}

std::vector<std::wstring> listWallpapers(const std::wstring& folder) {
    std::vector<std::wstring> files;
    if (folder.empty())
        return files;
    const bool hasSeparator = folder.back() == PATH_SEPARATOR;
    for (const wchar_t* extension : {L".bmp", L".jpg"}) {
        std::wstring pattern = folder;
        if (!hasSeparator)
            pattern += PATH_SEPARATOR;
        lumo::FileSearch search(pattern + L"*" + extension);
        while (auto found = search.next()) {
            if (found->isDirectory())
                continue;
            std::wstring entry = folder;
            if (!hasSeparator)
                entry += PATH_SEPARATOR;
            files.push_back(entry + found->name);
        }
    }
    return files;
}

} // namespace yomite

namespace {

// Binds an export of a plug-in file; null (and said why) when the file or
// the export is missing.
void* bindExport(const std::wstring& file, const char* name) {
    HMODULE module = LoadLibrary(file.c_str());
    if (!module) {
        lumo::log::warning("image plug-in not loaded: " + lumo::moduleLoadError());
        return nullptr;
    }
    void* function = GetProcAddress(module, name);
    if (!function)
        lumo::log::warning(L"image plug-in " + file + L" has no " + lumo::fromUtf8(name));
    return function;
}

std::wstring besideProgram(const wchar_t* name) {
    return CLumoPluginManager::GetToolModuleDirectory() + name;
}

// An image created and named for a plug-in call, destroyed when it goes.
class NamedImage {
public:
    NamedImage() : m_image(CPLImage::Create()) {
        if (m_image && !m_image->CreateImage(L"image")) {
            CPLImage::Destroy(m_image);
            m_image = nullptr;
        }
    }
    ~NamedImage() { CPLImage::Destroy(m_image); }
    NamedImage(const NamedImage&) = delete;
    NamedImage& operator=(const NamedImage&) = delete;
    CPLImage* get() const { return m_image; }
    explicit operator bool() const { return m_image != nullptr; }

private:
    CPLImage* m_image;
};

bool imageSize(CPLImage* image, int& width, int& height) {
    width = height = 0;
    return image && image->GetImageSize(width, height) && width > 0 && height > 0 &&
           image->GetBitmapBits() != nullptr;
}

// Draws the image's pixels at (x, y) of `dc` at their own size.
bool drawImage(CDC* dc, CPLImage* image, int x, int y) {
    int width = 0, height = 0;
    if (!imageSize(image, width, height))
        return false;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(image->GetBitmapInfoHeader());
    return SetDIBitsToDevice(dc->GetSafeHdc(), x, y, width, height, 0, 0, 0, height,
                             image->GetBitmapBits(), info, DIB_RGB_COLORS) > 0;
}

} // namespace

bool readPictureFile(const wchar_t* path, CPLImage* image) {
    if (!path || !image)
        return false;
    const std::wstring plugin = yomite::importPluginName(path);
    if (plugin.empty()) {
        lumo::log::warning(L"no image plug-in reads " + std::wstring(path) +
                           L": the name has no extension");
        return false;
    }
    auto read = reinterpret_cast<PFN_read_image>(bindExport(plugin, "read_image"));
    if (!read)
        return false;
    if (read(path, image) != 0)
        return true;
    lumo::log::warning(L"picture " + std::wstring(path) + L" could not be read by " + plugin);
    return false;
}

bool readPictureMemory(const std::wstring& name, std::string_view bytes, CPLImage* image) {
    if (bytes.empty() || !image || bytes.size() > static_cast<std::size_t>(INT32_MAX))
        return false;
    auto read = reinterpret_cast<PFN_read_memory_image>(
        bindExport(yomite::importPluginName(name), "read_memory_image"));
    if (!read)
        return false;
    // The plug-in reads a kernel block; the block goes with the data object.
    void* block = PL_Malloc(static_cast<int>(bytes.size()), false);
    if (!block)
        return false;
    std::memcpy(block, bytes.data(), bytes.size());
    CPLMemoryData* data = CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL);
    if (!data) {
        PL_Free(block);
        return false;
    }
    const bool decoded = read(data, image) != 0;
    CPLMemoryData::destroy(data);
    return decoded;
}

bool readPicture(const yomite::PictureSource& picture, CPLImage* image) {
    if (picture.bytes)
        return readPictureMemory(picture.name, *picture.bytes, image);
    return readPictureFile(picture.name.c_str(), image);
}

bool adoptMemoryPicture(const BITMAPINFOHEADER* header, const void* bits, CPLImage* image) {
    auto attach = reinterpret_cast<PFN_attach_memory_image>(
        bindExport(yomite::importPluginName(L"image.bmp"), "attach_memory_image"));
    return attach && attach(header, bits, image) != 0;
}

bool scalePicture(CPLImage* source, CPLImage* destination, const RESIZE_OPTION* option) {
    auto filter =
        reinterpret_cast<PFN_do_filter>(bindExport(besideProgram(L"scaler.fplg"), "do_filter"));
    return filter && filter(source, destination, option) != 0;
}

bool blendPicture(CPLImage* source, CPLImage* destination, const ALPHABLEND_OPTION* option) {
    auto filter =
        reinterpret_cast<PFN_do_filter>(bindExport(besideProgram(L"mixer.fplg"), "do_filter"));
    return filter && filter(source, destination, option) != 0;
}

bool fitPicture(CPLImage* source, CPLImage* destination, int mode, int width, int height) {
    if (mode != 1 && mode != 2)
        return false;
    int w = 0, h = 0;
    if (!imageSize(source, w, h))
        return false;
    const double rx = static_cast<double>(width) / w;
    const double ry = static_cast<double>(height) / h;
    double ratio = ry;
    if (rx != ry)
        ratio = mode == 2 ? std::min(rx, ry) : std::max(rx, ry);
    const double percent = ratio * 100.0;
    // A percentage beyond the option's range cannot be scaled; refuse it
    // rather than wrap around.
    if (!(percent >= 1.0) || percent > 1e9) {
        destination->DestroyImage();
        return false;
    }
    RESIZE_OPTION option{RESIZE_MODE_PERCENT, static_cast<std::uint32_t>(percent), 1};
    if (!scalePicture(source, destination, &option)) {
        destination->DestroyImage();
        return false;
    }
    return true;
}

bool renderWallpaper(const CString& file, int style, SIZE size, bool whiteBase, int alpha,
                     CDC* dc) {
    alpha = std::clamp(alpha, 0, 256);
    const COLORREF base = whiteBase ? RGB(255, 255, 255) : RGB(0, 0, 0);
    dc->FillSolidRect(0, 0, size.cx, size.cy, base);

    NamedImage a, b;
    if (!a || !b || !readPictureFile(file.str().c_str(), a.get()))
        return false;
    CPLImage* picture = a.get();
    if (style == 1 || style == 2) {
        if (!fitPicture(a.get(), b.get(), style, size.cx, size.cy))
            return false;
        a.get()->DestroyImage();
        picture = b.get();
    }
    int width = 0, height = 0;
    if (!imageSize(picture, width, height))
        return false;
    ALPHABLEND_OPTION blend{base, alpha};
    if (!blendPicture(picture, picture, &blend))
        return false;

    CDC tile;
    CBitmap bitmap;
    if (!tile.CreateCompatibleDC(dc) || !bitmap.CreateCompatibleBitmap(dc, width, height))
        return false;
    CBitmap* old = tile.SelectObject(&bitmap);
    bool drawn = drawImage(&tile, picture, 0, 0);
    if (drawn) {
        for (int x = 0; x < size.cx; x += width)
            for (int y = 0; y < size.cy; y += height)
                dc->BitBlt(x, y, std::min(width, static_cast<int>(size.cx) - x),
                           std::min(height, static_cast<int>(size.cy) - y), &tile, 0, 0, SRCCOPY);
    }
    tile.SelectObject(old);
    return drawn;
}

bool composeIllustration(const BITMAPINFOHEADER* header, const void* bits,
                         const yomite::PictureSource& picture, CDC* dc) {
    if (!header || !bits || !dc)
        return false;
    const int width = header->biWidth;
    const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    NamedImage a, b;
    if (!a || !b)
        return false;
    if (!adoptMemoryPicture(header, bits, a.get()))
        return false;
    RESIZE_OPTION shrink{RESIZE_MODE_PERCENT, 20, 1};
    if (!scalePicture(a.get(), b.get(), &shrink))
        return false;
    ALPHABLEND_OPTION darken{RGB(0, 0, 0), 128};
    if (!blendPicture(b.get(), b.get(), &darken))
        return false;
    RESIZE_OPTION enlarge{RESIZE_MODE_PERCENT, 500, 1};
    if (!scalePicture(b.get(), a.get(), &enlarge))
        return false;
    if (!drawImage(dc, a.get(), 0, 0))
        return false;
    // A fresh image: a picture file that opens but does not decode leaves it
    // without pixels, where b would still hold the shrunk page and show that
    // as the illustration.
    NamedImage illustration;
    if (!illustration || !readPicture(picture, illustration.get()))
        return false;
    if (!fitPicture(illustration.get(), a.get(), 2, width, height))
        return false;
    int pw = 0, ph = 0;
    if (!imageSize(a.get(), pw, ph))
        return false;
    return drawImage(dc, a.get(), (width - pw) / 2, (height - ph) / 2);
}
