#include "PLData.h"

#include "PLFileData.h"
#include "PLMemoryData.h"

#include <cwchar>

const char* CPLData::DEFAULT_OBJECT_NAME = "CPLDATA_OBJECT";

CPLData::CPLData(const wchar_t* name) : m_file(nullptr), m_memory(nullptr), m_owns(false) {
    setName(name);
}

CPLData::CPLData(const wchar_t* name, CPLMemoryData* memory)
    : m_file(nullptr), m_memory(memory), m_owns(true) {
    setName(name);
}

CPLData::CPLData(const wchar_t* name, CPLFileData* file)
    : m_file(file), m_memory(nullptr), m_owns(true) {
    setName(name);
}

CPLData::CPLData(const CPLData& other)
    : m_file(other.m_file), m_memory(other.m_memory), m_owns(false) {
    std::wmemcpy(m_name, other.m_name, 256);
}

CPLData& CPLData::operator=(const CPLData& other) {
    if (this == &other)
        return *this;
    if (m_owns) {
        CPLFileData::destroy(m_file);
        CPLMemoryData::destroy(m_memory);
    }
    m_file = other.m_file;
    m_memory = other.m_memory;
    m_owns = false;
    std::wmemcpy(m_name, other.m_name, 256);
    return *this;
}

CPLData::~CPLData() {
    if (!m_owns)
        return;
    CPLFileData::destroy(m_file);
    CPLMemoryData::destroy(m_memory);
}

void CPLData::setName(const wchar_t* name) {
    std::wmemset(m_name, 0, 256);
    if (name)
        std::wcsncpy(m_name, name, 255);
}

bool CPLData::set_file(CPLFileData* file) {
    m_file = file;
    m_memory = nullptr;
    return true;
}

bool CPLData::set_memory(CPLMemoryData* memory) {
    m_memory = memory;
    m_file = nullptr;
    return true;
}

void CPLData::get_name(wchar_t* buffer, unsigned count) const {
    if (!buffer)
        return;
    std::wcsncpy(buffer, m_name, count);
}
