#pragma once

#include "PictureExport.h"
#include "platform/core/types.h"

#include <cstdint>

// One pixel of a 24-bit image: blue, green, red, packed at 3 bytes.
#pragma pack(push, 1)
struct BMP_BGR {
    BYTE blue;
    BYTE green;
    BYTE red;
};
#pragma pack(pop)
static_assert(sizeof(BMP_BGR) == 3, "pixels are packed at 3 bytes");

// A 24-bit bottom-up image shared between the reader and the image plug-ins.
//
// The member order and the pixel layout are an interface between modules:
// header and pixels together are a bottom-up 24-bit DIB that is drawn and
// written without conversion. Row y (0 = top) starts at
// pixels + (height - 1 - y) * stride, stride = 3 * width rounded up to 4. The
// fill bytes at the end of each row are zero and no pixel or line operation
// writes them.
//
// The virtual functions are called by plug-ins through the table of an image
// another module created, so their order must not change. Images are made and
// released only by Create/Destroy (and Clone); a plug-in sizes a destination
// with RenewalImage, which needs a name. A failed pixel allocation leaves a
// named image without pixels while still reporting success, as for exhausted
// memory; callers test HasObject or GetImageSize.
class PICTURE_API CPLImage {
public:
    CPLImage();
    // Deep copies: each image owns its own pixel block.
    CPLImage(const CPLImage& other);
    CPLImage& operator=(const CPLImage& other);

    virtual ~CPLImage();
    // Fails when name is null, the image has pixels, or a side is below 1.
    // A size whose stride * height does not fit a kernel block leaves the
    // image named without pixels (true).
    virtual bool CreateImage(const wchar_t* name, int width, int height);
    // Names an empty image (at most 259 characters are kept); fails when name
    // is null or the image has pixels.
    virtual bool CreateImage(const wchar_t* name);
    // New black pixels of the given size, keeping the name. Fails (image
    // unchanged) without a name or with a side below 1.
    virtual bool RenewalImage(int width, int height);
    // A new image with this image's name and pixels; null without pixels, for
    // a null name or when memory is exhausted. Release it with Destroy.
    virtual CPLImage* Clone(const wchar_t* name);
    virtual bool HasObject();
    // Frees the pixels and empties name and header.
    virtual void DestroyImage();
    // Renews the destination to this size and copies every pixel. Always true.
    virtual bool Copy(CPLImage& destination);
    // Bounded copy of the name (no terminator when it fills the buffer).
    virtual bool GetObjectName(wchar_t* buffer, int count);
    // 0 x 0 and false without pixels.
    virtual bool GetImageSize(int& width, int& height);
    virtual bool GetImagePixel(int x, int y, BMP_BGR& pixel);
    // Copies row y into *line; a null *line is first set to a new kernel
    // block of 3 * width bytes that the caller frees with PL_Free.
    virtual bool GetImageLine(int y, BMP_BGR** line);
    // Copies the rectangle at (x, y) into destination, which must be another,
    // named image.
    virtual bool GetBlock(int x, int y, int width, int height, CPLImage* destination);
    virtual bool SetImagePixel(int x, int y, BMP_BGR pixel);
    // Copies 3 * width bytes from line into row y.
    virtual bool SetImageLine(int y, BMP_BGR* line);
    // Replaces every pixel, top row first, by function(pixel, x, y).
    virtual void EachPixel(BMP_BGR (*function)(BMP_BGR pixel, int x, int y));

    // Null when memory is exhausted.
    static CPLImage* Create();
    // Null is ignored.
    static void Destroy(CPLImage* image);

    // The accessors below are inline so that filter plug-ins work on images
    // through the table and this layout alone, calling no kernel function.
    BITMAPINFOHEADER* GetBitmapInfoHeader() { return &m_header; }
    BMP_BGR* GetBitmapBits() { return m_pixels; }
    int GetLineSize() const { return static_cast<int>(lineSizeFor(m_header.biWidth)); }
    // Row y counted from the top; no check.
    BMP_BGR* GetLinePtr(unsigned y) {
        auto* base = reinterpret_cast<unsigned char*>(m_pixels);
        return reinterpret_cast<BMP_BGR*>(base + (static_cast<std::int64_t>(m_header.biHeight) -
                                                  static_cast<std::int64_t>(y) - 1) *
                                                     GetLineSize());
    }

    // Stride of a row of `width` pixels, in 64 bits so no width overflows.
    static constexpr std::int64_t lineSizeFor(std::int64_t width) {
        return (3 * width + 3) & ~std::int64_t{3};
    }

protected:
    virtual void init();

private:
    void copyFrom(const CPLImage& other);

    wchar_t m_name[260];
    BITMAPINFOHEADER m_header;
    BMP_BGR* m_pixels;
};
