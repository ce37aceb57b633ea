#pragma once
// The 30 files of the installation package: where each lives locally, where it
// is fetched from, and in which listing step and fetch batch the download
// script handles it. Compiled-in data; nothing adds or removes entries at run time.

#include "toolkit/controls.h"

#include <array>
#include <string>
#include <string_view>

namespace pf {

struct PackageEntry {
    int index;                     // 1..30, top to bottom on the download screen
    std::wstring_view file_name;   // name in the package folder and last URL segment
    std::string_view status_line;  // name of the label on the download screen
    int listing_step;
    int fetch_batch;
};

inline constexpr std::size_t package_size = 30;
extern const std::array<PackageEntry, package_size> package_catalogue;

inline constexpr std::wstring_view package_folder = L"C:\\Pack";
inline constexpr std::string_view package_url_folder = "/zrx12/Pack2/";

// The probe writes the drive in lower case, the fetch in upper case; Windows
// treats both as the same file.
std::wstring path_when_probed(const PackageEntry& entry);
std::wstring path_when_fetched(const PackageEntry& entry);
std::string download_url(const PackageEntry& entry, std::string_view server);

enum class EntryState { Present, Missing, Fetching };

// Caption and text colour of a status line. `in_listing` matters only for entry 1
// found present by the listing, whose caption carries a capital first letter.
std::wstring status_caption(const PackageEntry& entry, EntryState state, bool in_listing = false);
Color status_color(EntryState state);


}  // namespace pf
