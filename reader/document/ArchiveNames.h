#pragma once

#include <optional>
#include <string>

// Names inside a book archive. They are only ever names: nothing is extracted,
// so an entry's name never reaches the file system.
namespace yomite {

// An entry's name with "/" separators ("\" accepted), "." and empty parts
// dropped. nullopt for a folder, and for a name that would leave the archive
// if it were a path: absolute ("/x", "C:x") or with a ".." part.
std::optional<std::wstring> normalizeEntryName(const std::wstring& name);

// The folder part of a normalised name, with its final "/" ("" at the top).
std::wstring entryFolder(const std::wstring& name);

// A picture reference as written in a book (either separator), taken from the
// book's folder as on disk: "." stays, ".." goes up a folder. nullopt when it
// climbs above the archive's top or names no file.
std::optional<std::wstring> resolveReference(const std::wstring& folder,
                                             const std::wstring& reference);

// Names compare ignoring the case of ASCII letters, as the device's file
// system does.
std::wstring foldCase(std::wstring name);

} // namespace yomite
