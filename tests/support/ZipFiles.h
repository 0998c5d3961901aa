#pragma once

// Zip archives made with libzip for the tests, and the patches that turn a
// good archive into the bad ones the reader must refuse.

#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace lumo::test {

struct ZipEntry {
    std::string name; // raw bytes, stored as given
    std::string bytes;
    bool stored = false; // kept uncompressed instead of deflated
};

// Writes the entries, in order, to a new archive at `file`; false when libzip
// refused anything.
inline bool writeZip(const std::filesystem::path& file, const std::vector<ZipEntry>& entries) {
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        return false;
    for (const ZipEntry& entry : entries) {
        zip_source_t* source = zip_source_buffer(zip, entry.bytes.data(), entry.bytes.size(), 0);
        const zip_int64_t index =
            source ? zip_file_add(zip, entry.name.c_str(), source, ZIP_FL_ENC_GUESS) : -1;
        if (index < 0) {
            zip_source_free(source);
            zip_discard(zip);
            return false;
        }
        if (entry.stored)
            zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    return zip_close(zip) == 0;
}

inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Offsets of every local file header ("PK\3\4") and central directory header
// ("PK\1\2") in an archive written by writeZip (names and data hold no such
// signature in the tests).
inline std::vector<size_t> headerOffsets(const std::string& zip, const char* signature) {
    std::vector<size_t> offsets;
    for (size_t at = zip.find(signature, 0, 4); at != std::string::npos;
         at = zip.find(signature, at + 4, 4))
        offsets.push_back(at);
    return offsets;
}

inline void putLe32(std::string& bytes, size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Marks every entry encrypted (general purpose bit 0), in both headers.
inline std::string markEncrypted(std::string zip) {
    for (size_t at : headerOffsets(zip, "PK\x03\x04"))
        zip[at + 6] = static_cast<char>(zip[at + 6] | 1);
    for (size_t at : headerOffsets(zip, "PK\x01\x02"))
        zip[at + 8] = static_cast<char>(zip[at + 8] | 1);
    return zip;
}

// Makes every entry claim `size` uncompressed bytes, in both headers.
inline std::string claimSize(std::string zip, std::uint32_t size) {
    for (size_t at : headerOffsets(zip, "PK\x03\x04"))
        putLe32(zip, at + 22, size);
    for (size_t at : headerOffsets(zip, "PK\x01\x02"))
        putLe32(zip, at + 24, size);
    return zip;
}

} // namespace lumo::test
