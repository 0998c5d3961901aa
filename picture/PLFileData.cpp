#include "PLFileData.h"

#include "PLMemory.h"
#include "PLMemoryData.h"
#include "platform/core/Utf8.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <new>

namespace {

std::FILE* openForReading(const wchar_t* path) {
    return std::fopen(lumo::toFsPath(path).c_str(), "rb");
}

} // namespace

CPLFileData::CPLFileData() : m_path(nullptr) {}

CPLFileData::~CPLFileData() {
    destroy();
}

CPLFileData* CPLFileData::create(const wchar_t* path) {
    auto* file = new (std::nothrow) CPLFileData();
    if (file)
        file->attach(path);
    return file;
}

void CPLFileData::destroy(CPLFileData* file) {
    delete file;
}

bool CPLFileData::attach(const wchar_t* path) {
    detach();
    if (!path)
        return false;
    if (!m_path) {
        m_path = static_cast<wchar_t*>(PL_Malloc(PATH_LENGTH * sizeof(wchar_t), true));
        if (!m_path)
            return false;
    }
    std::wcsncpy(m_path, path, PATH_LENGTH - 1);
    m_path[PATH_LENGTH - 1] = 0;
    return true;
}

bool CPLFileData::detach() {
    if (!m_path)
        return false;
    std::wmemset(m_path, 0, PATH_LENGTH);
    return true;
}

bool CPLFileData::destroy() {
    PL_Free(m_path);
    m_path = nullptr;
    return true;
}

bool CPLFileData::get_name(wchar_t* buffer, unsigned count) {
    if (!buffer || count == 0)
        return false;
    buffer[0] = 0;
    if (!m_path)
        return false;
    std::wcsncpy(buffer, m_path, count);
    return true;
}

CPLMemoryData* CPLFileData::read_data(int size) {
    if (!m_path || size < 0)
        return nullptr;
    std::FILE* file = openForReading(m_path);
    if (!file)
        return nullptr;
    void* block = PL_Malloc(size, false);
    if (!block) {
        std::fclose(file);
        return nullptr;
    }
    std::size_t got = std::fread(block, 1, static_cast<std::size_t>(size), file);
    std::fclose(file);
    std::memset(static_cast<char*>(block) + got, 0, static_cast<std::size_t>(size) - got);
    CPLMemoryData* data = CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL);
    if (!data)
        PL_Free(block);
    return data;
}

CPLMemoryData* CPLFileData::read_data() {
    if (!m_path)
        return nullptr;
    std::FILE* file = openForReading(m_path);
    if (!file)
        return nullptr;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        length = std::ftell(file);
    std::fclose(file);
    if (length < 0 || length > INT_MAX - 4)
        return nullptr;
    return read_data(static_cast<int>(length));
}
