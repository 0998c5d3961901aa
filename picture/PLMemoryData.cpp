#include "PLMemoryData.h"

#include "PLFileData.h"
#include "PLMemory.h"
#include "platform/core/Utf8.h"

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>

CPLMemoryData::CPLMemoryData() {
    init();
}

CPLMemoryData::~CPLMemoryData() {
    destroy();
}

CPLMemoryData* CPLMemoryData::create() {
    return new (std::nothrow) CPLMemoryData();
}

CPLMemoryData* CPLMemoryData::create(void* block, MEMORY_TYPE type) {
    CPLMemoryData* data = create();
    if (data)
        data->attach(block, type);
    return data;
}

void CPLMemoryData::destroy(CPLMemoryData* data) {
    delete data;
}

void CPLMemoryData::init() {
    m_type = MEMORY_KERNEL;
    m_handle = nullptr;
    m_ptr = nullptr;
    m_size = 0;
}

bool CPLMemoryData::attach(void* block, MEMORY_TYPE type) {
    m_type = type;
    switch (type) {
    case MEMORY_KERNEL:
        m_size = PL_BlockSize(block);
        break;
    case MEMORY_LOCAL:
    case MEMORY_LOCAL_FIXED:
        m_size = block ? static_cast<unsigned>(malloc_usable_size(block)) : 0;
        break;
    case MEMORY_CRT:
        m_size = 0;
        break;
    default:
        return true;
    }
    m_handle = block;
    m_ptr = block;
    return true;
}

bool CPLMemoryData::detach() {
    init();
    return true;
}

bool CPLMemoryData::destroy() {
    if (!m_handle)
        return false;
    switch (m_type) {
    case MEMORY_KERNEL:
        PL_Free(m_handle);
        break;
    case MEMORY_LOCAL:
    case MEMORY_LOCAL_FIXED:
    case MEMORY_CRT:
        std::free(m_handle);
        break;
    default:
        // A block of unknown origin is never released here.
        break;
    }
    init();
    return true;
}

CPLFileData* CPLMemoryData::write_to_file(const wchar_t* path) {
    if (!m_ptr || !path)
        return nullptr;
    std::FILE* file = std::fopen(lumo::toFsPath(path).c_str(), "wb");
    if (!file)
        return nullptr;
    std::fwrite(m_ptr, 1, m_size, file);
    std::fclose(file);
    CPLFileData* result = CPLFileData::create(L"");
    if (result)
        result->attach(path);
    return result;
}
