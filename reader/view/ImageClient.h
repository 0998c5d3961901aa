#pragma once

#include "reader/document/PictureLocation.h"

#include "platform/core/CString.h"
#include "platform/core/types.h"

#include <string>
#include <string_view>
#include <vector>

class CDC;
class CPLImage;
struct RESIZE_OPTION;
struct ALPHABLEND_OPTION;

// The reader's side of the image plug-ins. Each call binds its plug-in anew
// by file name from the program's directory (the library stays loaded; a
// second load finds it in memory), looks up one export and calls it. A
// missing file, export or unreadable picture makes the call return false and
// nothing else: no message.

// Reads a picture through "<ext>_import_wince.iplg", the extension being the
// text after the path's last "." (a path without one fails).
bool readPictureFile(const wchar_t* path, CPLImage* image);
// Reads a whole picture file held in memory through the same plug-in, chosen
// by `name`'s extension (its read_memory_image). Null or empty bytes fail.
bool readPictureMemory(const std::wstring& name, std::string_view bytes, CPLImage* image);
// Either of the two, by where the picture is.
bool readPicture(const yomite::PictureSource& picture, CPLImage* image);
// Adopts a 24-bit DIB through the BMP import plug-in.
bool adoptMemoryPicture(const BITMAPINFOHEADER* header, const void* bits, CPLImage* image);
// "scaler.fplg" and "mixer.fplg" do_filter.
bool scalePicture(CPLImage* source, CPLImage* destination, const RESIZE_OPTION* option);
bool blendPicture(CPLImage* source, CPLImage* destination, const ALPHABLEND_OPTION* option);

// Scales `source` into `destination` by one percentage: mode 2 fits the
// picture inside width x height, mode 1 covers it. Any other mode, or a
// failed scale (the destination's pixels then dropped), is false.
bool fitPicture(CPLImage* source, CPLImage* destination, int mode, int width, int height);

// Fills size on `dc` with the base colour (white or black), then tiles the
// picture of `file` over it, scaled by `style` (0 own size, 1 cover, 2 fit)
// and blended towards the base with weight `alpha` (0..256, clamped). The
// plain base remains when any step fails (false).
bool renderWallpaper(const CString& file, int style, SIZE size, bool whiteBase, int alpha, CDC* dc);

// Draws the illustration screen into `dc`: the page snapshot (header, bits)
// shrunk, darkened and enlarged again as a blurred backdrop, with the
// picture fitted inside and centred. False at the first failure.
bool composeIllustration(const BITMAPINFOHEADER* header, const void* bits,
                         const yomite::PictureSource& picture, CDC* dc);

namespace yomite {

// The ".bmp" and then ".jpg" files of `folder` in the order the file system
// lists them, each as a full path; directories skipped.
std::vector<std::wstring> listWallpapers(const std::wstring& folder);

// The name of the import plug-in for `path` (program directory + "<ext>_import_wince.iplg");
// empty when the path has no "." or the name would not fit a path.
std::wstring importPluginName(const std::wstring& path);

} // namespace yomite
