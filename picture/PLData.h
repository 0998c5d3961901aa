#pragma once

#include "PictureExport.h"

class CPLFileData;
class CPLMemoryData;

// A named stand-in for either a file or a memory block: what an import
// plug-in's test functions examine. Only the constructors that take a file or
// a block make the holder own it (destroyed with the holder); set_file and
// set_memory never change ownership.
class PICTURE_API CPLData {
public:
    static const char* DEFAULT_OBJECT_NAME;

    explicit CPLData(const wchar_t* name);
    CPLData(const wchar_t* name, CPLMemoryData* memory);
    CPLData(const wchar_t* name, CPLFileData* file);
    ~CPLData();

    // Copies never own what they point to, so nothing is released twice.
    CPLData(const CPLData& other);
    CPLData& operator=(const CPLData& other);

    bool set_file(CPLFileData* file);
    bool set_memory(CPLMemoryData* memory);
    bool is_file() const { return m_file != nullptr; }
    bool is_memory() const { return m_memory != nullptr; }
    CPLFileData* get_file() const { return m_file; }
    CPLMemoryData* get_memory() const { return m_memory; }
    // Bounded copy of the name.
    void get_name(wchar_t* buffer, unsigned count) const;

private:
    void setName(const wchar_t* name);

    CPLFileData* m_file;
    CPLMemoryData* m_memory;
    bool m_owns;
    wchar_t m_name[256];
};
