#pragma once

#include "PictureExport.h"

class CPLFileData;

// A memory block that remembers how it was allocated and releases it the same
// way. Made and released only through create/destroy.
class PICTURE_API CPLMemoryData {
public:
    // A fixed underlying type: attach records values outside the list too.
    enum MEMORY_TYPE : int {
        MEMORY_KERNEL = 0,      // PL_Malloc; size read from its size word
        MEMORY_LOCAL = 1,       // the platform's local heap (the C heap here)
        MEMORY_LOCAL_FIXED = 2, // handled exactly as MEMORY_LOCAL
        MEMORY_CRT = 3,         // malloc; size unknown (0)
    };

    // Null when memory is exhausted.
    static CPLMemoryData* create();
    // A new object holding `block` (see attach).
    static CPLMemoryData* create(void* block, MEMORY_TYPE type);
    // Releases the held block and the object; null is ignored.
    static void destroy(CPLMemoryData* data);

    // Takes `block` without releasing a block held before. An unknown type is
    // recorded alone: nothing else changes and destroy() releases nothing.
    bool attach(void* block, MEMORY_TYPE type);
    // Forgets the block without releasing it; ownership passes to the caller.
    bool detach();
    // Releases the block as its type says; false when none is held.
    bool destroy();
    // Forgets everything without releasing.
    void init();

    MEMORY_TYPE get_type() const { return m_type; }
    void* get_handle() const { return m_handle; }
    void* get_ptr() const { return m_ptr; }
    unsigned get_size() const { return m_size; }
    void* operator->() const { return m_ptr; }

    // Writes size bytes from ptr to `path` (created or truncated) and returns
    // a CPLFileData for it that the caller destroys; null when there is no
    // data or the file cannot be opened.
    CPLFileData* write_to_file(const wchar_t* path);

    // Copies share the block; only one of them may release it.
    CPLMemoryData(const CPLMemoryData&) = default;
    CPLMemoryData& operator=(const CPLMemoryData&) = default;

protected:
    CPLMemoryData();
    ~CPLMemoryData();

private:
    MEMORY_TYPE m_type;
    void* m_handle;
    void* m_ptr;
    unsigned m_size;
};
