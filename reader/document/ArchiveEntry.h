#pragma once

#include <cstddef>
#include <string>
#include <variant>

struct zip;

// Inflating one entry of an open archive into memory, held to the size its
// headers claim: more or fewer bytes, or a checksum that does not match, is
// a failure, as are encryption and a claimed size beyond `limit`.
namespace yomite {

// The entry's bytes, or why they cannot be had (a short English reason).
using EntryBytes = std::variant<std::string, std::wstring>;

EntryBytes readArchiveEntry(zip* archive, unsigned long long index, std::size_t limit);

} // namespace yomite
