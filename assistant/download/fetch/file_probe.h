#pragma once

#include <string_view>

namespace pf::fetch {

// True when `path` names an existing file that is not a folder. Hidden,
// system and read-only files count; any failure of the query reads as absent.
bool file_is_present(std::wstring_view path) noexcept;

}  // namespace pf::fetch
