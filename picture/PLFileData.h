#pragma once

#include "PictureExport.h"

class CPLMemoryData;

// A file path whose contents can be read whole or in part into a kernel
// block. Made and released only through create/destroy.
class PICTURE_API CPLFileData {
public:
    // Path records hold a full path of the platform's length.
    static constexpr int PATH_LENGTH = 4096;

    // A new object attached to `path`; null when memory is exhausted.
    static CPLFileData* create(const wchar_t* path);
    // Frees the object and its path record; null is ignored.
    static void destroy(CPLFileData* file);

    // Empties the path, then stores `path` (at most PATH_LENGTH - 1
    // characters); false for null.
    bool attach(const wchar_t* path);
    // Empties the path but keeps the record; false without a record.
    bool detach();
    // Frees the path record.
    bool destroy();
    // Bounded copy of the path; false (with buffer[0] = 0 when there is room)
    // for a null buffer, count 0 or no record.
    bool get_name(wchar_t* buffer, unsigned count);

    // The first `size` bytes of the file in a new kernel block of exactly
    // `size` bytes (the tail is zero when the file is shorter); null when the
    // file cannot be opened, size is negative or memory is exhausted.
    CPLMemoryData* read_data(int size);
    // The whole file; null when it cannot be opened or is too large for a
    // kernel block.
    CPLMemoryData* read_data();

    // Copies share the path record; only one of them may release it.
    CPLFileData(const CPLFileData&) = default;
    CPLFileData& operator=(const CPLFileData&) = default;

protected:
    CPLFileData();
    virtual ~CPLFileData();

private:
    wchar_t* m_path;
};
