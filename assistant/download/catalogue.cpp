#include "catalogue.h"

namespace pf {

namespace {
constexpr int listing_first = 950;
constexpr int listing_rest = 1000;
constexpr int batch_a = 1550;
constexpr int batch_b = 2550;
constexpr int batch_c = 3000;
constexpr int batch_d = 3500;

std::string narrow_ascii(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(static_cast<char>(c));
    return out;
}
}  // namespace

// clang-format off
const std::array<PackageEntry, package_size> package_catalogue{{
    { 1, L"zrx25.exe", "zrx25",  listing_first, batch_a},
    { 2, L"zrx25.W02", "zrxW02", listing_first, batch_a},
    { 3, L"zrx25.W03", "zrxW03", listing_rest,  batch_a},
    { 4, L"zrx25.W04", "zrxW04", listing_rest,  batch_a},
    { 5, L"zrx25.W05", "zrxW05", listing_rest,  batch_a},
    { 6, L"zrx25.W06", "zrxW06", listing_rest,  batch_a},
    { 7, L"zrx25.W07", "zrxW07", listing_rest,  batch_a},
    { 8, L"zrx25.W08", "zrxW08", listing_rest,  batch_a},
    { 9, L"zrx25.W09", "zrxW09", listing_rest,  batch_a},
    {10, L"zrx25.W10", "zrxW10", listing_rest,  batch_a},
    {11, L"zrx25.W11", "zrxW11", listing_rest,  batch_d},
    {12, L"zrx25.W12", "zrxW12", listing_rest,  batch_d},
    {13, L"zrx25.W13", "zrxW13", listing_rest,  batch_d},
    {14, L"zrx25.W14", "zrxW14", listing_rest,  batch_d},
    {15, L"zrx25.W15", "zrxW15", listing_rest,  batch_d},
    {16, L"zrx25.W16", "zrxW16", listing_rest,  batch_d},
    {17, L"zrx25.W17", "zrxW17", listing_rest,  batch_d},
    {18, L"zrx25.W18", "zrxW18", listing_rest,  batch_d},
    {19, L"zrx25.W19", "zrxW19", listing_rest,  batch_d},
    {20, L"zrx25.W20", "zrxW20", listing_rest,  batch_d},
    {21, L"zrx25.W21", "zrxW21", listing_rest,  batch_b},
    {22, L"zrx25.W22", "zrxW22", listing_rest,  batch_b},
    {23, L"zrx25.W23", "zrxW23", listing_rest,  batch_b},
    {24, L"zrx25.W24", "zrxW24", listing_rest,  batch_b},
    {25, L"zrx25.W25", "zrxW25", listing_rest,  batch_b},
    {26, L"zrx25.W26", "zrxW26", listing_rest,  batch_b},
    {27, L"zrx25.W27", "zrxW27", listing_rest,  batch_b},
    {28, L"zrx25.W28", "zrxW28", listing_rest,  batch_b},
    {29, L"zrx25.W29", "zrxW29", listing_rest,  batch_b},
    {30, L"zrx25.W30", "zrxW30", listing_rest,  batch_c},
}};
// clang-format on

std::wstring path_when_probed(const PackageEntry& entry) {
    return L"c:\\Pack\\" + std::wstring(entry.file_name);
}

std::wstring path_when_fetched(const PackageEntry& entry) {
    return std::wstring(package_folder) + L"\\" + std::wstring(entry.file_name);
}

std::string download_url(const PackageEntry& entry, std::string_view server) {
    return "http://" + std::string(server) + std::string(package_url_folder) + narrow_ascii(entry.file_name);
}

std::wstring status_caption(const PackageEntry& entry, EntryState state, bool in_listing) {
    std::wstring name(entry.file_name);
    if (state == EntryState::Present && in_listing && entry.index == 1) name[0] = L'Z';
    switch (state) {
        case EntryState::Present: return L" " + name + L" ---> Télécharger ";
        case EntryState::Missing: return L" " + name + L" ---> NON Télécharger ";
        case EntryState::Fetching: return L" " + name + L" ---> En Cours ... ";
    }
    return {};
}

Color status_color(EntryState state) {
    switch (state) {
        case EntryState::Present: return colors::green;
        case EntryState::Missing: return colors::red;
        case EntryState::Fetching: return colors::orange;
    }
    return colors::blue;
}

}  // namespace pf
